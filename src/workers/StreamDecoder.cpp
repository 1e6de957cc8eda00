// Sticky-failure decoding of native-order binary fields.
#include "workers/StreamDecoder.h"

#include <cmath>
#include <cstring>

bool StreamDecoder::Read(void* data, std::size_t size)
{
    std::string reason;
    if (Ok() && source.Read(data, size, reason)) return true;
    std::memset(data, 0, size);
    if (Ok()) Fail(reason);
    return false;
}

std::int32_t StreamDecoder::Int()
{
    std::int32_t value;
    Read(&value, sizeof value);
    return value;
}

std::uint32_t StreamDecoder::Unsigned()
{
    std::uint32_t value;
    Read(&value, sizeof value);
    return value;
}

std::uint8_t StreamDecoder::Byte()
{
    std::uint8_t value;
    Read(&value, sizeof value);
    return value;
}

std::string StreamDecoder::Text(std::size_t length)
{
    std::string text(length, '\0');
    if (!Read(text.data(), length)) text.clear();
    return text;
}

double StreamDecoder::Double(const char* what)
{
    double value;
    if (Read(&value, sizeof value) && !std::isfinite(value)) {
        Fail(std::string(what) + " is not a finite number");
        value = 0.0;
    }
    return value;
}

std::int64_t StreamDecoder::InRange(const char* what, std::int64_t value, std::int64_t low,
                                    std::int64_t high)
{
    if (!Ok()) return low;
    if (value < low || value > high) {
        Fail(std::string(what) + " is " + std::to_string(value) + ", outside " +
             std::to_string(low) + ".." + std::to_string(high));
        return low;
    }
    return value;
}

std::int64_t StreamDecoder::Count(const char* what, std::int64_t low, std::int64_t high)
{
    return InRange(what, Int(), low, high);
}

std::int64_t StreamDecoder::UnsignedCount(const char* what, std::int64_t low, std::int64_t high)
{
    return InRange(what, Unsigned(), low, high);
}

void StreamDecoder::Expect(const char* what, std::int32_t value)
{
    const std::int32_t found = Int();
    if (Ok() && found != value)
        Fail(std::string(what) + " is " + std::to_string(found) + " instead of " +
             std::to_string(value));
}

void StreamDecoder::Fail(const std::string& message)
{
    if (!Ok()) return;
    error = "bad data stream";
    if (!section.empty()) error += " (" + section + ")";
    error += ": " + message;
}
