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
        solver.Line(partialLine);
        partialLine.clear();
    }
}

void MoskOutput::Finish()
{
    if (!partialLine.empty()) solver.Line(partialLine);
    partialLine.clear();
    if (text.size() > keptBytes) {
        text.erase(0, text.size() - keptBytes);
        truncated = true;
    }
}
