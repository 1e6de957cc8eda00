// Each visit of a state of the embedded chain stands for a stay of known mean
// length: conversion file 00 gives the sojourn time of every exponential
// state, the files 01, 02, ... per entry state of a subordinated chain the
// expected time spent in each of its states. Weighting the chain's solution
// with these times and normalising gives the time-based probabilities.
#include "solution/Renormal.h"

#include "foundation/RunState.h"
#include "solution/ChainFiles.h"
#include "solution/SolveLGS.h"
#include "solution/SolveLGSState.h"
#include "solution/SolverMessages.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <vector>

namespace {

constexpr const char* kReadFailure = "\t\t renormal: fread\n\n";

// What the weighting does to the error bounds of nprob (when the solver
// made them): the bounds weighted into each state (`mass`), the total
// weight of each state's visits (`visit_time`), and the signed error
// directions weighted into each state (`steps`) with their totals.
struct ErrorWeights {
    std::vector<double> mass;
    std::vector<double> visit_time;
    std::vector<std::vector<double>> steps;
    std::vector<double> step_totals;
};

class Weighing {
public:
    explicit Weighing(ErrorWeights& errors) : errors(errors) {}

    // Adds the weight `factor` of a visit of state `from` to state `to`.
    void Add(std::uint32_t from, double factor, std::uint32_t to)
    {
        double weight = factor * std::fabs(lgs::nprob[from]);
        sum += weight;
        lgs::mprob[to] += weight;
        if (errors.mass.empty()) return;
        errors.mass[to] += std::fabs(factor) * lgs::error_bounds[from];
        errors.visit_time[from] += factor;
        for (std::size_t k = 0; k < errors.steps.size(); ++k) {
            double moved = factor * lgs::error_steps[k][from];
            errors.steps[k][to] += moved;
            errors.step_totals[k] += moved;
        }
    }
    double Sum() const { return sum; }

private:
    ErrorWeights& errors;
    double sum = 0.0;
};

// The error of the normalising sum s = sum_i T_i x_i (T_i a state's visit
// time): the error of nprob sums to zero, as nprob and the exact solution
// both sum to one, so it moves s by sum_i (T_i - c) dx_i for any c, at most
// sum_i |T_i - c| bound_i. Of c = 0, the bounds' mean of T and the middle
// of its range the smallest sum is taken: where the visits are of similar
// length it is far less than sum_i T_i bound_i.
double normalisation_error(int n, const ErrorWeights& errors)
{
    const std::vector<double>& time = errors.visit_time;
    double shortest = time[1], longest = time[1], weighted = 0.0, weights = 0.0;
    for (int i = 1; i <= n; ++i) {
        shortest = std::min(shortest, time[i]);
        longest = std::max(longest, time[i]);
        weighted += time[i] * lgs::error_bounds[i];
        weights += lgs::error_bounds[i];
    }
    if (weights == 0.0) return 0.0;
    double smallest = std::numeric_limits<double>::infinity();
    for (double middle : {0.0, weighted / weights, 0.5 * (shortest + longest)}) {
        double error = 0.0;
        for (int i = 1; i <= n; ++i) error += std::fabs(time[i] - middle) * lgs::error_bounds[i];
        smallest = std::min(smallest, error);
    }
    return smallest;
}

// Adds the weights of one file to mprob.
double weigh_sojourn_times(std::FILE* file, const std::string& path, Weighing weighing)
{
    ChainFileReader reader(file);
    double factor;
    std::uint32_t state;
    ChainFileReader::Result result;
    while ((result = reader.ReadEntry(factor, state)) == ChainFileReader::kRecord) {
        require_state(path, state, lgs::toptan);
        weighing.Add(state, factor, state);
    }
    if (result != ChainFileReader::kEnd) fail_with_perror(kReadFailure);
    return weighing.Sum();
}

double weigh_chain_times(std::FILE* file, const std::string& path, Weighing weighing)
{
    ChainFileReader reader(file);
    std::uint32_t row, count;
    ChainFileReader::Result result;
    while ((result = reader.ReadHeader(row, count)) == ChainFileReader::kRecord) {
        require_state(path, row, lgs::toptan);
        for (std::uint32_t k = 0; k < count; ++k) {
            double time;
            std::uint32_t state;
            if (reader.ReadEntry(time, state) != ChainFileReader::kRecord)
                fail_with_perror(kReadFailure);
            require_state(path, state, lgs::toptan);
            weighing.Add(row, time, state);
        }
    }
    if (result != ChainFileReader::kEnd) fail_with_perror(kReadFailure);
    return weighing.Sum();
}

void write_probmark(int n)
{
    std::string path = chain_file_name(lgs::model, ".PROBMARK");
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) fail_with_perror("\t\t fopen: mpdf: renormalo\n\n ");
    const double marks[2] = {-0.0, -1.0};
    std::fwrite(marks, sizeof(double), 2, file);
    std::fwrite(pi_vector, sizeof(double), n, file);
    bool failed = std::fflush(file) != 0 || std::ferror(file);
    if (std::fclose(file) != 0 || failed) fail_with_perror("\t\t fwrite: 'renormal':\n\n");
}

}  // namespace

void renormal()
{
    int n = lgs::toptan;
    std::free(pi_vector);
    lgs::mprob = static_cast<double*>(std::calloc(n + 1, sizeof(double)));
    pi_vector = static_cast<double*>(std::calloc(n > 0 ? n : 1, sizeof(double)));
    if (!lgs::mprob || !pi_vector) fail_with_perror("\t\t calloc\n\n");

    // pi = M x / s with s the sum of M x, so an error dx of x moves pi by
    // (M dx - pi sum(M dx)) / s, bounded per state by M|dx| / s plus pi
    // times the bound of sum(M dx) / s.
    ErrorWeights errors;
    if (!lgs::error_bounds.empty()) {
        errors.mass.assign(n + 1, 0.0);
        errors.visit_time.assign(n + 1, 0.0);
        errors.steps.assign(lgs::error_steps.size(), std::vector<double>(n + 1, 0.0));
        errors.step_totals.assign(lgs::error_steps.size(), 0.0);
    }
    double sum = 0.0;
    std::string path = numbered_chain_file_name(lgs::model, "CONV", 0);
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        sum += weigh_sojourn_times(file, path, Weighing(errors));
        std::fclose(file);
    }
    for (unsigned number = 1;; ++number) {
        path = numbered_chain_file_name(lgs::model, "CONV", number);
        std::FILE* file = std::fopen(path.c_str(), "rb");
        if (!file) break;
        sum += weigh_chain_times(file, path, Weighing(errors));
        std::fclose(file);
    }
    if (sum == 0.0) fail_with_perror("\t\t SolveLGS: division by zero in function renormal()\n\n");

    double scale = 1.0 / sum;
    for (int i = 1; i <= n; ++i) pi_vector[i - 1] = lgs::mprob[i] * scale;
    pi_error.clear();
    pi_error_steps.clear();
    if (!errors.mass.empty() && n > 0) {
        pi_error.resize(n);
        double shift = normalisation_error(n, errors) * scale;
        for (int i = 1; i <= n; ++i)
            pi_error[i - 1] = errors.mass[i] * scale + pi_vector[i - 1] * shift;
        // A signed change d of x moves pi by (M d - pi sum(M d)) / s.
        for (std::size_t k = 0; k < errors.steps.size(); ++k) {
            std::vector<double>& step = pi_error_steps.emplace_back(n);
            double total = errors.step_totals[k] * scale;
            for (int i = 1; i <= n; ++i)
                step[i - 1] = errors.steps[k][i] * scale - pi_vector[i - 1] * total;
            std::vector<double>().swap(errors.steps[k]);
        }
    }
    write_probmark(n);
    if (SHOW_LGS) {
        std::printf("\n\n \t\t pi-vector : \n");
        for (int i = 0; i < n; ++i) std::printf("\t\t pi[%d] = %g\n", i, pi_vector[i]);
    }
}
