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
#include <cstdlib>

namespace {

constexpr const char* kReadFailure = "\t\t renormal: fread\n\n";

// Adds the weights of one file to mprob; returns their sum.
double weigh_sojourn_times(std::FILE* file, const std::string& path)
{
    ChainFileReader reader(file);
    double sum = 0.0;
    double factor;
    std::uint32_t state;
    ChainFileReader::Result result;
    while ((result = reader.ReadEntry(factor, state)) == ChainFileReader::kRecord) {
        require_state(path, state, lgs::toptan);
        double weight = factor * std::fabs(lgs::nprob[state]);
        sum += weight;
        lgs::mprob[state] += weight;
    }
    if (result != ChainFileReader::kEnd) fail_with_perror(kReadFailure);
    return sum;
}

double weigh_chain_times(std::FILE* file, const std::string& path)
{
    ChainFileReader reader(file);
    double sum = 0.0;
    std::uint32_t row, count;
    ChainFileReader::Result result;
    while ((result = reader.ReadHeader(row, count)) == ChainFileReader::kRecord) {
        require_state(path, row, lgs::toptan);
        double visits = std::fabs(lgs::nprob[row]);
        for (std::uint32_t k = 0; k < count; ++k) {
            double time;
            std::uint32_t state;
            if (reader.ReadEntry(time, state) != ChainFileReader::kRecord)
                fail_with_perror(kReadFailure);
            require_state(path, state, lgs::toptan);
            double weight = visits * time;
            sum += weight;
            lgs::mprob[state] += weight;
        }
    }
    if (result != ChainFileReader::kEnd) fail_with_perror(kReadFailure);
    return sum;
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

    double sum = 0.0;
    std::string path = numbered_chain_file_name(lgs::model, "CONV", 0);
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        sum += weigh_sojourn_times(file, path);
        std::fclose(file);
    }
    for (unsigned number = 1;; ++number) {
        path = numbered_chain_file_name(lgs::model, "CONV", number);
        std::FILE* file = std::fopen(path.c_str(), "rb");
        if (!file) break;
        sum += weigh_chain_times(file, path);
        std::fclose(file);
    }
    if (sum == 0.0) fail_with_perror("\t\t SolveLGS: division by zero in function renormal()\n\n");

    double scale = 1.0 / sum;
    for (int i = 1; i <= n; ++i) pi_vector[i - 1] = lgs::mprob[i] * scale;
    write_probmark(n);
    if (SHOW_LGS) {
        std::printf("\n\n \t\t pi-vector : \n");
        for (int i = 0; i < n; ++i) std::printf("\t\t pi[%d] = %g\n", i, pi_vector[i]);
    }
}
