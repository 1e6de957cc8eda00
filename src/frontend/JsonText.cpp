// JSON text helpers.
#include "frontend/JsonText.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The number grammar of JSON: -?(0|[1-9][0-9]*)(.[0-9]+)?([eE][+-]?[0-9]+)?
bool IsJsonNumber(const std::string& text)
{
    std::size_t i = 0;
    const std::size_t n = text.size();
    auto digits = [&] {
        const std::size_t from = i;
        while (i < n && IsDigit(text[i])) ++i;
        return i > from;
    };
    if (i < n && text[i] == '-') ++i;
    if (i < n && text[i] == '0')
        ++i;
    else if (!digits())
        return false;
    if (i < n && text[i] == '.') {
        ++i;
        if (!digits()) return false;
    }
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
        if (!digits()) return false;
    }
    return i == n;
}

}  // namespace

std::string JsonString(const std::string& text)
{
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                    out += escaped;
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

std::string JsonNumberText(const std::string& text)
{
    return IsJsonNumber(text) ? text : JsonString(text);
}

std::string JsonDouble(double value)
{
    if (!std::isfinite(value)) return "null";
    char text[64];
    const std::to_chars_result written = std::to_chars(text, text + sizeof text, value);
    return JsonNumberText(std::string(text, written.ptr));
}

std::string JsonOptional(const std::optional<double>& value)
{
    return value ? JsonDouble(*value) : "null";
}
