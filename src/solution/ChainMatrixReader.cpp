// The EMC files hold the rows of the embedded chain's transition matrix P.
// The solvers work on A = (P - I) transposed: the first diagonal entry of a
// row of P is stored minus one, a row without one gets -1.0. Reading starts
// at file 00 (or 01 when 00 is absent) and stops at the first gap.
// The files are read twice: once to count the entries of every row of A,
// once to put each entry in its place. That costs a second pass over files
// the system has just written (mostly still cached) but holds the matrix
// once, without growth room and without the coordinates of a conversion.
#include "solution/ChainMatrixReader.h"

#include "foundation/RunState.h"
#include "solution/ChainFiles.h"
#include "solution/RowPointerForm.h"
#include "solution/SolveLGSState.h"
#include "solution/SolverAllocation.h"
#include "solution/SolverMessages.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace {

constexpr const char* kNoMatrixMemory = "\t\t SolveLGS : for matrix description\n\n";
constexpr const char* kChangedFiles =
    "\t\t fatal error occured in deriving row-pointer-format of emc-matrix; exiting\n";

// One entry of P - I: its row is the source state, its column the target.
struct StoredEntry {
    double value;
    int column;
    int row;
};

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

template <class Take>
void walk_row(ChainFileReader& reader, const std::string& path, int row, std::uint32_t count,
              bool listed, Take& take)
{
    bool has_diagonal = false;
    for (std::uint32_t k = 0; k < count; ++k) {
        double probability;
        std::uint32_t column;
        ChainFileReader::Result result = reader.ReadEntry(probability, column);
        if (result != ChainFileReader::kRecord) fail_on_read(path, result);
        require_state(path, column, lgs::toptan);
        if (listed) {
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
        take(StoredEntry{value, static_cast<int>(column), row});
    }
    if (!has_diagonal) take(StoredEntry{-1.0, row, row});
}

template <class Take>
void walk_file(std::FILE* file, const std::string& path, bool listed, Take& take)
{
    ChainFileReader reader(file);
    for (;;) {
        std::uint32_t row, count;
        ChainFileReader::Result result = reader.ReadHeader(row, count);
        if (result == ChainFileReader::kEnd) return;
        if (result != ChainFileReader::kRecord) fail_on_read(path, result);
        require_state(path, row, lgs::toptan);
        if (listed) {
            std::printf("\t\t ++++++++++> SolveLGS : P_row_header.entries_in_row   = %d\n",
                        static_cast<int>(count));
            std::printf("\t\t ++++++++++> SolveLGS : P_row_header.row_index    = %d\n",
                        static_cast<int>(row));
        }
        walk_row(reader, path, static_cast<int>(row), count, listed, take);
    }
}

// Hands every entry of P - I to take, in the order of the files; `listed`
// prints the files' records as they are read.
template <class Take>
void walk_chain_files(const char* model, bool listed, Take take)
{
    for (unsigned k = 0;; ++k) {
        std::string path = numbered_chain_file_name(model, "EMC", k);
        std::FILE* file = std::fopen(path.c_str(), "rb");
        if (!file) {
            if (k == 0) continue;
            break;
        }
        if (listed) std::printf("\t\t ++++++++++> SolveLGS : reading file  %s\n", path.c_str());
        walk_file(file, path, listed, take);
        std::fclose(file);
    }
}

// An entry of P - I lands at a place of A that has nothing to do with the
// last one's: its row's counter and its slot are each a miss of the cache,
// and of the address translation once A outgrows it (kanban N=6: 1.4 GB).
// Entries are therefore handled a batch at a time, the places of the whole
// batch fetched before any is used, so that the misses overlap instead of
// following one another.
constexpr int kBatchEntries = 64;

template <class Handle>
class Batches {
public:
    explicit Batches(Handle handle) : handle_(handle) {}
    void Take(const StoredEntry& s)
    {
        batch_[size_++] = s;
        if (size_ == kBatchEntries) Flush();
    }
    void Flush()
    {
        handle_(batch_, size_);
        size_ = 0;
    }

private:
    StoredEntry batch_[kBatchEntries];
    int size_ = 0;
    Handle handle_;
};

// The first pass: the entries of every row of A into ptr[1..n], the
// smallest target of every source into lgs::min_ci. Answers the entries.
long count_rows(const char* model, int* ptr)
{
    long entries = 0;
    Batches count([ptr](const StoredEntry* batch, int size) {
        for (int k = 0; k < size; ++k) __builtin_prefetch(&ptr[batch[k].column], 1);
        for (int k = 0; k < size; ++k) ++ptr[batch[k].column];
    });
    walk_chain_files(model, SHOW_LGS != 0, [&](const StoredEntry& s) {
        if (++entries >= INT_MAX) {
            errno = ENOMEM;
            fail_with_perror(kNoMatrixMemory);
        }
        count.Take(s);
        if (s.column < lgs::min_ci[s.row]) lgs::min_ci[s.row] = s.column;
        if (SHOW_LGS) {
            int e = static_cast<int>(entries);
            std::printf("\t\t ++++++++++> SolveLGS : x[0][%d]   = %g\n", e, s.value);
            std::printf("\t\t ++++++++++> SolveLGS : ix[0][%d]  = %d\n", e, s.column);
            std::printf("\t\t ++++++++++> SolveLGS : jx[0][%d]  = %d\n\n", e, s.row);
        }
    });
    count.Flush();
    return entries;
}

// The second pass: every entry at the next free place of its row of A, in
// the order of the files. The files are the system's own and unchanged
// since the first pass; a change would still only misplace entries, never
// write outside the arrays.
void fill_rows(const char* model, long entries, int* ptr, int* column, double* value)
{
    long filled = 0;
    Batches fill([=, &filled](const StoredEntry* batch, int size) {
        int at[kBatchEntries];
        for (int k = 0; k < size; ++k) __builtin_prefetch(&ptr[batch[k].column], 1);
        for (int k = 0; k < size; ++k) {
            at[k] = ptr[batch[k].column]++;
            __builtin_prefetch(&value[at[k]], 1);
            __builtin_prefetch(&column[at[k]], 1);
        }
        for (int k = 0; k < size; ++k) {
            if (++filled > entries || at[k] > entries) fail_on_stdout("%s", kChangedFiles);
            value[at[k]] = batch[k].value;
            column[at[k]] = batch[k].row;
        }
    });
    walk_chain_files(model, false, [&fill](const StoredEntry& s) { fill.Take(s); });
    fill.Flush();
    if (filled != entries) fail_on_stdout("%s", kChangedFiles);
}

}  // namespace

void read_chain_rows(const char* model, double** a, int** ia, int** ja)
{
    int n = lgs::toptan;
    lgs::min_ci = allocate<int>(n + 1, kNoMatrixMemory);
    for (int i = 0; i <= n; ++i) lgs::min_ci[i] = n;
    lgs::abs_min = -1.0;
    *ia = static_cast<int*>(std::calloc(static_cast<std::size_t>(n) + 1, sizeof(int)));
    if (!*ia) fail_with_perror(kNoMatrixMemory);

    long entries = count_rows(model, *ia);
    rows_from_counts(n, *ia);
    *a = allocate<double>(entries + 1, kNoMatrixMemory);
    *ja = allocate<int>(entries + 1, kNoMatrixMemory);
    fill_rows(model, entries, *ia, *ja, *a);
    lgs::nonnull = static_cast<int>(entries);
    sum_repeated_columns(n, *ia, ja, a);
    if (lgs::abs_min < 0.0) lgs::abs_min = 0.0;
}

void print_p_matrix(const char* model)
{
    for (int stored = 0; stored < 2; ++stored) {
        std::printf(stored ? "\n\t\t renormaled P-Matrix : " : "\n\t\t P-Matrix : ");
        int previous_row = 0;  // none yet: states are 1..n
        bool diagonal_seen = false;
        walk_chain_files(model, false, [&](const StoredEntry& s) {
            if (s.row != previous_row) {
                std::printf("\n\t\t %d :", s.row);
                previous_row = s.row;
                diagonal_seen = false;
            }
            double value = s.value;
            if (s.column == s.row && !diagonal_seen) {
                diagonal_seen = true;
                if (!stored) value += 1.0;
            }
            std::printf(" (%d) %g", s.column, value);
        });
        std::printf("\n");
    }
}
