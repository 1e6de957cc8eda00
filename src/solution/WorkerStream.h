// The binary data stream to one worker: numbers in native byte order,
// unpadded (int and unsigned 32-bit, double IEEE 754). The bytes are
// gathered in a buffer and handed in large pieces to the module's socket
// writer, which ends the run when the worker cannot be reached.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "foundation/SocketTransfer.h"

// Writes all `size` bytes on the stream's descriptor or ends the run.
using SocketWriter = void (*)(const char* data, unsigned size, std::FILE* stream);

class WorkerStream {
public:
    WorkerStream(std::FILE* stream, SocketWriter writer) : stream_(stream), writer_(writer)
    {
        buffer_.reserve(kFlushAt);
    }
    WorkerStream(const WorkerStream&) = delete;
    WorkerStream& operator=(const WorkerStream&) = delete;

    void Int(std::int32_t v) { Put(&v, sizeof v); }
    void Unsigned(std::uint32_t v) { Put(&v, sizeof v); }
    void Double(double v) { Put(&v, sizeof v); }
    void Byte(unsigned char v) { Put(&v, sizeof v); }
    void Bytes(const char* data, std::size_t size) { Put(data, size); }

    // Hands over everything gathered so far.
    void Flush();

private:
    static constexpr std::size_t kFlushAt = 1 << 16;

    void Put(const void* data, std::size_t size);

    std::FILE* stream_;
    SocketWriter writer_;
    std::vector<char> buffer_;
};
