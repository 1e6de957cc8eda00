// Progress lines of the relaxation for a front end that shows them: with the
// line "SOLVER PROGRESS <seconds>" in the per-user file ".Plenar", the
// relaxation prints "\t\t iteration <k> accuracy <r>" at most that often.
// Without the line nothing is printed and nothing is timed.
#pragma once

#include <chrono>

class IterationProgress {
public:
    // Reads the interval from $HOME/.Plenar (0: no progress lines).
    IterationProgress();
    explicit IterationProgress(double intervalSeconds) : interval(intervalSeconds) {}

    // After iteration `k`, whose largest residual is `accuracy`.
    void Iteration(int k, double accuracy);

private:
    double interval = 0.0;
    std::chrono::steady_clock::time_point next{};
    bool started = false;
};

// The interval of a "SOLVER PROGRESS" line of the text of a ".Plenar" file;
// 0 when there is none or its value is not a positive number.
double SolverProgressInterval(const char* plenarText);
