// Binary record output of the chain files. The records are gathered in a
// buffer of our own and handed to the stream a megabyte at a time: a chain
// of eleven million rows has over a hundred million records, and a stream
// call for each (with its lock) cost seconds.
#include "solution/ChainFileWriter.h"

#include <cstring>

namespace {

constexpr std::size_t kBufferBytes = std::size_t{1} << 20;

}  // namespace

ChainFileWriter::~ChainFileWriter()
{
    if (file_) std::fclose(file_);
}

bool ChainFileWriter::Open(const std::string& path)
{
    path_ = path;
    file_ = std::fopen(path.c_str(), "wb");
    buffer_.resize(kBufferBytes);
    used_ = 0;
    return file_ != nullptr;
}

bool ChainFileWriter::Drain()
{
    bool written = file_ && std::fwrite(buffer_.data(), 1, used_, file_) == used_;
    used_ = 0;
    return written;
}

bool ChainFileWriter::Put(const unsigned char* record, std::size_t size)
{
    if (used_ + size > buffer_.size() && !Drain()) return false;
    if (!file_) return false;
    std::memcpy(buffer_.data() + used_, record, size);
    used_ += size;
    return true;
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
    bool drained = Drain();
    bool flushed = std::fflush(file_) == 0 && !std::ferror(file_);
    bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    return drained && flushed && closed;
}
