// LinkedEdge: the edges of the vanishing graphs that the elimination of
// immediate transitions builds and drops for every explored marking: a
// linked list per node, with the target's address, the transition number
// and the delay-type code packed in one word. The records come from a pool.
#pragma once

#include <cstdint>

#include "statedata/DelayVal.h"
#include "foundation/RecordPool.h"

// Ends the run when a target address does not fit the packed edge word (an
// address space wider than 47 bits, or a misaligned marking).
[[noreturn]] void UnpackableEdgeTarget(const void* target);

template <class M>
class StateTrans {
public:
    StateTrans(const DelayVal& d, M* target, StateTrans* following)
        : value(d.GetDelayVal()),
          packed(Address(target) | TransBits(d.GetTransNo()) | TypeBits(d.GetDelayType())),
          next(following)
    {
    }

    static void* operator new(std::size_t)
    {
        static_assert(sizeof(StateTrans) <= kRecordSize);
        return pool.Allocate();
    }
    static void operator delete(void* p) { pool.Release(p); }

    M* Target() const { return reinterpret_cast<M*>((packed & kAddressMask) << kAlignBits); }
    void SetTarget(M* target) { packed = (packed & ~kAddressMask) | Address(target); }

    double GetDelayVal() const { return value; }
    void SetDelayVal(double v) { value = DelayVal::Sanitize(v); }
    short GetTransNo() const { return static_cast<short>(packed >> kTransShift); }
    void SetTransNo(short t) { packed = (packed & ~kTransMask) | TransBits(t); }
    int GetDelayType() const { return static_cast<int>((packed & kTypeMask) >> kTypeShift); }
    void SetDelayType(int t) { packed = (packed & ~kTypeMask) | TypeBits(t); }

    operator DelayVal() const { return DelayVal(value, GetDelayType(), GetTransNo()); }
    // Value, type and transition number of d; the target stays.
    void SetDelay(const DelayVal& d)
    {
        value = d.GetDelayVal();
        packed = (packed & kAddressMask) | TransBits(d.GetTransNo()) | TypeBits(d.GetDelayType());
    }

    // Never destroyed: records may still be released while other statics
    // (the global stores) are torn down at exit.
    static constexpr std::size_t kRecordSize = sizeof(double) + 2 * sizeof(void*);
    static constinit inline RecordPool pool{kRecordSize, alignof(void*)};

private:
    // Word layout, low to high: the target address shifted right by its
    // alignment (44 bits), the delay-type code (4 bits), the transition
    // number (16 bits). User-space addresses stay below 2^47 on the 64-bit
    // platforms we run on, sanitizer builds included.
    static_assert(sizeof(void*) == 8, "edge records pack 64-bit addresses");
    static constexpr unsigned kAlignBits = 3;
    static constexpr unsigned kTypeShift = 44;
    static constexpr unsigned kTransShift = 48;
    static constexpr std::uint64_t kAddressMask = (std::uint64_t{1} << kTypeShift) - 1;
    static constexpr std::uint64_t kTypeMask = std::uint64_t{0xF} << kTypeShift;
    static constexpr std::uint64_t kTransMask = std::uint64_t{0xFFFF} << kTransShift;

    static std::uint64_t Address(M* target)
    {
        static_assert(alignof(M) >= (1u << kAlignBits));
        const auto raw = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(target));
        if (raw & ~(kAddressMask << kAlignBits)) UnpackableEdgeTarget(target);
        return raw >> kAlignBits;
    }
    static std::uint64_t TransBits(short t)
    {
        return std::uint64_t{static_cast<std::uint16_t>(t)} << kTransShift;
    }
    static std::uint64_t TypeBits(int t)
    {
        return std::uint64_t{static_cast<unsigned>(t) & 0xFu} << kTypeShift;
    }

    double value;
    std::uint64_t packed;

public:
    StateTrans* next;
};

class NPMarking;
using npstt = StateTrans<NPMarking>;

// Puts a new edge (copy of d, to target) at the front of the list.
template <class M>
void AddStt(StateTrans<M>*& list, M& target, const DelayVal& d)
{
    list = new StateTrans<M>(d, &target, list);
}

// Frees every edge of the list (not the targets).
template <class M>
void ClearStt(StateTrans<M>*& list)
{
    while (list) {
        StateTrans<M>* gone = list;
        list = gone->next;
        delete gone;
    }
}

// Frees every edge and, before it, its target with everything that target
// owns in turn. Only for temporary markings that own their targets.
template <class M>
void ClearSttTotal(StateTrans<M>*& list)
{
    while (list) {
        StateTrans<M>* gone = list;
        list = gone->next;
        if (M* target = gone->Target()) {
            target->ClearTotal();
            delete target;
        }
        delete gone;
    }
}
