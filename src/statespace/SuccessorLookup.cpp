// Interning at firing time: the activation of a successor is worked out on
// the new contents right after its firing, the activated marking is
// interned with the other successors of its source.
#include "statespace/SuccessorLookup.h"

#include <algorithm>
#include <vector>

#include "netmodel/MDMSet.h"
#include "netmodel/MarkingVectors.h"
#include "netmodel/PendingSuccessors.h"
#include "statespace/Activation.h"
#include "statespace/DelayCombination.h"
#include "statespace/GenerationState.h"
#include "statespace/MarkingInterning.h"
#include "statespace/SuccessorFiring.h"
#include "statespace/data/Marking.h"
#include "statespace/data/NetCounts.h"
#include "statespace/data/StateSpaceGlobals.h"

namespace {

bool internWhenFired = false;

// The successors of one marking are looked at as they are fired, and
// interned together afterwards, in firing order: the store is then asked
// for all of them at once, so that the memory it reads for one is fetched
// while the others are worked on.
struct FiredSuccessor {
    NewContentsVector vector;
    std::vector<short> ata;  // empty for no array
    DelayVal edge;
    unsigned key = 0;
};

short* Ata(FiredSuccessor& s)
{
    return s.ata.empty() ? nullptr : s.ata.data();
}

constexpr std::size_t kBatch = 16;
std::vector<FiredSuccessor> batch;
std::size_t batched = 0;

// Looks the successor the new contents hold at: its vector, its activated
// array and the value of its edge. False when its activation cannot be told.
bool LookAt(FiredSuccessor& s, int transNo, const DelayVal& fired)
{
    bool activated = false;
    double probability = 1.0;
    if (!SuccessorActivation(SavedMarking->GetAta(), transNo, s.ata, activated, probability))
        return false;
    s.vector.Make();
    // An array without entries is no array; an activated successor is
    // interned as its one activation branch would be, whose value is
    // combined with the firing's.
    s.edge = fired;
    if (activated) {
        DelayVal branch(probability, kDelayProbability);
        CheckAndCorrectDelayVal(fired, branch);
        s.edge = branch;
    } else if (std::all_of(s.ata.begin(), s.ata.end(), [](short v) { return v == 0; })) {
        s.ata.clear();
    }
    s.key = Marking::KeyOf(s.vector.Current(), Ata(s));
    return true;
}

void Intern(FiredSuccessor& s)
{
    Marking view = Marking::View(s.vector.Current(), Ata(s));
    view.SetKey(s.key);
    bool found = false;
    Marking* stored = MHash.Save(&view, found);
    if (found) {
        LinkToStored(*SavedMarking, *stored, s.edge);
    } else {
        SavedMarking->AddMarking(*stored, s.edge);
        GlobalMDMSetList.AddStoredSet(stored);
    }
}

}  // namespace

void InternSuccessorsWhenFired(bool on)
{
    internWhenFired = on;
    batched = 0;
    if (!on) return;
    batch.resize(kBatch);
    for (FiredSuccessor& s : batch) s.vector.Prepare();
}

bool InternFiredSuccessor(int transNo, const DelayVal& fired)
{
    if (!internWhenFired) return false;
    if (batched == kBatch) InternBatchedSuccessors();
    FiredSuccessor& s = batch[batched];
    if (!LookAt(s, transNo, fired)) return false;
    MHash.Prefetch(s.key, 0);
    ++batched;
    return true;
}

void InternBatchedSuccessors()
{
    for (int stage = 1; stage <= 2; ++stage)
        for (std::size_t k = 0; k < batched; ++k) MHash.Prefetch(batch[k].key, stage);
    for (std::size_t k = 0; k < batched; ++k) Intern(batch[k]);
    batched = 0;
}

void HandleStoredEntry(const MDMSet& entry)
{
    Marking& stored = *entry.GetStoredTarget();
    LoadPmsIncrementally(stored.GetPms());
    LastMDMSet = GlobalMDMSetList.GetLast();
    SavedMarking = &stored;
    short active = 0;
    FireExcTransitions(active);
}
