// Splitting of a delays file into whitespace-separated words.
#include "run/DelaysFileWords.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

const char* const kEndWord = "*#END#*";

}  // namespace

DelaysFileWords::DelaysFileWords(const std::string& text)
{
    std::istringstream in(text);
    std::string word;
    while (in >> word) {
        if (word == kEndWord) {
            complete = true;
            break;
        }
        words.push_back(word);
    }
}

bool DelaysFileWords::Read(const Str& path, DelaysFileWords& result)
{
    std::ifstream in(path.GetCChar());
    if (!in) return false;
    std::ostringstream text;
    text << in.rdbuf();
    result = DelaysFileWords(text.str());
    return true;
}

std::string DelaysFileWords::Next() { return AtEnd() ? std::string() : words[next++]; }

unsigned DelaysFileWords::NextUnsigned()
{
    return static_cast<unsigned>(std::strtoul(Next().c_str(), nullptr, 10));
}

double DelaysFileWords::NextDouble() { return std::strtod(Next().c_str(), nullptr); }
