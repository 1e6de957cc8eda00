// Decoder of the engine's binary stream: 32-bit integers, doubles and bytes
// in the machine's byte order, unpadded. The first failure (missing data or
// a value out of its range) is kept and every later read yields 0, so a
// reader checks Ok() once per row or section instead of after every value.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Where the bytes come from: the engine's socket, or memory in tests.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Reads exactly `size` bytes, or explains in `error` why it cannot.
    virtual bool Read(void* data, std::size_t size, std::string& error) = 0;
};

class StreamDecoder {
public:
    explicit StreamDecoder(ByteSource& source) : source(source) {}

    // Names the part of the stream being read, for the messages.
    void Section(std::string where) { section = std::move(where); }

    std::int32_t Int();
    std::uint32_t Unsigned();
    std::uint8_t Byte();
    std::string Text(std::size_t length);
    // A double that must be finite.
    double Double(const char* what);
    // An int (an unsigned) that must lie in [low, high].
    std::int64_t Count(const char* what, std::int64_t low, std::int64_t high);
    std::int64_t UnsignedCount(const char* what, std::int64_t low, std::int64_t high);
    // An int that must have the given value (a fixed field of the layout).
    void Expect(const char* what, std::int32_t value);

    void Fail(const std::string& message);
    bool Ok() const { return error.empty(); }
    const std::string& Error() const { return error; }

private:
    bool Read(void* data, std::size_t size);
    std::int64_t InRange(const char* what, std::int64_t value, std::int64_t low, std::int64_t high);

    ByteSource& source;
    std::string section;
    std::string error;
};
