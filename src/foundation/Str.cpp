// Str operations. Buffers are always exact-size heap copies; inputs of the
// operators that return a new Str are never modified.
#include "foundation/Str.h"

#include <cstdlib>
#include <cstring>

namespace {

char* allocate(std::size_t n)
{
    char* p = static_cast<char*>(std::malloc(n));
    if (!p) std::abort();
    return p;
}

char* concat(const char* a, std::size_t la, const char* b, std::size_t lb)
{
    char* p = allocate(la + lb + 1);
    std::memcpy(p, a, la);
    std::memcpy(p + la, b, lb);
    p[la + lb] = '\0';
    return p;
}

}  // namespace

Str Str::Adopt(char* raw)
{
    Str s;
    s.buf = raw;
    return s;
}

Str::Str(char c) : buf(StrCopy(c)) {}

Str::Str(const char* s) : buf(StrCopy(s)) {}

Str::Str(const Str& o) : buf(StrCopy(o.buf)) {}

char* Str::StrCopy(char c)
{
    char* p = allocate(2);
    p[0] = c;
    p[1] = '\0';
    return p;
}

char* Str::StrCopy(const char* s)
{
    if (!s) return nullptr;
    std::size_t n = std::strlen(s);
    char* p = allocate(n + 1);
    std::memcpy(p, s, n + 1);
    return p;
}

void Str::Malloc(int n)
{
    Clear();
    buf = allocate(n > 0 ? static_cast<std::size_t>(n) : 1);
}

Str& Str::Clear()
{
    std::free(buf);
    buf = nullptr;
    return *this;
}

int Str::Length() const
{
    return buf ? static_cast<int>(std::strlen(buf)) : 0;
}

Str& Str::operator=(const char* s)
{
    if (!s || s == buf) return *this;
    char* copy = StrCopy(s);
    std::free(buf);
    buf = copy;
    return *this;
}

Str& Str::operator=(const Str& o)
{
    if (this == &o) return *this;
    return *this = o.buf;
}

Str& Str::operator=(Str&& o) noexcept
{
    if (this == &o || !o.buf) return *this;
    std::free(buf);
    buf = o.buf;
    o.buf = nullptr;
    return *this;
}

Str& Str::operator+=(char c)
{
    char add[2] = {c, '\0'};
    return *this += add;
}

Str& Str::operator+=(const char* s)
{
    if (!s) return *this;
    if (!buf) {
        buf = StrCopy(s);
        return *this;
    }
    char* joined = concat(buf, std::strlen(buf), s, std::strlen(s));
    std::free(buf);
    buf = joined;
    return *this;
}

Str Str::operator+(char c) const
{
    Str r(*this);
    r += c;
    return r;
}

Str Str::operator+(const char* s) const
{
    Str r(*this);
    r += s;
    return r;
}

Str Str::operator-(const char* s) const
{
    if (!buf || !s) return Str(*this);
    const char* hit = std::strstr(buf, s);
    if (!hit) return Str(*this);
    std::size_t before = static_cast<std::size_t>(hit - buf);
    std::size_t removed = std::strlen(s);
    const char* rest = hit + removed;
    return Adopt(concat(buf, before, rest, std::strlen(rest)));
}

Str Str::operator-(char c) const
{
    char sub[2] = {c, '\0'};
    return *this - sub;
}

bool Str::operator==(const char* s) const
{
    return buf && s && std::strcmp(buf, s) == 0;
}

int Str::StrCmp(const char* s) const { return std::strcmp(buf, s); }

int Str::StrnCmp(const char* s, int n) const
{
    return std::strncmp(buf, s, static_cast<std::size_t>(n));
}

char* Str::Index(char c) const { return buf ? std::strchr(buf, c) : nullptr; }

char* Str::RIndex(char c) const { return buf ? std::strrchr(buf, c) : nullptr; }

bool Str::IsIn(const char* hay) const
{
    if (!buf) return true;
    if (!hay) return false;
    return std::strstr(hay, buf) != nullptr;
}

bool Str::Contains(const char* s) const
{
    if (!s) return true;
    if (!buf) return false;
    return std::strstr(buf, s) != nullptr;
}

bool Str::Contains(char c) const
{
    char sub[2] = {c, '\0'};
    return Contains(sub);
}

char* Str::After(unsigned int k) const
{
    if (!buf || std::strlen(buf) <= k) return nullptr;
    return StrCopy(buf + k);
}

Str Str::Reverse() const
{
    if (!buf) return Str();
    std::size_t n = std::strlen(buf);
    char* p = allocate(n + 1);
    for (std::size_t i = 0; i < n; ++i) p[n - 1 - i] = buf[i];
    p[n] = '\0';
    return Adopt(p);
}

Str Str::Int2Str(int n)
{
    // Digits are produced least significant first and reversed at the end.
    char digits[16];
    int count = 0;
    while (n / 10 >= 1) {
        digits[count++] = static_cast<char>('0' + n % 10);
        n /= 10;
    }
    int last = n % 10;
    digits[count++] = static_cast<char>('0' + (last < 0 ? -last : last));
    digits[count] = '\0';
    return Str(digits).Reverse();
}

Str Str::BetweenS(const char* open, const char* close) const
{
    if (!buf || !open || !close) return Str();
    std::size_t len = std::strlen(buf);
    std::size_t lo = std::strlen(open);
    std::size_t lc = std::strlen(close);
    if (lo > len || lc > len || lo + lc >= len) return Str();

    std::size_t p = 0;
    bool opened = false;
    for (; p < len; ++p) {
        std::size_t rest = len - p;
        if (rest == 0 || rest <= lo) break;
        if (std::strncmp(buf + p, open, lo) == 0) {
            opened = true;
            break;
        }
    }
    if (!opened) return Str();

    // The closing search starts at the opening position itself, so equal
    // delimiters always give an empty result.
    std::size_t q = p;
    bool closed = false;
    for (; q < len; ++q) {
        std::size_t rest = len - q;
        if (rest < lc) break;
        if (std::strncmp(buf + q, close, lc) == 0) {
            closed = true;
            break;
        }
    }
    if (!closed || q <= p + lo) return Str();
    return Adopt(concat(buf + p + lo, q - (p + lo), "", 0));
}

Str Str::BetweenC(char open, char close) const
{
    if (!buf) return Str();
    const char* first = std::strchr(buf, open);
    if (!first) return Str(*this);
    const char* body = first + 1;
    const char* last = std::strrchr(body, close);
    std::size_t len = last ? static_cast<std::size_t>(last - body) : 0;
    if (len == 0) return Str();
    return Adopt(concat(body, len, "", 0));
}

Str Str::ReplaceChar(char from, char to) const
{
    if (!buf) return Str();
    Str r(*this);
    for (char* p = r.buf; *p; ++p)
        if (*p == from) *p = to;
    return r;
}
