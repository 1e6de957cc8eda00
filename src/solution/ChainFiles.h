// Names and binary records of the chain files. Every number is stored
// unpadded in native byte order: a row header is (row state, entry count) as
// two unsigned 32-bit integers, an entry or conversion record a double
// followed by an unsigned 32-bit state number.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

// TmpDir + "/" + model + suffix.
std::string chain_file_name(const char* model, const char* suffix);
// The numbered files: kind "EMC" or "CONV" followed by two digits.
std::string numbered_chain_file_name(const char* model, const char* kind, unsigned number);

// Ends the run when a file names a state outside 1..n.
void require_state(const std::string& path, std::uint32_t state, int n);

// Buffered reading of the fixed-size records of one chain file.
class ChainFileReader {
public:
    enum Result { kRecord, kEnd, kShort, kError };

    explicit ChainFileReader(std::FILE* file) : file_(file) {}

    // kEnd only when the file ends exactly before the record.
    Result ReadHeader(std::uint32_t& row, std::uint32_t& count);
    Result ReadEntry(double& value, std::uint32_t& state);

private:
    Result Take(unsigned char* record, std::size_t size);

    // One unpadded record of two fields.
    template <class First, class Second>
    Result ReadRecord(First& first, Second& second)
    {
        unsigned char record[sizeof(First) + sizeof(Second)];
        Result result = Take(record, sizeof record);
        if (result == kRecord) {
            std::memcpy(&first, record, sizeof first);
            std::memcpy(&second, record + sizeof first, sizeof second);
        }
        return result;
    }

    std::FILE* file_;
    unsigned char buffer_[1 << 16];
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
};
