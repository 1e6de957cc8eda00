// The words of one delays file, read front to back. The word "*#END#*" marks
// a file as completely written; it ends the data, and what follows it is
// ignored.
#pragma once

#include "foundation/Str.h"

#include <cstddef>
#include <string>
#include <vector>

class DelaysFileWords {
public:
    explicit DelaysFileWords(const std::string& text);

    // Reads the file's words; false when it cannot be opened.
    static bool Read(const Str& path, DelaysFileWords& words);

    bool IsComplete() const { return complete; }
    bool AtEnd() const { return next >= words.size(); }

    // The next word, or the empty text after the last one.
    std::string Next();
    // The next word as a number; a word that is not one gives 0.
    unsigned NextUnsigned();
    double NextDouble();

private:
    std::vector<std::string> words;
    std::size_t next = 0;
    bool complete = false;
};
