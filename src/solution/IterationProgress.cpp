// The first line comes after one interval, so a solve that is quick prints
// none; each line is flushed so a front end reading a pipe sees it at once.
#include "solution/IterationProgress.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

namespace {

constexpr const char* kKey = "SOLVER PROGRESS";

std::string PlenarText()
{
    const char* home = std::getenv("HOME");
    if (home == nullptr) return "";
    std::ifstream file(std::string(home) + "/.Plenar");
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

}  // namespace

double SolverProgressInterval(const char* plenarText)
{
    std::istringstream lines(plenarText);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.compare(0, std::strlen(kKey), kKey) != 0) continue;
        const char* value = line.c_str() + std::strlen(kKey);
        char* end = nullptr;
        const double seconds = std::strtod(value, &end);
        return end != value && std::isfinite(seconds) && seconds > 0.0 ? seconds : 0.0;
    }
    return 0.0;
}

IterationProgress::IterationProgress() : interval(SolverProgressInterval(PlenarText().c_str())) {}

void IterationProgress::Iteration(int k, double accuracy)
{
    if (interval <= 0.0) return;
    const auto now = std::chrono::steady_clock::now();
    const auto step = std::chrono::duration_cast<std::chrono::steady_clock::duration>(
        std::chrono::duration<double>(interval));
    if (!started) {
        started = true;
        next = now + step;
        return;
    }
    if (now < next) return;
    next = now + step;
    std::printf("\t\t iteration %d accuracy %g\n", k, accuracy);
    std::fflush(stdout);
}
