// Binary record output of the chain files through a buffered stream.
#include "solution/ChainFileWriter.h"

#include <cstring>

ChainFileWriter::~ChainFileWriter()
{
    if (file_) std::fclose(file_);
}

bool ChainFileWriter::Open(const std::string& path)
{
    path_ = path;
    file_ = std::fopen(path.c_str(), "wb");
    return file_ != nullptr;
}

bool ChainFileWriter::Put(const unsigned char* record, std::size_t size)
{
    return file_ && std::fwrite(record, 1, size, file_) == size;
}

bool ChainFileWriter::WriteHeader(std::uint32_t row, std::uint32_t count)
{
    unsigned char record[8];
    std::memcpy(record, &row, 4);
    std::memcpy(record + 4, &count, 4);
    return Put(record, sizeof record);
}

bool ChainFileWriter::WriteEntry(double value, std::uint32_t state)
{
    unsigned char record[12];
    std::memcpy(record, &value, 8);
    std::memcpy(record + 8, &state, 4);
    return Put(record, sizeof record);
}

bool ChainFileWriter::Close()
{
    if (!file_) return false;
    bool flushed = std::fflush(file_) == 0 && !std::ferror(file_);
    bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    return flushed && closed;
}
