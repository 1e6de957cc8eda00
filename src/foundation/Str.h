// Str: the engine's string class. Exactly one owned pointer to a NUL-terminated
// buffer; a null pointer means "no text at all" and is distinct from the empty
// text "". Every change allocates a buffer of exactly the needed size.
#pragma once

#include <cstddef>

class Str {
public:
    Str() = default;
    explicit Str(char c);
    Str(const char* s);  // NOLINT: implicit on purpose, names travel as literals
    Str(const Str& o);
    Str(Str&& o) noexcept : buf(o.buf) { o.buf = nullptr; }
    ~Str() { Clear(); }

    // Fresh plain buffers owned by the caller; the object is not touched.
    static char* StrCopy(char c);
    static char* StrCopy(const char* s);

    void Malloc(int n);
    void DirtyAdd(char c, int i)
    {
        if (buf) buf[i] = c;
    }

    char* GetChar() { return buf; }
    const char* GetCChar() const { return buf; }
    char* GetCopy() const { return StrCopy(buf); }
    Str& Clear();
    int Length() const;
    bool IsNull() const { return buf == nullptr; }

    // Assigning a null source leaves the target unchanged.
    Str& operator=(const char* s);
    Str& operator=(const Str& o);
    Str& operator=(Str&& o) noexcept;

    Str& operator+=(char c);
    Str& operator+=(const char* s);
    Str& operator+=(const Str& o) { return *this += o.buf; }
    Str operator+(char c) const;
    Str operator+(const char* s) const;
    Str operator+(const Str& o) const { return *this + o.buf; }

    // Removal of the first occurrence.
    Str operator-(const char* s) const;
    Str operator-(char c) const;
    Str operator-(const Str& o) const { return *this - o.buf; }

    // Two null strings are never equal.
    bool operator==(const char* s) const;
    bool operator==(const Str& o) const { return *this == o.buf; }
    bool operator!=(const char* s) const { return !(*this == s); }
    bool operator!=(const Str& o) const { return !(*this == o); }

    int StrCmp(const char* s) const;
    int StrnCmp(const char* s, int n) const;
    char* Index(char c) const;
    char* RIndex(char c) const;
    bool IsIn(const char* hay) const;
    bool IsIn(const Str& hay) const { return IsIn(hay.buf); }
    bool Contains(const char* s) const;
    bool Contains(const Str& s) const { return Contains(s.buf); }
    bool Contains(char c) const;

    char* After(unsigned int k) const;
    Str Reverse() const;
    static Str Int2Str(int n);
    Str BetweenS(const char* open, const char* close) const;
    Str BetweenC(char open, char close) const;
    Str ReplaceChar(char from, char to) const;

private:
    static Str Adopt(char* raw);
    char* buf = nullptr;
};
