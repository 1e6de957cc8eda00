// Token: one colour of the coloured net, a name with a version and a step
// qualifier. A token's number in every multiset is its 1-based position in
// TokenRefs; "wdc" in the version or step matches any value there.
#pragma once

#include "foundation/Str.h"
#include "netmodel/Textual.h"

class Token {
public:
    Token() : name("noname"), vers("novers"), step("nostep") {}
    Token(const Str& name, const char* vers, const char* step);
    Token(const Str& name, const Str& vers, const Str& step);
    Token(const Token& o) = default;
    Token& operator=(const Token& o) = default;

    void Clear() {}

    const Textual& GetName() const { return name; }
    const Textual& GetVers() const { return vers; }
    const Textual& GetStep() const { return step; }

    bool operator==(const Token& o) const
    {
        return name == o.name && vers == o.vers && step == o.step;
    }
    bool operator!=(const Token& o) const { return !(*this == o); }

    // Colour matching with the wildcard "wdc".
    bool IsEqual(const Token& o) const;

    void PrintToken() const;

private:
    Textual name;
    Textual vers;
    Textual step;
};
