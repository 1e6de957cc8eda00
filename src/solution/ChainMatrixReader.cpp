// The EMC files hold the rows of the embedded chain's transition matrix P.
// They are gathered into one coordinate matrix of P - I: the first diagonal
// entry of a row is stored minus one, a row without one gets -1.0. Reading
// starts at file 00 (or 01 when 00 is absent) and stops at the first gap.
#include "solution/ChainMatrixReader.h"

#include "foundation/RunState.h"
#include "solution/ChainFiles.h"
#include "solution/SolveLGSState.h"
#include "solution/SolverMessages.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace {

constexpr const char* kNoMatrixMemory = "\t\t SolveLGS : for matrix description\n\n";

struct CoordinateMatrix {
    double** a;
    int** ia;
    int** ja;
    long capacity;
};

template <class T>
T* allocate(long count, const char* failure)
{
    T* p = static_cast<T*>(std::malloc(static_cast<std::size_t>(count) * sizeof(T)));
    if (!p) fail_with_perror(failure);
    return p;
}

template <class T>
void enlarge(T** array, long count, const char* failure)
{
    T* p = static_cast<T*>(std::realloc(*array, static_cast<std::size_t>(count) * sizeof(T)));
    if (!p) fail_with_perror(failure);
    *array = p;
}

// Geometric growth keeps the copying linear in the number of entries.
void make_room(CoordinateMatrix& m, long needed)
{
    if (needed <= m.capacity) return;
    if (needed >= INT_MAX) {
        errno = ENOMEM;
        fail_with_perror(kNoMatrixMemory);
    }
    long grown = std::min<long>(INT_MAX - 1, std::max(needed, m.capacity + m.capacity / 2));
    enlarge(m.a, grown + 1, "\t\t realloc\n\n");
    enlarge(m.ia, grown + 1, kNoMatrixMemory);
    enlarge(m.ja, grown + 1, kNoMatrixMemory);
    m.capacity = grown;
}

void store(CoordinateMatrix& m, double value, int column, int row)
{
    int e = lgs::nonnull + 1;
    make_room(m, e);
    (*m.a)[e] = value;
    (*m.ia)[e] = column;
    (*m.ja)[e] = row;
    lgs::nonnull = e;
    if (column < lgs::min_ci[row]) lgs::min_ci[row] = column;
    if (SHOW_LGS) {
        std::printf("\t\t ++++++++++> SolveLGS : x[0][%d]   = %g\n", e, value);
        std::printf("\t\t ++++++++++> SolveLGS : ix[0][%d]  = %d\n", e, column);
        std::printf("\t\t ++++++++++> SolveLGS : jx[0][%d]  = %d\n\n", e, row);
    }
}

void note_magnitude(double probability)
{
    double magnitude = std::fabs(probability);
    if (lgs::abs_min < 0.0 || magnitude < lgs::abs_min) lgs::abs_min = magnitude;
}

void fail_on_read(const std::string& path, ChainFileReader::Result result)
{
    if (result == ChainFileReader::kError)
        fail_on_stdout("\t\t can't read file '%s' !\n", path.c_str());
    fail_on_stderr("\t\t can't read file '%s' !\n", path.c_str());
}

void read_row(ChainFileReader& reader, const std::string& path, CoordinateMatrix& m, int row,
              std::uint32_t count)
{
    bool has_diagonal = false;
    for (std::uint32_t k = 0; k < count; ++k) {
        double probability;
        std::uint32_t column;
        ChainFileReader::Result result = reader.ReadEntry(probability, column);
        if (result != ChainFileReader::kRecord) fail_on_read(path, result);
        require_state(path, column, lgs::toptan);
        if (SHOW_LGS) {
            std::printf("\t\t ++++++++++> SolveLGS : P_row_entry.column_index  = %d\n",
                        static_cast<int>(column));
            std::printf("\t\t ++++++++++> SolveLGS : P_row_entry.probability   = %g\n\n",
                        probability);
        }
        note_magnitude(probability);
        double value = probability;
        // A second diagonal entry (two separate self-loops) keeps its plain
        // probability, so that the row still sums to P_ii - 1.
        if (static_cast<int>(column) == row && !has_diagonal) {
            value -= 1.0;
            has_diagonal = true;
        }
        store(m, value, static_cast<int>(column), row);
    }
    if (!has_diagonal) store(m, -1.0, row, row);
}

void read_emc_file(std::FILE* file, const std::string& path, CoordinateMatrix& m)
{
    ChainFileReader reader(file);
    for (;;) {
        std::uint32_t row, count;
        ChainFileReader::Result result = reader.ReadHeader(row, count);
        if (result == ChainFileReader::kEnd) return;
        if (result != ChainFileReader::kRecord) fail_on_read(path, result);
        require_state(path, row, lgs::toptan);
        if (SHOW_LGS) {
            std::printf("\t\t ++++++++++> SolveLGS : P_row_header.entries_in_row   = %d\n",
                        static_cast<int>(count));
            std::printf("\t\t ++++++++++> SolveLGS : P_row_header.row_index    = %d\n",
                        static_cast<int>(row));
        }
        read_row(reader, path, m, static_cast<int>(row), count);
    }
}

}  // namespace

void read_p_matrix(const char* model, double** a, int** ia, int** ja)
{
    int n = lgs::toptan;
    CoordinateMatrix m{a, ia, ja, std::max(n, 1)};
    *a = allocate<double>(m.capacity + 1, kNoMatrixMemory);
    *ia = allocate<int>(m.capacity + 1, kNoMatrixMemory);
    *ja = allocate<int>(m.capacity + 1, kNoMatrixMemory);
    lgs::min_ci = allocate<int>(n + 1, kNoMatrixMemory);
    for (int i = 0; i <= n; ++i) lgs::min_ci[i] = n;
    lgs::nonnull = 0;
    lgs::abs_min = -1.0;

    for (unsigned k = 0;; ++k) {
        std::string path = numbered_chain_file_name(model, "EMC", k);
        std::FILE* file = std::fopen(path.c_str(), "rb");
        if (!file) {
            if (k == 0) continue;
            break;
        }
        if (SHOW_LGS) std::printf("\t\t ++++++++++> SolveLGS : reading file  %s\n", path.c_str());
        read_emc_file(file, path, m);
        std::fclose(file);
    }
    if (lgs::abs_min < 0.0) lgs::abs_min = 0.0;
}

void print_p_matrix(const double* a, const int* ia, const int* ja)
{
    for (int stored = 0; stored < 2; ++stored) {
        std::printf(stored ? "\n\t\t renormaled P-Matrix : " : "\n\t\t P-Matrix : ");
        bool diagonal_seen = false;
        for (int e = 1; e <= lgs::nonnull; ++e) {
            if (e == 1 || ja[e] != ja[e - 1]) {
                std::printf("\n\t\t %d :", ja[e]);
                diagonal_seen = false;
            }
            double value = a[e];
            if (ia[e] == ja[e] && !diagonal_seen) {
                diagonal_seen = true;
                if (!stored) value += 1.0;
            }
            std::printf(" (%d) %g", ia[e], value);
        }
        std::printf("\n");
    }
}
