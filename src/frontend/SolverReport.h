// What mosk's solver said about each pass, read from its output lines (mosk
// runs with -v so that the accuracy lines are printed). Each pass begins
// with the line "solving LGS ...".
#pragma once

#include <optional>
#include <string>
#include <vector>

// One measure's estimated error as mosk gave it: absolute, and relative to
// the value unless that is 0.
struct MeasureErrorEstimate {
    std::string name;  // as in the results file ("\p0")
    double absolute = 0.0;
    std::optional<double> relative;
};

struct PassSolution {
    std::optional<double> accuracy;       // the largest residual reached, when reported
    std::optional<double> errorEstimate;  // the estimated relative error of the probabilities
    std::optional<double> measuresEstimate;  // the largest estimated relative error of a measure
    std::vector<MeasureErrorEstimate> measureErrors;  // each measure's, in mosk's order
    std::string iteration;                // the iterative method mosk named, if any
    std::optional<int> iterations;        // of the relaxation, when it ran and converged
    bool converged = true;                // false after "no convergence within ..."
    bool direct = false;                  // the sparse elimination ran
    bool refined = false;                 // ... and was refined by the relaxation
};

class SolverReport {
public:
    // Feeds one output line (without its line end).
    void Line(const std::string& line);

    const std::vector<PassSolution>& Passes() const { return passes; }
    // The solver's figures for pass `pass`, or an empty record when mosk did
    // not report on it.
    PassSolution Pass(std::size_t pass) const;

private:
    PassSolution& Current();

    std::vector<PassSolution> passes;
    std::optional<double> directAccuracy;
    std::optional<double> directEstimate;
};

// What solved a pass, in words: "elimination", "elimination refined by
// GAUSS-SEIDEL", "GAUSS-SEIDEL", or "" when mosk did not say.
std::string MethodUsed(const PassSolution& solution);
