// Buffered writing of a worker's data stream.
#include "solution/WorkerStream.h"

void WorkerStream::Put(const void* data, std::size_t size)
{
    const char* bytes = static_cast<const char*>(data);
    buffer_.insert(buffer_.end(), bytes, bytes + size);
    if (buffer_.size() >= kFlushAt) Flush();
}

void WorkerStream::Flush()
{
    if (buffer_.empty()) return;
    writer_(buffer_.data(), static_cast<unsigned>(buffer_.size()), stream_);
    buffer_.clear();
}
