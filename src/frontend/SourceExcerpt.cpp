// Excerpts of a description. Tabs are shown as blanks and the caret is
// placed by characters, not bytes, so that it stands under its word in a
// terminal also for tabs and UTF-8 letters.
#include "frontend/SourceExcerpt.h"

#include <algorithm>

namespace {

// Characters shown at most on either side of the mark in a long line.
constexpr std::size_t kBefore = 50;
constexpr std::size_t kAfter = 70;

bool StartsCharacter(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
}

std::size_t Characters(std::string_view bytes)
{
    return static_cast<std::size_t>(std::count_if(bytes.begin(), bytes.end(), StartsCharacter));
}

// The byte position `characters` characters before or after `from` in
// `line`, kept within the line.
std::size_t Back(std::string_view line, std::size_t from, std::size_t characters)
{
    std::size_t at = from;
    for (std::size_t moved = 0; moved < characters && at > 0; ++moved) do
            --at;
        while (at > 0 && !StartsCharacter(line[at]));
    return at;
}

std::size_t Forward(std::string_view line, std::size_t from, std::size_t characters)
{
    std::size_t at = from;
    for (std::size_t moved = 0; moved < characters && at < line.size(); ++moved) do
            ++at;
        while (at < line.size() && !StartsCharacter(line[at]));
    return at;
}

std::string Shown(std::string_view bytes)
{
    std::string shown;
    for (char c : bytes)
        if (c == '\t')
            shown += ' ';
        else if (c != '\r')
            shown += c;
    return shown;
}

}  // namespace

SourceLines::SourceLines(std::string_view text) : text(text)
{
    starts.push_back(0);
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n') starts.push_back(i + 1);
}

int SourceLines::LineOf(std::size_t offset) const
{
    return static_cast<int>(std::upper_bound(starts.begin(), starts.end(), offset) -
                            starts.begin());
}

std::string_view SourceLines::Line(int line) const
{
    const std::size_t start = StartOf(line);
    const std::size_t end = text.find('\n', start);
    return text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

std::string Excerpt(const SourceLines& lines, std::size_t offset, std::size_t length)
{
    const int number = lines.LineOf(offset);
    const std::string_view line = lines.Line(number);
    const std::size_t mark = std::min(offset - lines.StartOf(number), line.size());
    const std::size_t markEnd = std::min(mark + length, line.size());
    const std::size_t from = Back(line, mark, kBefore);
    const std::size_t to = Forward(line, markEnd, kAfter);
    const std::string prefix = from > 0 ? "..." : "";
    const std::string label = std::to_string(number);
    std::string text = " " + label + " | " + prefix + Shown(line.substr(from, to - from)) +
                       (to < line.size() ? "..." : "") + "\n";
    if (length == 0) return text;
    const std::size_t width =
        std::max<std::size_t>(1, Characters(line.substr(mark, markEnd - mark)));
    text += " " + std::string(label.size(), ' ') + " | " +
            std::string(prefix.size() + Characters(line.substr(from, mark - from)), ' ') + "^" +
            std::string(width - 1, '~') + "\n";
    return text;
}
