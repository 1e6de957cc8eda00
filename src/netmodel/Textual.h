// Textual: the validated name of every named object of the net. Qualified
// names are backslash paths that begin with the root page name "\__ROOT__".
// Names checked "as a text" must start with a letter; identifiers (version
// and step qualifiers, definition names) may also start with a digit.
#pragma once

#include "foundation/Str.h"

class Textual {
public:
    // Validation modes of the checking constructors.
    enum { kIdentifier = 0, kText = 1 };

    Textual() : text("noname") {}
    Textual(const Str& s) : text(s) {}        // NOLINT: names travel as Str
    Textual(const char* s) : text(s) {}       // NOLINT: and as literals
    Textual(const Textual& o) = default;
    Textual(int mode, const char* s);
    Textual(int mode, const Str& s);

    Textual& operator=(const char* s)
    {
        text = s;
        return *this;
    }
    Textual& operator=(const Str& s)
    {
        text = s;
        return *this;
    }
    Textual& operator=(const Textual& o)
    {
        text = o.text;
        return *this;
    }

    bool operator==(const Str& s) const { return text == s; }
    bool operator==(const char* s) const { return text == s; }
    bool operator==(const Textual& o) const { return text == o.text; }
    bool operator!=(const Str& s) const { return text != s; }
    bool operator!=(const char* s) const { return text != s; }
    bool operator!=(const Textual& o) const { return text != o.text; }

    Str& GetString() { return text; }
    const Str& GetString() const { return text; }

    Str StripOffPath() const;
    Str StripOffRoot() const;
    Str StripOffRootBackslash() const;

    void Clear() {}

    [[noreturn]] void TxtError(int line, const char* function, const char* description) const;

private:
    void CheckTxt() const;
    void CheckIdt() const;
    void Check(int mode) const;

    Str text;
};
