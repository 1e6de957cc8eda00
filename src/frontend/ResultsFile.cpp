// Reading the files mosk leaves in the model directory.
#include "frontend/ResultsFile.h"

#include <fstream>
#include <sstream>

namespace {

std::optional<std::string> ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

PassResults ParseResults(const std::string& text)
{
    PassResults results;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line == "*#END#*") {
            results.complete = true;
            break;
        }
        // The name holds no blank; the value is the rest of the line.
        const std::size_t blank = line.find(' ');
        if (blank == std::string::npos) continue;
        results.measures.push_back({line.substr(0, blank), line.substr(blank + 1)});
    }
    return results;
}

std::optional<PassResults> ReadResultsFile(const std::string& path)
{
    std::optional<std::string> text = ReadWholeFile(path);
    if (!text) return std::nullopt;
    return ParseResults(*text);
}

std::string ResultsFilePath(const std::string& modelDir, const std::string& purename, int pass)
{
    return modelDir + "/" + purename + ".BSresults" + std::to_string(pass);
}

std::optional<long> ReadTangibleMarkings(const std::string& auxPath)
{
    std::ifstream in(auxPath);
    std::string line;
    const std::string key = "TANGIBLE MARKINGS";
    while (std::getline(in, line)) {
        if (line.compare(0, key.size(), key) != 0) continue;
        std::istringstream number(line.substr(key.size()));
        long count = 0;
        if (number >> count) return count;
    }
    return std::nullopt;
}
