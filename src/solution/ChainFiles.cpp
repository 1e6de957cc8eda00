// Chain file names and the buffered record reader.
#include "solution/ChainFiles.h"

#include "foundation/RunState.h"
#include "solution/SolverMessages.h"

#include <algorithm>
#include <cstring>

std::string chain_file_name(const char* model, const char* suffix)
{
    std::string path = TmpDir ? TmpDir : ".";
    path += '/';
    path += model;
    path += suffix;
    return path;
}

std::string numbered_chain_file_name(const char* model, const char* kind, unsigned number)
{
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%s%02u", kind, number);
    return chain_file_name(model, suffix);
}

ChainFileReader::Result ChainFileReader::Take(unsigned char* record, std::size_t size)
{
    std::size_t got = 0;
    while (got < size) {
        if (begin_ == end_) {
            begin_ = 0;
            end_ = std::fread(buffer_, 1, sizeof buffer_, file_);
            if (end_ == 0) {
                if (std::ferror(file_)) return kError;
                return got == 0 ? kEnd : kShort;
            }
        }
        std::size_t part = std::min(size - got, end_ - begin_);
        std::memcpy(record + got, buffer_ + begin_, part);
        begin_ += part;
        got += part;
    }
    return kRecord;
}

ChainFileReader::Result ChainFileReader::ReadHeader(std::uint32_t& row, std::uint32_t& count)
{
    return ReadRecord(row, count);
}

ChainFileReader::Result ChainFileReader::ReadEntry(double& value, std::uint32_t& state)
{
    return ReadRecord(value, state);
}

void require_state(const std::string& path, std::uint32_t state, int n)
{
    if (state < 1 || state > static_cast<std::uint32_t>(n))
        fail_on_stderr("\t\t file '%s' refers to state %u outside 1..%d !\n", path.c_str(), state,
                       n);
}
