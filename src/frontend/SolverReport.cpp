// Recognises the solver's progress lines. The numbers follow fixed words;
// anything else in the output is ignored.
#include "frontend/SolverReport.h"

#include <cstdlib>

namespace {

// The number that follows `key` in `line`, if the line holds the key.
std::optional<double> NumberAfter(const std::string& line, const std::string& key)
{
    const std::size_t at = line.find(key);
    if (at == std::string::npos) return std::nullopt;
    const char* start = line.c_str() + at + key.size();
    char* end = nullptr;
    const double value = std::strtod(start, &end);
    if (end == start) return std::nullopt;
    return value;
}

bool Holds(const std::string& line, const char* words)
{
    return line.find(words) != std::string::npos;
}

// "\t\t estimated error of <name>: <a> absolute[, <r> relative]"
std::optional<MeasureErrorEstimate> MeasureErrorLine(const std::string& line)
{
    static const std::string key = "estimated error of ";
    const std::size_t at = line.find(key);
    if (at == std::string::npos) return std::nullopt;
    const std::size_t colon = line.rfind(": ");
    if (colon == std::string::npos || colon < at + key.size()) return std::nullopt;
    const std::string figures = line.substr(colon);
    const std::optional<double> absolute = NumberAfter(figures, ": ");
    if (!absolute || !Holds(figures, " absolute")) return std::nullopt;
    MeasureErrorEstimate estimate{line.substr(at + key.size(), colon - at - key.size()), *absolute,
                                  NumberAfter(figures, "absolute, ")};
    return estimate;
}

}  // namespace

PassSolution& SolverReport::Current()
{
    if (passes.empty()) passes.emplace_back();
    return passes.back();
}

void SolverReport::Line(const std::string& line)
{
    if (Holds(line, "solving LGS ...")) {
        passes.emplace_back();
        directAccuracy.reset();
        directEstimate.reset();
        return;
    }
    if (const std::size_t at = line.find("iteration: "); at != std::string::npos) {
        const std::size_t end = line.find(", stopped on", at);
        if (end != std::string::npos) Current().iteration = line.substr(at + 11, end - at - 11);
    }
    if (std::optional<double> estimate = NumberAfter(line, "estimated relative error:")) {
        if (Current().direct && !Current().refined) directEstimate = estimate;
        Current().errorEstimate = estimate;
    }
    if (std::optional<double> estimate = NumberAfter(line, "estimated relative error of the measures:"))
        Current().measuresEstimate = estimate;
    if (std::optional<MeasureErrorEstimate> estimate = MeasureErrorLine(line))
        Current().measureErrors.push_back(*estimate);
    if (Holds(line, "solution with sparse Gaussian-Elimination")) Current().direct = true;
    if (Holds(line, "iterative refinement of solution with sor")) Current().refined = true;
    if (Holds(line, "no convergence within")) Current().converged = false;
    if (std::optional<double> reached = NumberAfter(line, "achieved accuracy:")) {
        if (Current().direct && !Current().refined) directAccuracy = reached;
        Current().accuracy = reached;
    }
    const std::optional<double> iterations = NumberAfter(line, "convergence in ");
    const std::optional<double> reached = NumberAfter(line, "iterations with accuracy ");
    if (iterations && reached) {
        Current().iterations = static_cast<int>(*iterations);
        Current().accuracy = reached;
        Current().converged = true;
    }
    // A refinement that made things worse is thrown away.
    if (Holds(line, "iterative refinement was not succesfull")) {
        Current().accuracy = directAccuracy;
        Current().errorEstimate = directEstimate;
        Current().iterations.reset();
        Current().converged = true;
    }
}

std::string MethodUsed(const PassSolution& solution)
{
    const std::string iteration = solution.iteration.empty() ? "relaxation" : solution.iteration;
    if (solution.direct)
        return solution.refined ? "elimination refined by " + iteration : "elimination";
    return solution.iterations || !solution.converged ? iteration : solution.iteration;
}

PassSolution SolverReport::Pass(std::size_t pass) const
{
    return pass < passes.size() ? passes[pass] : PassSolution{};
}
