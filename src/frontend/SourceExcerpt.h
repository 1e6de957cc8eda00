// One line of a text with a caret under a word, as compilers show the place
// of an error:
//      9 | Arrive [ out#P = e ; Exponentail(arrival) ]
//        |                      ^~~~~~~~~~~
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class SourceLines {
public:
    explicit SourceLines(std::string_view text);

    // 1-based line and column (in characters) of a byte offset.
    int LineOf(std::size_t offset) const;
    std::string_view Line(int line) const;
    int Count() const { return static_cast<int>(starts.size()); }
    std::size_t StartOf(int line) const { return starts[static_cast<std::size_t>(line - 1)]; }

private:
    std::string_view text;
    std::vector<std::size_t> starts;
};

// The line holding `offset` with `length` bytes marked from there on (no
// mark when `length` is 0). Long lines are cut to a window around the mark.
std::string Excerpt(const SourceLines& lines, std::size_t offset, std::size_t length);
