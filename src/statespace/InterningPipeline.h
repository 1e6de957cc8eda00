// Interning of explored markings' successors, apart from their firing. A
// marking is explored (fired, its successors activated, vanishing ones
// resolved) in its turn; what the exploration finds goes to the store as
// requests, in order, while the next markings are explored: by a second
// thread where the machine has a second core, inline otherwise. The store
// and the edge lists end up exactly as the queue of pending successors
// leaves them: that queue is first-in first-out, so a marking's successors
// were handled right after those of the markings stored before it, and a
// marking was fired right after it was stored; the requests keep that
// order, and markings are explored in the order they are stored.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "statedata/DelayVal.h"
#include "statedata/FlatLayout.h"
#include "statedata/Multiset.h"
#include "statedata/PendingMarking.h"
#include "statespace/KeptBindingOrder.h"

class Marking;

// How a requested marking, if it is new, fires its infinite-server
// transitions of more than two bindings (KeptBindingOrder.h): those in
// `unknownInf` in binding order, the others in their kept order.
// `sameFiring`: the request is a further branch of the previous request's
// firing (another activation of the same successor). The queue explores the
// markings one firing stores one after the other with one enabling set,
// which the first one's exploration brings up to date: only the first is
// explored with `unknownInf`, the others with none.
struct InfOrder {
    KeptOrderSet unknownInf = 0;
    bool sameFiring = false;
};

// An entry whose handling waits until its intermediate marking (stored
// after a deterministic or general firing) is explored: the marking it
// leads to, the value of its edge and its InfOrder's set; `reached` for a
// tangible marking reached through immediate firings, whose exclusive
// transitions are activated only then.
struct DeferredEntry {
    PendingMarking marking;
    DelayVal delay;
    bool reached;
    KeptOrderSet unknownInf;
};
using DeferredEntries = std::vector<DeferredEntry>;

// Starts the interning of requests (on), or ends it and frees its storage.
void InternSuccessorsWhenFired(bool on);
bool InterningWhenFired();
// Whether the interning may have a thread of its own (where the machine has
// a second core); without, it runs inline, as on a machine with one core.
// Allowed unless said otherwise.
void AllowInterningThread(bool allowed);
// Where the second core is allowed and the net has neither deterministic
// nor general transitions, the exploration is shared with a helper process
// (ExplorationHelper.h) in batches of this many markings (256 unless said
// otherwise), while the interning runs inline.
void ShareExplorationInBatchesOf(std::size_t markings);
// The least time the generation waits for the helper's answer to a batch
// before it takes the batch back (a millisecond unless said otherwise).
void WaitForHelperAtLeast(std::chrono::microseconds least);
// How many markings of the last generation the helper explored, and how
// many of its batches were taken back because it fell behind.
std::size_t MarkingsExploredByHelper();
std::size_t HelperBatchesTakenBack();

// A stored marking to explore, with the infinite-server transitions it
// fires in binding order (InfOrder).
struct MarkingToExplore {
    Marking* marking;
    KeptOrderSet unknownInf;
};

// A marking stored (before the interning started) that is to be explored
// in its turn: one of the first markings, which the queue stored.
void QueueForExploring(Marking& stored, KeptOrderSet unknownInf);

// Requests that the marking with this vector and ata be interned with an
// edge from `source`. For an intermediate marking, `deferred` holds its
// entries (taken over): they are handled when it is explored, if it is new.
void RequestInterning(Marking& source, const Pms& pms, const short* ata, const DelayVal& edge,
                      InfOrder order, DeferredEntries* deferred = nullptr);
// The same for a marking given in flat form, that is not intermediate.
void RequestInterningFlat(Marking& source, const std::uint16_t* flat, const FlatLayout& layout,
                          const short* ata, const DelayVal& edge, InfOrder order);
// Hands the requests made so far to the interning.
void HandOverRequests();
// While set, a fatal report first has every request made so far interned
// and shown in the progress display: the failing successor's entry came
// after all of them.
void HandlingEntries(bool on);

// Explores the stored markings, in the order they are stored, until there
// are none left.
void FireInternedMarkings();
