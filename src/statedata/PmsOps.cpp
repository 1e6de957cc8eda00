// Sparse place multisets (MTms) and marking vectors (Pms): the one-block
// layout, copies, comparisons and the marking hash create_key.
#include "statedata/Multiset.h"

#include <algorithm>
#include <new>

#include "statedata/BlockPool.h"

namespace {

int EntryCount(const Pms& p)
{
    int n = 0;
    for (int i = 0; i < p.size; ++i) n += std::max<int>(p.places[i].kinds, 0);
    return n;
}

// Folds the top four bits of h back into its low bits.
unsigned Fold(unsigned h)
{
    unsigned g = h & 0xF0000000u;
    if (g != 0) {
        h ^= g >> 24;
        h ^= g;
    }
    return h;
}

template <class T>
int Order(T a, T b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

}  // namespace

MTmsEntry* alloc_pms(Pms& dst, int places, int entries)
{
    if (places <= 0) {
        dst = Pms{0, nullptr};
        return nullptr;
    }
    void* block = AllocateBlock(places * sizeof(MTms) + entries * sizeof(MTmsEntry));
    dst.size = static_cast<short>(places);
    dst.places = static_cast<MTms*>(block);
    return reinterpret_cast<MTmsEntry*>(dst.places + places);
}

void initpms(Pms& p)
{
    p = Pms{0, nullptr};
}

void clear_pms(Pms& p)
{
    if (p.places) ReleaseBlock(p.places, p.size * sizeof(MTms) + EntryCount(p) * sizeof(MTmsEntry));
    p = Pms{0, nullptr};
}

namespace {

void CopyEntries(const Pms& src, Pms& dst, MTmsEntry* room)
{
    for (int i = 0; i < src.size; ++i) {
        const MTms& m = src.places[i];
        int n = std::max<int>(m.kinds, 0);
        dst.places[i] = MTms{m.place, m.kinds, m.quant, room};
        room = std::copy_n(m.entries, n, room);
    }
}

}  // namespace

void copy_c_pms(const Pms& src, Pms& dst)
{
    if (&src == &dst) return;
    if (src.size <= 0 || !src.places) {
        dst = Pms{0, nullptr};
        return;
    }
    CopyEntries(src, dst, alloc_pms(dst, src.size, EntryCount(src)));
}

void copy_pms(const Pms& src, Pms& dst)
{
    copy_c_pms(src, dst);
}

void clear_mtms(MTms& m)
{
    delete[] m.entries;
    m.entries = nullptr;
    m.kinds = 0;
    m.quant = 0;
}

MTms* copy_mtms(const MTms* m)
{
    if (!m) return nullptr;
    int n = std::max<int>(m->kinds, 0);
    MTms* copy = new MTms{m->place, m->kinds, m->quant, n > 0 ? new MTmsEntry[n] : nullptr};
    std::copy_n(m->entries, n, copy->entries);
    return copy;
}

bool mtms_eq(const MTms& a, const MTms& b)
{
    if (a.place != b.place || a.kinds != b.kinds || a.quant != b.quant) return false;
    for (int k = 0; k < a.kinds; ++k)
        if (a.entries[k].index != b.entries[k].index || a.entries[k].quant != b.entries[k].quant)
            return false;
    return true;
}

bool pms_eq(const Pms& a, const Pms& b)
{
    if (a.size != b.size) return false;
    for (int i = 0; i < a.size; ++i)
        if (!mtms_eq(a.places[i], b.places[i])) return false;
    return true;
}

int comp_mtms(const MTms& a, const MTms& b)
{
    if (int c = Order(a.place, b.place)) return c;
    if (int c = Order(a.quant, b.quant)) return c;
    if (int c = Order(a.kinds, b.kinds)) return c;
    for (int k = 0; k < a.kinds; ++k) {
        if (int c = Order(a.entries[k].index, b.entries[k].index)) return c;
        if (int c = Order(a.entries[k].quant, b.entries[k].quant)) return c;
    }
    return 0;
}

int comp_pms(const Pms& a, const Pms& b)
{
    if (int c = Order(a.size, b.size)) return c;
    for (int i = 0; i < a.size; ++i)
        if (int c = comp_mtms(a.places[i], b.places[i])) return c;
    return 0;
}

// The key decides the bucket of a marking in the store, so every constant
// and the 32-bit wrap-around are part of the stored behaviour.
unsigned create_key(const Pms& p)
{
    if (p.size == 0 || !p.places) return 1;
    unsigned key = 0;
    for (int i = 0; i < p.size; ++i) {
        const MTms& m = p.places[i];
        unsigned h = 0;
        for (int k = 0; k < m.kinds; ++k) {
            h = (h << 4) + static_cast<unsigned>(static_cast<int>(m.entries[k].index)) +
                m.entries[k].quant;
            h = Fold(h);
        }
        unsigned factor = static_cast<unsigned>(m.place + m.kinds + m.quant + 65599);
        key = Fold((key << 4) + h * factor);
    }
    return key;
}
