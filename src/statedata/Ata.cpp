// Active transition arrays: one entry per exclusive transition (the active
// binding number, 0 for none). A null array reads as all zeros, but null and
// an explicit all-zero array are different states.
#include "statedata/BlockPool.h"
#include "statedata/Multiset.h"
#include "statedata/NetCounts.h"

#include <algorithm>

namespace {

// An array is preceded by its length, so that it is released with the size
// it was made with even if the net's count has changed since.
short* NewAta()
{
    auto* block = static_cast<short*>(AllocateBlock((no_of_exc_transitions + 1) * sizeof(short)));
    block[0] = static_cast<short>(no_of_exc_transitions);
    return block + 1;
}

}  // namespace

short* make_ata(const short* ata)
{
    if (!ata || no_of_exc_transitions == 0) return nullptr;
    short* copy = NewAta();
    std::copy_n(ata, no_of_exc_transitions, copy);
    return copy;
}

short* make_new_ata(const short* ata, short i, short v)
{
    if (no_of_exc_transitions == 0) return nullptr;
    short* copy = NewAta();
    if (ata)
        std::copy_n(ata, no_of_exc_transitions, copy);
    else
        std::fill_n(copy, no_of_exc_transitions, 0);
    if (i >= 0 && i < no_of_exc_transitions) copy[i] = v;
    return copy;
}

bool ata_eq(const short* a, const short* b)
{
    if (!a || !b) return a == b;
    return std::equal(a, a + no_of_exc_transitions, b);
}

void clear_ata(short*& ata)
{
    if (ata) ReleaseBlock(ata - 1, (ata[-1] + 1) * sizeof(short));
    ata = nullptr;
}
