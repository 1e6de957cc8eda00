// Single-quote quoting for the POSIX shell.
#include "foundation/ShellQuoting.h"

#include <cctype>
#include <cstring>

std::string ShellQuoted(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

std::string ShellWord(const std::string& text)
{
    bool plain = !text.empty();
    for (char c : text)
        if (!std::isalnum(static_cast<unsigned char>(c)) && !std::strchr("_./:,+=@%-", c))
            plain = false;
    return plain ? text : ShellQuoted(text);
}
