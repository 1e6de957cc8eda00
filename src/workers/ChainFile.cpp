// Binary chain-file output through a large stdio buffer.
#include "workers/ChainFile.h"

#include <cerrno>
#include <cstring>

namespace {

std::string Reason()
{
    return std::strerror(errno);
}

}  // namespace

std::string ChainFilePath(const std::string& modelPath, const char* kind, int classNumber)
{
    char number[16];
    std::snprintf(number, sizeof number, "%02d", classNumber);
    return modelPath + kind + number;
}

ChainFile::~ChainFile()
{
    Discard();
}

bool ChainFile::Open(const std::string& filePath, std::string& error)
{
    path = filePath;
    file = std::fopen(path.c_str(), "wb");
    if (!file) {
        error = "can't open " + path + " for writing: " + Reason();
        return false;
    }
    std::setvbuf(file, nullptr, _IOFBF, 1 << 20);
    return true;
}

bool ChainFile::WriteRow(std::uint32_t row, const std::vector<ChainEntry>& entries,
                         std::string& error)
{
    const std::uint32_t header[2] = {row, static_cast<std::uint32_t>(entries.size())};
    bool ok = std::fwrite(header, sizeof header, 1, file) == 1;
    for (const ChainEntry& e : entries) {
        ok = ok && std::fwrite(&e.value, sizeof e.value, 1, file) == 1 &&
             std::fwrite(&e.column, sizeof e.column, 1, file) == 1;
    }
    if (!ok) error = "can't write to " + path + ": " + Reason();
    return ok;
}

bool ChainFile::Close(std::string& error)
{
    if (!file) return true;
    const bool ok = std::fclose(file) == 0;
    file = nullptr;
    if (!ok) {
        error = "can't write to " + path + ": " + Reason();
        std::remove(path.c_str());
    }
    return ok;
}

void ChainFile::Discard()
{
    if (!file) return;
    std::fclose(file);
    file = nullptr;
    std::remove(path.c_str());
}
