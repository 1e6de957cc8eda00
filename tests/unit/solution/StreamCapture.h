// The bytes a worker would receive: the engine writes to one end of a socket
// pair, the test reads them back from the other end and decodes them field
// by field.
#pragma once

#include "ScratchHome.h"
#include "foundation/Reporters.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <unistd.h>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

class StreamCapture {
public:
    StreamCapture()
    {
        int ends[2];
        socketpair(AF_UNIX, SOCK_STREAM, 0, ends);
        stream = fdopen(ends[0], "w");
        reader_ = ends[1];
    }
    ~StreamCapture()
    {
        if (stream) std::fclose(stream);
        close(reader_);
    }
    StreamCapture(const StreamCapture&) = delete;
    StreamCapture& operator=(const StreamCapture&) = delete;

    // Takes everything written so far.
    void Collect()
    {
        char buffer[4096];
        ssize_t n;
        while ((n = recv(reader_, buffer, sizeof buffer, MSG_DONTWAIT)) > 0)
            bytes_.append(buffer, static_cast<std::size_t>(n));
    }

    std::int32_t Int() { return Take<std::int32_t>(); }
    std::uint32_t Unsigned() { return Take<std::uint32_t>(); }
    double Double() { return Take<double>(); }
    unsigned char Byte() { return Take<unsigned char>(); }
    std::string Text(std::size_t n)
    {
        std::string s = bytes_.substr(at_, n);
        at_ += n;
        return s;
    }
    bool AtEnd() const { return at_ == bytes_.size(); }
    std::size_t Size() const { return bytes_.size(); }

    std::FILE* stream = nullptr;

private:
    template <class T>
    T Take()
    {
        T v{};
        if (at_ + sizeof v > bytes_.size()) {
            ADD_FAILURE() << "the stream ends at byte " << bytes_.size();
            return v;
        }
        std::memcpy(&v, bytes_.data() + at_, sizeof v);
        at_ += sizeof v;
        return v;
    }

    int reader_ = -1;
    std::string bytes_;
    std::size_t at_ = 0;
};
