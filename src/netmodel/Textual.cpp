// Name validation and path stripping. The report lines of the checks are
// fixed: the front end shows them to the user to locate the rejected rule.
#include "netmodel/Textual.h"

#include <cstring>

#include "foundation/Reporters.h"

namespace {

constexpr const char* kRoot = "\\__ROOT__";
constexpr std::size_t kRootLength = 9;
constexpr const char* kLetterFirst = "string does not match [\\a-zA-Z][\\a-zA-Z0-9_]*";
constexpr const char* kWordOnly = "string does not match [\\a-zA-Z0-9_]*";

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool IsWordChar(char c) { return IsLetter(c) || (c >= '0' && c <= '9') || c == '_' || c == '\\'; }

bool StartsWithRoot(const char* s) { return std::strncmp(s, kRoot, kRootLength) == 0; }

// Index of the first character from `from` on that is not a word character,
// or -1 when all of them are.
int FirstNonWordChar(const char* s, std::size_t from)
{
    for (std::size_t i = from; s[i]; ++i)
        if (!IsWordChar(s[i])) return static_cast<int>(i);
    return -1;
}

}  // namespace

Textual::Textual(int mode, const char* s) : text(s) { Check(mode); }

Textual::Textual(int mode, const Str& s) : text(s) { Check(mode); }

void Textual::Check(int mode) const
{
    if (mode == kText)
        CheckTxt();
    else
        CheckIdt();
}

void Textual::CheckTxt() const
{
    const char* s = text.GetCChar();
    if (!s) TxtError(11, "CheckTxt()", "string is NULL-pointer");
    if (std::strcmp(s, kRoot) == 0) return;
    if (StartsWithRoot(s)) {
        if (s[9] != '\\') TxtError(26, "CheckTxt()", kLetterFirst);
        if (s[10] == '\0') return;
        if (!IsLetter(s[10])) TxtError(24, "CheckTxt()", kLetterFirst);
        if (FirstNonWordChar(s, 11) >= 0) TxtError(22, "CheckTxt()", kLetterFirst);
        return;
    }
    if (s[0] == '\\') {
        if (s[1] == '\0') return;
        if (!IsLetter(s[1])) TxtError(38, "CheckTxt()", kLetterFirst);
        if (FirstNonWordChar(s, 2) >= 0) TxtError(36, "CheckTxt()", kLetterFirst);
        return;
    }
    if (!IsLetter(s[0])) TxtError(48, "CheckTxt()", kLetterFirst);
    if (FirstNonWordChar(s, 1) >= 0) TxtError(46, "CheckTxt()", kLetterFirst);
}

void Textual::CheckIdt() const
{
    const char* s = text.GetCChar();
    if (!s) TxtError(57, "CheckIdt()", "string is NULL-pointer");
    if (std::strcmp(s, kRoot) == 0) return;
    if (StartsWithRoot(s)) {
        if (s[9] != '\\') TxtError(70, "CheckIdt()", kWordOnly);
        if (FirstNonWordChar(s, 10) >= 0) TxtError(68, "CheckIdt()", kLetterFirst);
        return;
    }
    if (s[0] == '\\') {
        if (s[1] == '\\') TxtError(79, "CheckIdt()", kWordOnly);
        if (FirstNonWordChar(s, 1) >= 0) TxtError(83, "CheckIdt()", kWordOnly);
        return;
    }
    if (FirstNonWordChar(s, 0) >= 0) TxtError(89, "CheckIdt()", kWordOnly);
}

Str Textual::StripOffPath() const
{
    if (text.IsNull()) TxtError(118, "can't strip of path", "string is NULL-pointer");
    const char* last = text.RIndex('\\');
    if (!last) return Str();
    return Str(last + 1);
}

Str Textual::StripOffRoot() const
{
    const char* s = text.GetCChar();
    if (!s || !StartsWithRoot(s)) return text;
    if (s[kRootLength] == '\0') return Str();
    return Str(s + kRootLength);
}

Str Textual::StripOffRootBackslash() const
{
    const char* s = text.GetCChar();
    if (!s || !StartsWithRoot(s) || s[kRootLength] != '\\') return text;
    if (s[kRootLength + 1] == '\0') return Str();
    return Str(s + kRootLength + 1);
}

void Textual::TxtError(int line, const char* function, const char* description) const
{
    Fatal(RRGError("Pendra/src/Textual", line, function, description, text.GetCChar()),
          kExitNetModel);
}
