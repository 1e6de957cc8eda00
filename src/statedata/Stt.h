// State transitions: the edges of the graph. Large graphs hold hundreds of
// millions of them, so an edge is 8 bytes: the id of its target marking and
// the number of its delay value among the distinct ones (EdgeLabels). The
// edges of one marking lie side by side in the edge arena in the order they
// were added; the list order, newest first, walks them backwards.
#pragma once

#include <cstdint>

#include "statedata/DelayVal.h"
#include "statedata/EdgeLabels.h"

class Marking;

class stt {
public:
    stt(const DelayVal& d, Marking* target);
    stt(const DelayVal& d, std::uint32_t targetId) : target(targetId), label(EdgeLabels::Intern(d)) {}

    // Null for an edge without target.
    Marking* Target() const;
    void SetTarget(Marking* target);

    double GetDelayVal() const { return Label().GetDelayVal(); }
    short GetTransNo() const { return Label().GetTransNo(); }
    int GetDelayType() const { return Label().GetDelayType(); }
    void SetDelayVal(double v);
    void SetTransNo(short t);
    void SetDelayType(int t);
    // Value, type and transition number of d; the target stays.
    void SetDelay(const DelayVal& d) { label = EdgeLabels::Intern(d); }
    operator DelayVal() const { return Label(); }

    static constexpr std::uint32_t kNoTarget = 0xFFFFFFFFu;

private:
    const DelayVal& Label() const { return EdgeLabels::At(label); }

    std::uint32_t target;
    std::uint32_t label;
};

// A position in the edge list of a marking, null past its end: the list
// order runs from the newest edge back to the oldest.
class EdgeCursor {
public:
    EdgeCursor() = default;
    EdgeCursor(stt* oldest, std::uint32_t count) : at(count ? oldest + count - 1 : nullptr), first(oldest) {}

    explicit operator bool() const { return at != nullptr; }
    stt* operator->() const { return at; }
    stt& operator*() const { return *at; }
    // The following edge of the list.
    EdgeCursor Next() const { return EdgeCursor(at == first ? nullptr : at - 1, first, 0); }
    bool operator==(const EdgeCursor& o) const { return at == o.at; }

private:
    EdgeCursor(stt* position, stt* oldest, int) : at(position), first(oldest) {}
    stt* at = nullptr;
    stt* first = nullptr;
};

// The edges of a marking in list order, for range loops.
class EdgeRange {
public:
    EdgeRange(stt* oldest, std::uint32_t count) : oldest(oldest), count(count) {}
    struct Iterator {
        stt* oldest;
        std::uint32_t left;  // edges from here back to the oldest
        stt& operator*() const { return oldest[left - 1]; }
        Iterator& operator++()
        {
            --left;
            return *this;
        }
        bool operator!=(const Iterator& o) const { return left != o.left; }
    };
    Iterator begin() const { return Iterator{oldest, count}; }
    Iterator end() const { return Iterator{oldest, 0}; }

private:
    stt* oldest;
    std::uint32_t count;
};
