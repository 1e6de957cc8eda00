// Block search in the PMF file. The distribution language has no ';' and no
// letters of "TRANSITION", so a block ends at its first ';'.
#include "workers/PmfFile.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace {

constexpr std::streamoff kMaxFileSize = 64 << 20;

}  // namespace

bool FindPmfText(const std::string& path, const std::string& transition, std::string& text,
                 std::string& error)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "can't open the PMF file " + path;
        return false;
    }
    file.seekg(0, std::ios::end);
    if (file.tellg() > kMaxFileSize) {
        error = "the PMF file " + path + " is larger than 64 MB";
        return false;
    }
    file.seekg(0);
    std::ostringstream contents;
    contents << file.rdbuf();
    const std::string all = contents.str();

    const std::string header = "TRANSITION ";
    std::size_t lineStart = 0;
    while (lineStart < all.size()) {
        std::size_t lineEnd = all.find('\n', lineStart);
        if (lineEnd == std::string::npos) lineEnd = all.size();
        if (all.compare(lineStart, header.size(), header) == 0) {
            std::string name =
                all.substr(lineStart + header.size(), lineEnd - lineStart - header.size());
            if (!name.empty() && name.back() == '\r') name.pop_back();
            const std::size_t end = all.find(';', lineEnd);
            if (name == transition) {
                if (end == std::string::npos) {
                    error = "the block of transition " + transition + " in " + path +
                            " has no closing ';'";
                    return false;
                }
                const std::size_t first = std::min(lineEnd + 1, end);
                text = all.substr(first, end - first);
                return true;
            }
            if (end == std::string::npos) break;
            lineEnd = all.find('\n', end);
            if (lineEnd == std::string::npos) break;
        }
        lineStart = lineEnd + 1;
    }
    error = "the PMF file " + path + " has no block for transition " + transition;
    return false;
}
