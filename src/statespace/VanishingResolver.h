// The elimination of immediate transitions for explored markings: the
// vanishing markings reachable from a successor are built as a graph whose
// edges carry the branching probabilities (weight / sum of weights), and
// its tangible leaves, with the probability of reaching each, are the
// result. It follows HandleImmTransitions step by step (the same order of
// firings, of nodes, of the walks; the same arithmetic on the values and the
// same loop check) on storage of its own, reused from one successor to the
// next, and tests at each vanishing marking only the immediate transitions
// that can be enabled there: those enabled where it was first reached from,
// and those the transition fired to get there may enable. The vectors of
// the markings fired to are kept flat and compared as they are (hashed only
// once a resolution has met more than a few of them): a vanishing marking is
// expanded where it is kept, a tangible one is read back by copy, and
// nothing is encoded. Most resolutions on flat forms meet each vanishing
// marking once and each tangible one at most twice: those are walked as the
// tree they are, without the graph, which takes over where a vanishing
// marking is met again. Where the immediate transitions only
// move counts (PlainImmediates), the vanishing markings are kept in flat
// form and fired there, without loading them into the places; where the
// exclusive transitions' enabling is known on counts too, the reached
// markings' atas are refreshed there, and their flat forms are handed on
// for their activation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "netmodel/MarkingVectors.h"
#include "netmodel/PlainImmediates.h"
#include "statedata/Multiset.h"
#include "statespace/DependentTransitions.h"
#include "statespace/KeptBindingOrder.h"

class Binding;

class VanishingResolver {
public:
    // A tangible marking reached: its vector, its ata (the successor's,
    // refreshed for its contents), the probability of reaching it, and the
    // infinite-server transitions whose kept lists the firings that reached
    // it dropped, as the queue's enabling set of it has them.
    struct Reached {
        const Pms* pms;  // null where it has a flat form and no vector was asked for
        const short* ata;  // null when the successor has none
        double value;
        const std::uint16_t* flat;  // its flat form where OnCounts(), else null
        KeptOrderSet unknownInf;
    };

    // Once per generation, before the first resolution. Markings reached in
    // flat form get their vectors too only `withVectors`: reading a vector
    // back from the counts costs about as much as coding the marking.
    void Prepare(bool withVectors);

    // Resolves the successor with this vector and ata; `candidates` are the
    // immediate transitions (class indices, ascending) that may be enabled
    // in it, `unknownInf` the infinite-server transitions whose lists the
    // firing that made it dropped. Empty when the successor is tangible.
    // Valid until the next call.
    const std::vector<Reached>& Resolve(const Pms& pms, const short* ata,
                                        const std::vector<unsigned short>& candidates,
                                        KeptOrderSet unknownInf);
    // The same for a successor given in flat form (Counts() usable).
    const std::vector<Reached>& ResolveFlat(const std::uint16_t* flat, const short* ata,
                                            const std::vector<unsigned short>& candidates,
                                            KeptOrderSet unknownInf);
    // Whether markings are activated on their flat forms (ActivateOnCounts
    // with Counts()); then the last resolved successor's flat form, valid
    // until the next call of Resolve (ResolveFlat: as long as the flat form
    // it was given).
    bool OnCounts() const { return onCounts; }
    const PlainImmediates& Counts() const { return plain; }
    const std::uint16_t* SuccessorFlat() const { return successor; }

    // The exclusive transitions that may need activating in the markings the
    // last resolution reached, after a firing of transition number transNo:
    // those that depend on it or on an immediate transition fired in the
    // resolution (class indices, ascending), each one that may be enabled
    // where any of these firings may enable it. Every other one enabled
    // there was enabled, and so active, in the marking fired from, and is
    // still.
    const std::vector<DependentExclusive>& ExclusivesToActivate(int transNo);

private:
    // A vector kept in `vectorPlaces` and `vectorEntries`, its places'
    // entries one after the other; in flat form, `entryCount` words from
    // `firstEntry` in `flatWords`.
    struct KeptVector {
        std::uint32_t firstPlace;
        std::uint32_t placeCount;
        std::uint32_t firstEntry;
        std::uint32_t entryCount;
        std::uint64_t hash;
    };
    // The queue's enabling set of a marking, as far as the order of firings
    // goes: the immediate transitions that fire their kept lists, the
    // infinite-server ones whose lists are dropped.
    struct NodeSets {
        KeptOrderSet keptImm;
        KeptOrderSet unknownInf;
    };
    struct Node {
        KeptVector vector;  // (the root: none, never looked up)
        double value;
        std::uint32_t firstEdge;  // its edges, oldest first, in `edges`
        std::uint32_t edgeCount;
        std::uint32_t firstCandidate;  // in `candidates`
        std::uint32_t candidateCount;
        bool expanded;
        bool walked;
        bool collected;
        KeptOrderSet keptImm = 0;     // see NodeSets
        KeptOrderSet unknownInf = 0;
    };
    struct Edge {
        std::uint32_t target;
        double share;
    };
    struct Fired {
        KeptVector vector;
        double weight;
        unsigned short transition;  // class index
    };

    // Forgets the last resolution.
    void Begin(const std::vector<unsigned short>& rootCandidates);
    void AddRoot(std::size_t candidateCount);
    // Resolves the successor whose flat form is `successor`.
    const std::vector<Reached>& ResolveSuccessorFlat(const short* ata,
                                                     const std::vector<unsigned short>& candidates);
    // The same without the graph, where the markings reached are few, no
    // vanishing one is met twice and no tangible one three times: false,
    // with nothing answered, where the graph is needed.
    // Its sets (a Node's) are worked out only `kKeptOrders`, where they can
    // be other than empty.
    template <bool kKeptOrders>
    bool ResolveShort(const short* ata, const std::vector<unsigned short>& candidates);
    // Notes a leaf of the short way after others, reached by immediate
    // transition i with the set `unknownInf` (a Node's); false where the
    // graph is needed.
    template <bool kKeptOrders>
    bool ReachAgain(const std::uint16_t* flat, double value, KeptOrderSet unknownInf,
                    unsigned short i);
    // ChkAndFireImm on counts: every binding of `count` candidates from
    // `candidate`, in class and binding order, fired on `from` into slot(),
    // and take(transition, weight) for each that changes the sum of the
    // weights, until it returns false. The transitions in `kept` fire the
    // bindings the queue kept for them instead, every one, in their kept
    // order. The sum.
    template <class Slot, class Take>
    double FireCandidates(const std::uint16_t* from, const unsigned short* candidate,
                          std::size_t count, KeptOrderSet kept, Slot slot, Take take) const
    {
        double sum = 0.0;
        bool stop = false;
        for (std::size_t k = 0; k < count && !stop; ++k) {
            const unsigned short i = candidate[k];
            if (!plain.ImmediateMayFire(i, from)) continue;
            if (kept != 0 && (kept & immBits[i]) != 0) {
                FireInKeptOrder(plain.Bindings(i), [&](std::size_t b) {
                    if (stop) return true;
                    const double w = plain.Fire(i, b, from, slot());
                    if (w == 0.0) return false;
                    sum += w;
                    stop = !take(i, w);
                    return true;
                });
                continue;
            }
            for (std::size_t b = 0; b < plain.Bindings(i) && !stop; ++b) {
                const double before = sum;
                const double w = plain.Fire(i, b, from, slot());
                sum += w;
                if (sum != before) stop = !take(i, w);
            }
        }
        return sum;
    }
    // The candidates of a marking first reached by a firing of immediate
    // transition i from one where the immediate transitions `enabled`
    // (ascending) fired: in `aloneCandidates` or in `room`.
    std::span<const unsigned short> FirstCandidates(std::span<const unsigned short> enabled,
                                                    unsigned short i,
                                                    std::vector<unsigned short>& room) const
    {
        // Only i fired there in most cases.
        if (enabled.size() == 1) return aloneCandidates[i];
        return MergedCandidates(enabled, i, room);
    }
    std::span<const unsigned short> MergedCandidates(std::span<const unsigned short> enabled,
                                                     unsigned short i,
                                                     std::vector<unsigned short>& room) const;
    // Forgets, and notes, the immediate transitions fired in a resolution.
    void ForgetFired();
    // (In the order first fired.)
    void NoteFired(std::span<const unsigned short> transitions)
    {
        for (unsigned short i : transitions)
            if (!immediateFired[i]) {
                immediateFired[i] = true;
                firedImmediates.push_back(i);
            }
    }
    // The walks, once the root is expanded.
    const std::vector<Reached>& Finish(const short* ata);
    KeptVector Keep(const Pms& pms);
    KeptVector KeepFlat(const std::uint16_t* flat);
    std::uint64_t FlatHash(const KeptVector& v) const;
    bool SameVector(const KeptVector& a, const KeptVector& b) const;
    // The kept vector, valid until the next Keep.
    Pms View(const KeptVector& v);
    std::uint32_t NodeOf(const Fired& f, bool& found);
    // Fires the candidates of node n, whose vector is `contents`.
    void Expand(std::uint32_t n, const Pms& contents);
    // The same on the flat form `from` (not in `flatWords`).
    void ExpandFlat(std::uint32_t n, const std::uint16_t* from);
    // Expands node n from its kept vector.
    void ExpandKept(std::uint32_t n);
    // Links node n to what it fired (`fired`, weights summing to `sum`).
    void LinkFired(std::uint32_t n, double sum);
    void Link(double sum, std::uint32_t parent, std::uint32_t saved, double weight);
    void LoopCheck(std::uint32_t parent, std::uint32_t saved);
    void ChangeAllDelays(std::uint32_t node, double value);
    template <class Enter>
    void DepthFirst(Enter enter);
    void WalkAndExpand();
    void Collect();
    void ViewReached();
    void ViewFlats();
    void ViewFlatReached();
    void RefreshAtas(const short* ata);
    void RefreshDependentEntries(const short* ata);
    // The exclusive transitions depending on an immediate transition fired
    // in the resolution (class indices, ascending).
    const std::vector<DependentExclusive>& FiredDependents();
    // ExclusivesToActivate, made anew.
    const std::vector<DependentExclusive>& ExclusivesToActivateAfter(int transNo);

    std::vector<Node> nodes;
    std::vector<Edge> edges;
    std::vector<unsigned short> candidates;
    std::vector<Fired> fired;
    std::vector<std::uint32_t> index;  // node + 1 by the hash of its vector
    bool indexed = false;  // whether `index` holds the nodes
    std::vector<std::uint32_t> seen;   // visit stamps of the loop check
    std::vector<std::uint32_t> walk;
    // The walks' stack: a node and how many of its edges are still to pass.
    struct WalkFrame {
        std::uint32_t node;
        std::uint32_t left;
    };
    std::vector<WalkFrame> walkFrames;
    std::uint32_t stamp = 0;
    std::vector<Reached> reached;
    std::vector<std::uint32_t> reachedNodes;  // the node of each reached marking
    std::vector<short> atas;
    std::vector<MTms> vectorPlaces;
    std::vector<MTmsEntry> vectorEntries;
    std::vector<Pms> reachedContents;  // one per reached marking
    std::vector<std::size_t> reachedFirstPlace;
    std::vector<const std::uint16_t*> reachedFlats;  // where plain.Usable()
    // The short way: the immediate transition last fired to each marking
    // reached.
    std::vector<unsigned short> reachedLast;
    // The candidates of a marking reached by immediate transition i where
    // only i fired, by i.
    std::vector<std::vector<unsigned short>> aloneCandidates;
    // The short way: the markings fired to, `Words()` each; the lists of
    // the immediate transitions that fired where they were fired from; the
    // markings still to fire; one marking's firings.
    struct ShortMarking {
        std::uint32_t slot;                        // in `shortWords`
        unsigned short transition;                 // fired to reach it
        std::uint32_t firstEnabled, enabledCount;  // in `shortEnabled`
        double value;
    };
    std::vector<std::uint16_t> shortWords;
    std::vector<unsigned short> shortEnabled, shortCandidates;
    std::vector<ShortMarking> shortStack;
    std::vector<NodeSets> shortSets;  // beside shortStack, where the sets are worked out
    // The vanishing markings walked but the root, and whether each reached
    // marking was met twice.
    std::vector<const std::uint16_t*> shortInner;
    std::uint32_t reachedTwice = 0;  // by bit (kShortMarkings < 32)
    std::vector<unsigned short> stepFired;
    std::vector<double> stepWeights;
    NewContentsVector firedContents;
    // No place has a bound: an active binding's enabling then reads only the
    // actual contents.
    bool unbounded = false;
    PlainImmediates plain;
    bool onCounts = false;
    bool flatWithVectors = true;
    std::vector<std::uint16_t> flatWords;
    std::vector<std::uint16_t> successorFlat, flatTo;
    const std::uint16_t* successor = nullptr;
    std::vector<unsigned short> enabledHere;
    // The immediate transitions fired in the resolution, as flags and in
    // the order first fired.
    std::vector<bool> immediateFired;
    std::vector<unsigned short> firedImmediates;
    // FiredDependents, once asked for in a resolution; `merged` is room for
    // its merging, `toTest` the entries RefreshDependentEntries tests.
    std::vector<DependentExclusive> firedDependents, merged;
    std::vector<unsigned short> toTest;
    bool firedDependentsKnown = false;
    std::vector<DependentExclusive> toActivate;
    // ExclusivesToActivate where one immediate transition fired, by the
    // transition's number - 1 and the immediate one's class index, and
    // whether each is made.
    std::vector<std::vector<DependentExclusive>> pairLists;
    std::vector<bool> pairKnown;
    // What a firing of each immediate transition drops of the kept lists,
    // and its bit (KeptBindingOrder.h), by class index; the root's
    // dropped infinite-server lists; room for a kept list of bindings.
    struct KeptChange {
        KeptOrderSet imm, inf;
    };
    std::vector<KeptChange> keptChanges;
    std::vector<KeptOrderSet> immBits;
    KeptOrderSet rootUnknownInf = 0;
    bool keptOrders = false;  // BindingsKeptOutOfOrder()
    std::vector<Binding*> keptBindings;
    // The immediate transitions with kept lists in a marking first reached
    // by immediate transition i from one where those of `enabled` fired.
    KeptOrderSet KeptAfter(KeptOrderSet enabled, unsigned short i) const
    {
        return enabled & ~keptChanges[i].imm;
    }
    // The bits of the immediate transitions `enabled`.
    KeptOrderSet EnabledBits(std::span<const unsigned short> enabled) const
    {
        KeptOrderSet bits = 0;
        for (unsigned short i : enabled) bits |= immBits[i];
        return bits;
    }
};
