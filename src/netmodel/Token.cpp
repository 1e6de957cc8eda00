// Token construction with validated fields, wildcard matching and printing.
#include "netmodel/Token.h"

#include <cstdio>

Token::Token(const Str& n, const char* v, const char* s)
    : name(Textual::kText, n), vers(Textual::kIdentifier, v), step(Textual::kIdentifier, s)
{
}

Token::Token(const Str& n, const Str& v, const Str& s)
    : name(Textual::kText, n), vers(Textual::kIdentifier, v), step(Textual::kIdentifier, s)
{
}

bool Token::IsEqual(const Token& o) const
{
    // A wildcard step makes the version irrelevant too; a wildcard version
    // still requires equal steps.
    if (step == "wdc" || o.step == "wdc") return name == o.name;
    if (vers == "wdc" || o.vers == "wdc") return name == o.name && step == o.step;
    return *this == o;
}

void Token::PrintToken() const
{
    std::printf("%s[%s]%s\n", name.GetString().GetCChar(), vers.GetString().GetCChar(),
                step.GetString().GetCChar());
}
