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

#include <cmath>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

constexpr const char* kReadFailure = "\t\t renormal: fread\n\n";

// The sums of the weights one file added to mprob, and of the same weights
// applied to the error bounds of nprob (when the solver made them) that it
// added to `error_mass`.
struct FileWeights {
    double sum = 0.0;
    double error_sum = 0.0;
};

class Weighing {
public:
    explicit Weighing(std::vector<double>& error_mass) : error_mass(error_mass) {}

    // Adds the weight `factor` of a visit of state `from` to state `to`.
    void Add(std::uint32_t from, double factor, std::uint32_t to)
    {
        double weight = factor * std::fabs(lgs::nprob[from]);
        sums.sum += weight;
        lgs::mprob[to] += weight;
        if (error_mass.empty()) return;
        double error = std::fabs(factor) * lgs::error_bounds[from];
        sums.error_sum += error;
        error_mass[to] += error;
    }
    FileWeights Sums() const { return sums; }

private:
    std::vector<double>& error_mass;
    FileWeights sums;
};

// Adds the weights of one file to mprob.
FileWeights weigh_sojourn_times(std::FILE* file, const std::string& path, Weighing weighing)
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
    return weighing.Sums();
}

FileWeights weigh_chain_times(std::FILE* file, const std::string& path, Weighing weighing)
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
    return weighing.Sums();
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
    // (M dx - pi sum(M dx)) / s, bounded per state by M|dx| / s plus
    // pi times sum(M|dx|) / s.
    std::vector<double> error_mass(lgs::error_bounds.empty() ? 0 : n + 1, 0.0);
    double sum = 0.0, error_sum = 0.0;
    auto add = [&](FileWeights weights) {
        sum += weights.sum;
        error_sum += weights.error_sum;
    };
    std::string path = numbered_chain_file_name(lgs::model, "CONV", 0);
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        add(weigh_sojourn_times(file, path, Weighing(error_mass)));
        std::fclose(file);
    }
    for (unsigned number = 1;; ++number) {
        path = numbered_chain_file_name(lgs::model, "CONV", number);
        std::FILE* file = std::fopen(path.c_str(), "rb");
        if (!file) break;
        add(weigh_chain_times(file, path, Weighing(error_mass)));
        std::fclose(file);
    }
    if (sum == 0.0) fail_with_perror("\t\t SolveLGS: division by zero in function renormal()\n\n");

    double scale = 1.0 / sum;
    for (int i = 1; i <= n; ++i) pi_vector[i - 1] = lgs::mprob[i] * scale;
    pi_error.clear();
    if (!error_mass.empty()) {
        pi_error.resize(n);
        double shift = error_sum * scale;
        for (int i = 1; i <= n; ++i)
            pi_error[i - 1] = error_mass[i] * scale + pi_vector[i - 1] * shift;
    }
    write_probmark(n);
    if (SHOW_LGS) {
        std::printf("\n\n \t\t pi-vector : \n");
        for (int i = 0; i < n; ++i) std::printf("\t\t pi[%d] = %g\n", i, pi_vector[i]);
    }
}
