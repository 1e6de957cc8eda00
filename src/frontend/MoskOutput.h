// Collects mosk's output: shows it as it comes when asked to, keeps the last
// part of it for the report of a failed run, hands each line to the solver
// report and keeps mosk's warning lines.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "frontend/SolverReport.h"

class MoskOutput {
public:
    // `echo` receives every piece as it arrives (null: keep quiet).
    explicit MoskOutput(std::ostream* echo, std::size_t keptBytes = 16u << 20)
        : echo(echo), keptBytes(keptBytes)
    {
    }

    void Add(std::string_view piece);
    // Ends a last line that has no line end.
    void Finish();

    // The output kept: all of it, or its end when it was longer than the
    // limit (then Truncated() holds).
    const std::string& Text() const { return text; }
    bool Truncated() const { return truncated; }
    bool Echoed() const { return echo != nullptr; }
    const SolverReport& Solver() const { return solver; }
    // The text of every "WARNING : " line so far, in order.
    const std::vector<std::string>& Warnings() const { return warnings; }

private:
    std::ostream* echo;
    std::size_t keptBytes;
    std::string text;
    bool truncated = false;
    std::string partialLine;
    SolverReport solver;
    std::vector<std::string> warnings;

    void Line(const std::string& line);
};
