// What one mosk run is doing, read from its output as it arrives: the phase
// from its -v lines, the markings generated so far from the spinner it
// advances every 200 markings (or the counts of -y), and the relaxation's
// iteration and residual from the lines a "SOLVER PROGRESS" setting asks for.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

enum class RunPhase {
    Starting,
    Reading,
    Generating,
    Examining,
    WritingChain,
    Workers,
    Solving,
    Evaluating,
    Done
};

struct RunProgressState {
    RunPhase phase = RunPhase::Starting;
    long markings = 0;  // generated so far, or all of them once known
    double markingsPerSecond = 0.0;
    bool directSolver = false;  // the elimination runs (no iterations to show)
    std::optional<int> iteration;
    std::optional<double> accuracy;
    std::optional<double> solveSecondsLeft;  // from the residual's trend
    double phaseSeconds = 0.0;               // time in the current phase
};

class RunProgress {
public:
    using Clock = std::chrono::steady_clock;

    // `epsilon`: the accuracy the solver aims for, to estimate the time left.
    explicit RunProgress(double epsilon, Clock::time_point start = Clock::now());

    void Feed(std::string_view piece, Clock::time_point now = Clock::now());
    RunProgressState State(Clock::time_point now = Clock::now()) const;

private:
    void Line(const std::string& line, Clock::time_point now);
    void CreationCharacter(char c, Clock::time_point now);
    void EnterPhase(RunPhase phase, Clock::time_point now);
    void Iteration(int k, double accuracy, Clock::time_point now);

    double epsilon;
    RunProgressState state;
    Clock::time_point phaseStart;
    std::string line;         // the start of the current line
    bool inCreation = false;  // on the generation's line
    long spins = 0;
    long count = 0;  // digits of a -y count being read
    bool readingCount = false;
    Clock::time_point firstIterationTime{};
    double firstIterationLog = 0.0;
    std::optional<int> firstIteration;
};

// One line for a display: "generating 12,400 markings (31,000/s)",
// "solving 58,400 markings: iteration 120, accuracy 3.1e-05, ~4 s left".
std::string DescribeProgress(const RunProgressState& state);

// "12,345,678"
std::string GroupedNumber(long number);
// "45 s", "3 min", "2 h"
std::string RoughDuration(double seconds);
