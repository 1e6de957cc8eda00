// Writer of one binary chain file: rows of a header (row state, entry count;
// unsigned 32-bit each) followed by that many entries (a double, then a
// column state, unsigned 32-bit), unpadded, in the machine's byte order.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// modelPath + kind + the class number in two digits, e.g. "/tmp/net.EMC03".
std::string ChainFilePath(const std::string& modelPath, const char* kind, int classNumber);

struct ChainEntry {
    double value = 0.0;
    std::uint32_t column = 0;
};

class ChainFile {
public:
    ChainFile() = default;
    ChainFile(const ChainFile&) = delete;
    ChainFile& operator=(const ChainFile&) = delete;
    ~ChainFile();

    bool Open(const std::string& path, std::string& error);
    bool WriteRow(std::uint32_t row, const std::vector<ChainEntry>& entries, std::string& error);
    bool Close(std::string& error);
    // Closes and deletes a file that must not be left behind half written.
    void Discard();

private:
    std::FILE* file = nullptr;
    std::string path;
};
