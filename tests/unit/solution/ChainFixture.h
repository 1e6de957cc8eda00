// A scratch TmpDir and HOME for the solver tests, with writers for the chain
// files and the per-user file, and the run of SolveLGS with captured output.
#pragma once

#include "foundation/RunState.h"
#include "solution/SolveLGS.h"

#include "ScratchHome.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

struct ChainRow {
    std::uint32_t row;
    std::vector<std::pair<double, std::uint32_t>> entries;  // (value, column)
};

// Reproducible pseudo-random numbers for irregular test chains.
struct TestRandom {
    std::uint32_t seed;
    std::uint32_t Next(std::uint32_t range)
    {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % range;
    }
};

class ChainFixture : public ScratchHome {
public:
    void SetUp() override
    {
        ScratchHome::SetUp();
        TmpDir = dir_.data();
        WritePlenar("");
    }

    std::string Path(const std::string& suffix) const { return dir_ + "/net" + suffix; }

    void WritePlenar(const std::string& text) const { Write("/.Plenar", text); }

    void WriteAux(int n) const { std::ofstream(Path(".AUX")) << "TANGIBLE MARKINGS " << n << "\n"; }

    // Rows in the EMC layout; also the layout of conversion files 01 on.
    void WriteRows(const std::string& suffix, const std::vector<ChainRow>& rows) const
    {
        std::FILE* f = std::fopen(Path(suffix).c_str(), "wb");
        for (const ChainRow& r : rows) {
            std::uint32_t header[2] = {r.row, static_cast<std::uint32_t>(r.entries.size())};
            std::fwrite(header, 4, 2, f);
            for (const auto& [value, column] : r.entries) {
                std::fwrite(&value, 8, 1, f);
                std::fwrite(&column, 4, 1, f);
            }
        }
        std::fclose(f);
    }

    // Conversion file 00: (sojourn time, state) records for states 1, 2, ...
    void WriteSojournTimes(const std::vector<double>& times) const
    {
        std::FILE* f = std::fopen(Path(".CONV00").c_str(), "wb");
        std::uint32_t state = 0;
        for (double t : times) {
            ++state;
            std::fwrite(&t, 8, 1, f);
            std::fwrite(&state, 4, 1, f);
        }
        std::fclose(f);
    }

    // Runs the solver and returns pi; the standard output is kept in `out`.
    std::vector<double> Solve(const char* mode, int maxiter = 100000, double epsilon = 1e-13)
    {
        testing::internal::CaptureStdout();
        SolveLGS(mode, "net", maxiter, epsilon);
        out = testing::internal::GetCapturedStdout();
        std::ifstream aux(Path(".AUX"));
        std::string word;
        int n = 0;
        aux >> word >> word >> n;
        return std::vector<double>(pi_vector, pi_vector + n);
    }

    std::string out;
};

// Runs a statement that ends the process with the solver's status 1.
#define EXPECT_SOLVER_EXIT(statement, pattern) EXPECT_REPORT_EXIT(statement, 1, pattern)
