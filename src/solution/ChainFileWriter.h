// Writing of the binary chain files: unpadded records in native byte order,
// a row header (row state, entry count) as two unsigned 32-bit integers and
// an entry or conversion record as a double followed by an unsigned 32-bit
// state number. Each operation answers false when the file could not take
// it, so that the caller reports the failure with its own context.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

class ChainFileWriter {
public:
    ChainFileWriter() = default;
    ChainFileWriter(const ChainFileWriter&) = delete;
    ChainFileWriter& operator=(const ChainFileWriter&) = delete;
    ~ChainFileWriter();

    // Creates or truncates the file.
    bool Open(const std::string& path);
    bool WriteHeader(std::uint32_t row, std::uint32_t count);
    bool WriteEntry(double value, std::uint32_t state);
    // Flushes and closes; false when buffered records could not be written.
    bool Close();

    const std::string& Path() const { return path_; }

private:
    bool Put(const unsigned char* record, std::size_t size);
    // Hands the gathered records to the stream.
    bool Drain();

    std::FILE* file_ = nullptr;
    std::string path_;
    std::vector<unsigned char> buffer_;
    std::size_t used_ = 0;
};
