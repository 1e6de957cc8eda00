// Interning at firing time: the activation of the successor is worked out
// on the new contents, then the activated marking is interned.
#include "statespace/SuccessorLookup.h"

#include <vector>

#include "netmodel/EnablingSets.h"
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
    std::vector<short> inherited;
    std::vector<short> completed;
    short* ata = nullptr;
    DelayVal edge;
    unsigned key = 0;
};

constexpr std::size_t kBatch = 16;
std::vector<FiredSuccessor> batch;
std::size_t batched = 0;

// Looks the successor the new contents hold at: its vector, its activated
// array and the value of its edge. False when its activation cannot be told.
bool LookAt(FiredSuccessor& s, int transNo, const DelayVal& fired)
{
    s.vector.Make();
    s.ata = nullptr;
    if (const short* ata = SavedMarking->GetAta()) {
        s.inherited.assign(ata, ata + no_of_exc_transitions);
        if (RefreshAta(s.inherited.data(), static_cast<short>(transNo - 1)))
            s.ata = s.inherited.data();
    }
    double probability = 1.0;
    if (!ActivateOnNewContents(s.ata, transNo, s.completed, probability)) return false;
    // An activated successor is interned with the completed array, as its
    // one activation branch would be; that branch's value is combined with
    // the firing's.
    s.edge = fired;
    if (!s.completed.empty()) {
        s.ata = s.completed.data();
        DelayVal branch(probability, kDelayProbability);
        CheckAndCorrectDelayVal(fired, branch);
        s.edge = branch;
    }
    s.key = Marking::KeyOf(s.vector.Current(), s.ata);
    return true;
}

void Intern(const FiredSuccessor& s)
{
    Marking view = Marking::View(s.vector.Current(), s.ata);
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
