// Loading marking vectors into the places and reading them back: the
// bridge between the stored markings and the place contents that enabling
// and firing work on. All work on PlaceArray.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "statedata/Multiset.h"

class Binding;
class PendingMarking;

// Loads a vector (ascending place order) into both contents of every place,
// or into the actual contents only; places without entry are emptied.
// Between StartLoadRun and EndLoadRun the caller guarantees that nothing but
// these loads changes the places for good (firings on the new contents are
// reset by CpyActToNew): a load then writes only the places whose contents
// differ from the vector loaded last.
void InitRefPms(const Pms& pms);
void InitActPms(const Pms& pms);
void StartLoadRun();
void EndLoadRun();
// The same for InitActPms alone: between these, the caller guarantees that
// nothing but InitActPms changes the actual contents, and a load writes only
// the places whose actual contents differ from the vector loaded last (a
// wide net's measures then cost per marking what its vectors hold, not
// what the net has).
void StartActLoadRun();
void EndActLoadRun();

// Builds the vector of the actual or the new contents. `pms` is overwritten
// without being released (clear it first if it holds a vector).
void MakeActPms(Pms& pms);
void MakeNewPms(Pms& pms);
// The vector of the new contents in storage of its own, for successors that
// are looked at, not kept: one pass over the places, no allocation.
class NewContentsVector {
public:
    // Sizes the storage for the places of the net (their slots are fixed
    // once the net is built).
    void Prepare();
    // MakeNewPms into the storage; valid until the next call.
    const Pms& Make();
    // The same where the new contents differ from `actual` (the vector both
    // contents held before) only on the places of fired's arcs: one pass
    // over `actual` and those places, however wide the net. The places kept
    // from `actual` share its entries: the vector is valid while `actual`
    // is unchanged, until the next call.
    const Pms& MakeAfter(const Pms& actual, const Binding& fired);
    const Pms& Current() const { return pms; }

private:
    // The places of a binding's arcs, ascending and distinct, found once per
    // binding (the arcs are fixed once the net is built): [begin, end) of
    // arcPlaces.
    struct ArcSpan {
        const Binding* binding;
        std::uint32_t begin;
        std::uint32_t end;
    };
    const ArcSpan& ArcPlacesOf(const Binding& fired);

    std::vector<MTms> places;
    std::vector<MTmsEntry> entries;
    std::vector<ArcSpan> spans;  // open addressing on the binding's address
    std::size_t spansUsed = 0;
    std::vector<int> arcPlaces;
    Pms pms{0, nullptr};
};

// A new marking of the new contents whose ata is MakeNewAta(ata, fired),
// after the firing of transition number transNo.
PendingMarking* MakeSuccessorMarking(const short* ata, int transNo);
// The same where both contents held `actual` before `fired` fired: only the
// places of its arcs are read from the new contents, however wide the net.
PendingMarking* MakeSuccessorMarking(const short* ata, int transNo, const Pms& actual,
                                     const Binding& fired);
