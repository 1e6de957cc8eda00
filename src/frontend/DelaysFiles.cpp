// Writing of the delays files. Each file is written under a temporary name
// and renamed, so mosk never reads a half-written file.
#include "frontend/DelaysFiles.h"

#include "frontend/TextFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

std::string DelayText(double delay)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", delay);
    return text;
}

bool WriteFileAtomically(const std::string& path, const std::string& text, std::string& error)
{
    const std::string partial = path + ".partial";
    if (!WriteTextFile(partial, text, error)) {
        std::remove(partial.c_str());
        return false;
    }
    if (std::rename(partial.c_str(), path.c_str()) != 0) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        std::remove(partial.c_str());
        return false;
    }
    return true;
}

}  // namespace

std::string DelaysFileText(const std::vector<DelayEntry>& entries)
{
    std::vector<std::string> subModels;
    for (const DelayEntry& entry : entries) {
        bool known = false;
        for (const std::string& name : subModels) known = known || name == entry.subModel;
        if (!known) subModels.push_back(entry.subModel);
    }
    std::ostringstream text;
    text << subModels.size() << "\n";
    for (const std::string& subModel : subModels) {
        int count = 0;
        for (const DelayEntry& entry : entries) count += entry.subModel == subModel;
        text << subModel << " " << count << "\n";
        for (const DelayEntry& entry : entries)
            if (entry.subModel == subModel)
                text << entry.transition << " 0 " << DelayText(entry.delay) << "\n";
    }
    text << "*#END#*\n";
    return text.str();
}

std::string ExitFileText()
{
    return "EXIT\n*#END#*\n";
}

std::string DelaysFilePath(const std::string& directory, const std::string& purename, int pass)
{
    return directory + "/" + purename + ".BSdelays" + std::to_string(pass);
}

bool WriteDelaysFiles(const std::string& directory, const std::string& purename,
                      const std::vector<std::vector<DelayEntry>>& passes, std::string& error)
{
    const int count = static_cast<int>(passes.size());
    for (int pass = 0; pass < count; ++pass)
        if (!WriteFileAtomically(DelaysFilePath(directory, purename, pass),
                                 DelaysFileText(passes[static_cast<std::size_t>(pass)]), error))
            return false;
    return WriteFileAtomically(DelaysFilePath(directory, purename, count), ExitFileText(), error);
}
