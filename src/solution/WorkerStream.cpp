// Buffered writing of a worker's data stream.
#include "solution/WorkerStream.h"

#include <sys/socket.h>
#include <cerrno>

bool SendAll(int connection, const char* data, std::size_t size)
{
    while (size > 0) {
        ssize_t n = send(connection, data, size, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

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
