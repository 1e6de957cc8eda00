// Rows of the embedded Markov chain for the exponential markings: a marking
// left at the total rate q goes to each target with probability rate / q and
// stays 1 / q on average. Consecutive edges to the same target are merged
// into one entry; edges to one target that are not adjacent stay separate
// entries, which the solver then has to accept or reject.
#include "solution/ExpChainFiles.h"

#include "foundation/ChainModelName.h"
#include "foundation/Reporters.h"
#include "foundation/RunState.h"
#include "solution/ChainFileWriter.h"
#include "solution/ChainFiles.h"
#include "statedata/GraphQueries.h"
#include "statedata/StateSpaceGlobals.h"

#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

// Where the failures of this file are reported.
enum SourceLine : int {
    kOpenEmcLine = 125,
    kOpenConvLine = 128,
    kZeroSumLine = 138,
    kRowHeaderLine = 149,
    kConvRecordLine = 152,
    kRowEntryLine = 177,
    kOpenAuxLine = 195,
    kWriteAuxLine = 196,
};

const char* const kWriteFunction = "WriteFilesForMExp()";

struct RowEntry {
    double probability;
    std::uint32_t column;
};

[[noreturn]] void CantWrite(int line, const ChainFileWriter& file)
{
    ATTError(line, kWriteFunction, "can't write to file", file.Path().c_str());
}

void OpenForWriting(ChainFileWriter& file, const std::string& path, int line)
{
    if (!file.Open(path))
        ATTError(line, kWriteFunction, "can't open file for writing", path.c_str());
}

// The entries of m's row: one per run of consecutive edges to one target.
void CollectRow(const Marking& m, double factor, std::vector<RowEntry>& row)
{
    row.clear();
    EdgeCursor s = m.GetStt();
    while (s) {
        if (!s->Target()) {
            s = s.Next();
            continue;
        }
        const Marking* target = s->Target();
        double probability = 0.0;
        for (; s && s->Target() == target; s = s.Next()) probability += s->GetDelayVal() * factor;
        row.push_back({probability, target->GetKey()});
    }
}

// The rows go out in the order of the list, but the markings they name lie
// all over the store: the records of the next row's targets are fetched
// while this row is written, and the marking record after that one too.
void FetchAhead(const PLElement<Marking>* e)
{
    const PLElement<Marking>* next = e->next;
    if (!next) return;
    if (next->next) __builtin_prefetch(next->next->item);
    for (const stt& s : next->item->Edges())
        if (const Marking* target = s.Target()) __builtin_prefetch(target);
}

}  // namespace

void WriteFilesForMExp()
{
    std::string model = ChainModelName();
    ChainFileWriter emc;
    ChainFileWriter conv;
    OpenForWriting(emc, numbered_chain_file_name(model.c_str(), "EMC", 0), kOpenEmcLine);
    OpenForWriting(conv, numbered_chain_file_name(model.c_str(), "CONV", 0), kOpenConvLine);

    std::vector<RowEntry> row;
    for (PLElement<Marking>* e = MLists.exp_markings.first; e; e = e->next) {
        FetchAhead(e);
        const Marking& m = *e->item;
        double sum = GetSumOfRates(m);
        if (sum == 0.0)
            ATTError(kZeroSumLine, kWriteFunction, "division by zero", "sum of rates is zero");
        double factor = 1.0 / sum;
        CollectRow(m, factor, row);

        std::uint32_t state = m.GetKey();
        if (!emc.WriteHeader(state, static_cast<std::uint32_t>(row.size())))
            CantWrite(kRowHeaderLine, emc);
        if (!conv.WriteEntry(factor, state)) CantWrite(kConvRecordLine, conv);
        for (const RowEntry& entry : row)
            if (!emc.WriteEntry(entry.probability, entry.column)) CantWrite(kRowEntryLine, emc);
    }
    if (!emc.Close()) CantWrite(kRowEntryLine, emc);
    if (!conv.Close()) CantWrite(kConvRecordLine, conv);
}

void WriteAux()
{
    std::string path = chain_file_name(ChainModelName().c_str(), ".AUX");
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (!file) ATTError(kOpenAuxLine, "WriteAux()", "can't open file", path.c_str());
    std::fprintf(file, "TANGIBLE MARKINGS %u\n", MCount[kCountTangible]);
    bool written = !std::ferror(file);
    if (std::fclose(file) != 0 || !written)
        ATTError(kWriteAuxLine, "WriteAux()", "can't write to file", path.c_str());
}
