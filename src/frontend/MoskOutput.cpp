// Output collection with a bounded memory: listings of large graphs can run
// to gigabytes, while a failure report sits at the end.
#include "frontend/MoskOutput.h"

void MoskOutput::Add(std::string_view piece)
{
    if (echo != nullptr)
        echo->write(piece.data(), static_cast<std::streamsize>(piece.size())).flush();
    text.append(piece);
    if (text.size() > 2 * keptBytes) {
        text.erase(0, text.size() - keptBytes);
        truncated = true;
    }
    for (char c : piece) {
        if (c != '\n') {
            partialLine.push_back(c);
            continue;
        }
        Line(partialLine);
        partialLine.clear();
    }
}

void MoskOutput::Line(const std::string& line)
{
    static const std::string kWarning = "WARNING : ";
    if (line.compare(0, kWarning.size(), kWarning) == 0)
        warnings.push_back(line.substr(kWarning.size()));
    solver.Line(line);
}

void MoskOutput::Finish()
{
    if (!partialLine.empty()) Line(partialLine);
    partialLine.clear();
    if (text.size() > keptBytes) {
        text.erase(0, text.size() - keptBytes);
        truncated = true;
    }
}
