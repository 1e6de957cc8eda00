// Resolution of the vanishing markings of one successor, see
// VanishingResolver.h. The walks are those of HandleImmTransitions.cpp and
// VanishingGraph.cpp on nodes kept in vectors: a node's edges are added
// together when it is expanded, and listed newest first.
#include "statespace/VanishingResolver.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>

#include "foundation/Reporters.h"
#include "netmodel/EnablingSets.h"
#include "netmodel/NetArrays.h"
#include "netmodel/Transition.h"
#include "statedata/NetCounts.h"
#include "statespace/DependentTransitions.h"

namespace {

bool ActiveBindingEnabled(const Transition& t, short k)
{
    if (!t.IsActEnabled() || !t.GetBindings()) return false;
    const Binding* b = t.GetBindings()->GetLE(k);
    return b && b->IsActEnabled();
}

}  // namespace

// Resolutions that meet at most this many markings look them up one by one.
constexpr std::size_t kNodesComparedInTurn = 8;

// Resolutions that fire to more markings than this are left to the graph,
// and so is every loop.
constexpr std::size_t kShortMarkings = 16;

// Lists of the exclusive transitions to activate are kept for at most this
// many pairs of a transition and an immediate one.
constexpr std::size_t kMostPairLists = 1 << 14;

// Flat forms longer than this cost more to copy at each firing than the
// places take to load.
constexpr std::size_t kMaxFlatWords = 512;

void VanishingResolver::Prepare(bool withVectors)
{
    flatWithVectors = withVectors;
    firedContents.Prepare();
    unbounded = NoPlaceBounded();
    plain.Compile(kMaxFlatWords);
    onCounts = plain.Usable() && plain.ExclusivesUsable();
    successorFlat.resize(plain.Words());
    flatTo.resize(plain.Words());
    // Room for one more marking than the short way keeps.
    shortWords.resize((kShortMarkings + 1) * plain.Words());
    aloneCandidates.assign(no_of_imm_transitions, {});
    for (unsigned short i = 0; i < no_of_imm_transitions; ++i) {
        const unsigned short alone[] = {i};
        const std::vector<unsigned short>& dependents = DependentImmediates(ImmTrans[i]->GetNo());
        std::set_union(std::begin(alone), std::end(alone), dependents.begin(), dependents.end(),
                       std::back_inserter(aloneCandidates[i]));
    }
    immediateFired.assign(no_of_imm_transitions, false);
    firedImmediates.clear();
    keptOrders = BindingsKeptOutOfOrder();
    keptChanges.resize(no_of_imm_transitions);
    immBits.resize(no_of_imm_transitions);
    for (unsigned short i = 0; i < no_of_imm_transitions; ++i) {
        const int transNo = ImmTrans[i]->GetNo();
        keptChanges[i] = KeptChange{ImmChangedBy(transNo), InfChangedBy(transNo)};
        immBits[i] = ImmBit(i);
    }
    const std::size_t pairs = std::size_t{no_of_trans} * no_of_imm_transitions;
    pairLists.assign(pairs <= kMostPairLists ? pairs : 0, {});
    pairKnown.assign(pairLists.size(), false);
}

// Most resolutions fire a single immediate transition: the lists for that
// and the timed transition fired are kept once made, where the table of
// such pairs is small.
const std::vector<DependentExclusive>& VanishingResolver::ExclusivesToActivate(int transNo)
{
    if (firedImmediates.size() == 1 && !pairLists.empty()) {
        const std::size_t pair =
            static_cast<std::size_t>(transNo - 1) * no_of_imm_transitions + firedImmediates[0];
        if (!pairKnown[pair]) {
            pairKnown[pair] = true;
            pairLists[pair] = ExclusivesToActivateAfter(transNo);
        }
        return pairLists[pair];
    }
    return ExclusivesToActivateAfter(transNo);
}

const std::vector<DependentExclusive>& VanishingResolver::ExclusivesToActivateAfter(int transNo)
{
    MergeDependents(DependentExclusives(transNo), FiredDependents(), toActivate);
    return toActivate;
}

// Merged list by list: a resolution fires few immediate transitions, and
// their lists are short against the exclusive transitions of the net. Most
// fire one, whose list is the answer.
const std::vector<DependentExclusive>& VanishingResolver::FiredDependents()
{
    if (firedImmediates.size() == 1)
        return DependentExclusives(ImmTrans[firedImmediates[0]]->GetNo());
    if (firedDependentsKnown) return firedDependents;
    firedDependentsKnown = true;
    firedDependents.clear();
    for (unsigned short i : firedImmediates) {
        MergeDependents(firedDependents, DependentExclusives(ImmTrans[i]->GetNo()), merged);
        firedDependents.swap(merged);
    }
    return firedDependents;
}

// The vector is hashed as it is kept: its places' numbers, totals and
// entries, in order.
VanishingResolver::KeptVector VanishingResolver::Keep(const Pms& pms)
{
    KeptVector v{static_cast<std::uint32_t>(vectorPlaces.size()), 0,
                 static_cast<std::uint32_t>(vectorEntries.size()), 0, 0x9E3779B97F4A7C15ull};
    if (!pms.places) return v;
    v.placeCount = static_cast<std::uint32_t>(pms.size);
    std::uint64_t h = v.hash;
    auto mix = [&h](std::uint64_t x) {
        h = (h ^ x) * 0xBF58476D1CE4E5B9ull;
        h ^= h >> 31;
    };
    for (int k = 0; k < pms.size; ++k) {
        const MTms& m = pms.places[k];
        vectorPlaces.push_back(MTms{m.place, m.kinds, m.quant, nullptr});
        mix(static_cast<std::uint64_t>(static_cast<std::uint16_t>(m.place)) << 32 |
            static_cast<std::uint64_t>(static_cast<std::uint16_t>(m.kinds)) << 16 | m.quant);
        const int kinds = std::max<int>(m.kinds, 0);
        for (int e = 0; e < kinds; ++e) {
            const MTmsEntry& entry = m.entries[e];
            vectorEntries.push_back(entry);
            mix(static_cast<std::uint64_t>(static_cast<std::uint16_t>(entry.index)) << 16 | entry.quant);
        }
    }
    v.entryCount = static_cast<std::uint32_t>(vectorEntries.size()) - v.firstEntry;
    v.hash = h ^ (h >> 29);
    return v;
}

// Unhashed: most resolutions meet too few markings to look them up by
// hash (see NodeOf).
VanishingResolver::KeptVector VanishingResolver::KeepFlat(const std::uint16_t* flat)
{
    const std::size_t n = plain.Words();
    KeptVector v{0, 0, static_cast<std::uint32_t>(flatWords.size()), static_cast<std::uint32_t>(n), 0};
    flatWords.insert(flatWords.end(), flat, flat + n);
    return v;
}

// Four counts are mixed at a time.
std::uint64_t VanishingResolver::FlatHash(const KeptVector& v) const
{
    const std::size_t n = v.entryCount;
    const std::uint16_t* flat = flatWords.data() + v.firstEntry;
    std::uint64_t h = 0x9E3779B97F4A7C15ull;
    auto mix = [&h](std::uint64_t x) {
        h = (h ^ x) * 0xBF58476D1CE4E5B9ull;
        h ^= h >> 31;
    };
    std::size_t k = 0;
    for (; k + 4 <= n; k += 4) {
        std::uint64_t four;
        std::memcpy(&four, flat + k, sizeof four);
        mix(four);
    }
    for (; k < n; ++k) mix(flat[k]);
    return h ^ (h >> 29);
}

bool VanishingResolver::SameVector(const KeptVector& a, const KeptVector& b) const
{
    if (a.hash != b.hash || a.placeCount != b.placeCount || a.entryCount != b.entryCount)
        return false;
    if (plain.Usable())
        return std::equal(flatWords.begin() + a.firstEntry,
                          flatWords.begin() + a.firstEntry + a.entryCount,
                          flatWords.begin() + b.firstEntry);
    for (std::uint32_t k = 0; k < a.placeCount; ++k) {
        const MTms& x = vectorPlaces[a.firstPlace + k];
        const MTms& y = vectorPlaces[b.firstPlace + k];
        if (x.place != y.place || x.kinds != y.kinds || x.quant != y.quant) return false;
    }
    for (std::uint32_t k = 0; k < a.entryCount; ++k) {
        const MTmsEntry& x = vectorEntries[a.firstEntry + k];
        const MTmsEntry& y = vectorEntries[b.firstEntry + k];
        if (x.index != y.index || x.quant != y.quant) return false;
    }
    return true;
}

Pms VanishingResolver::View(const KeptVector& v)
{
    if (v.placeCount == 0) return Pms{0, nullptr};
    MTmsEntry* entry = vectorEntries.data() + v.firstEntry;
    MTms* first = vectorPlaces.data() + v.firstPlace;
    for (std::uint32_t k = 0; k < v.placeCount; ++k) {
        first[k].entries = entry;
        entry += std::max<int>(first[k].kinds, 0);
    }
    return Pms{static_cast<short>(v.placeCount), first};
}

// A few nodes are compared one by one; beyond that they are indexed by
// hash, flat forms hashed from then on.
std::uint32_t VanishingResolver::NodeOf(const Fired& f, bool& found)
{
    if (!indexed && nodes.size() <= kNodesComparedInTurn) {
        for (std::uint32_t n = 1; n < nodes.size(); ++n)
            if (SameVector(nodes[n].vector, f.vector)) {
                found = true;
                return n;
            }
        found = false;
        nodes.push_back(Node{f.vector, 0.0, 0, 0, 0, 0, false, false, false});
        return static_cast<std::uint32_t>(nodes.size()) - 1;
    }
    KeptVector vector = f.vector;
    if (!indexed) {
        indexed = true;
        index.clear();
        if (plain.Usable())
            for (std::uint32_t n = 1; n < nodes.size(); ++n) nodes[n].vector.hash = FlatHash(nodes[n].vector);
    }
    if (plain.Usable()) vector.hash = FlatHash(vector);
    if (2 * (nodes.size() + 1) > index.size()) {
        std::size_t size = 64;
        while (size < 4 * (nodes.size() + 1)) size *= 2;
        index.assign(size, 0);
        std::size_t mask = index.size() - 1;
        for (std::uint32_t n = 1; n < nodes.size(); ++n) {
            std::size_t i = nodes[n].vector.hash & mask;
            while (index[i]) i = (i + 1) & mask;
            index[i] = n + 1;
        }
    }
    std::size_t mask = index.size() - 1;
    for (std::size_t i = vector.hash & mask;; i = (i + 1) & mask) {
        std::uint32_t slot = index[i];
        if (slot == 0) {
            found = false;
            nodes.push_back(Node{vector, 0.0, 0, 0, 0, 0, false, false, false});
            index[i] = static_cast<std::uint32_t>(nodes.size());
            return index[i] - 1;
        }
        if (SameVector(nodes[slot - 1].vector, vector)) {
            found = true;
            return slot - 1;
        }
    }
}

void VanishingResolver::Begin(const std::vector<unsigned short>& rootCandidates)
{
    nodes.clear();
    edges.clear();
    candidates.assign(rootCandidates.begin(), rootCandidates.end());
    vectorPlaces.clear();
    vectorEntries.clear();
    flatWords.clear();
    reached.clear();
    reachedNodes.clear();
    ForgetFired();
}

void VanishingResolver::ForgetFired()
{
    for (unsigned short i : firedImmediates) immediateFired[i] = false;
    firedImmediates.clear();
    firedDependentsKnown = false;
}

// The root is never looked up (a vanishing marking equal to it is a node of
// its own, as in the queue's elimination), so it keeps no vector.
void VanishingResolver::AddRoot(std::size_t candidateCount)
{
    indexed = false;
    nodes.push_back(Node{KeptVector{0, 0, 0, 0, 0}, 1.0, 0, 0, 0,
                         static_cast<std::uint32_t>(candidateCount), false, false, false});
    nodes[0].unknownInf = rootUnknownInf;
}

const std::vector<VanishingResolver::Reached>& VanishingResolver::Resolve(
    const Pms& pms, const short* ata, const std::vector<unsigned short>& rootCandidates,
    KeptOrderSet unknownInf)
{
    rootUnknownInf = unknownInf;
    if (plain.Usable() && (onCounts || !rootCandidates.empty())) {
        plain.Flatten(pms, successorFlat.data());
        successor = successorFlat.data();
        return ResolveSuccessorFlat(ata, rootCandidates);
    }
    Begin(rootCandidates);
    if (rootCandidates.empty()) return reached;
    AddRoot(rootCandidates.size());
    Expand(0, pms);
    return Finish(ata);
}

const std::vector<VanishingResolver::Reached>& VanishingResolver::ResolveFlat(
    const std::uint16_t* flat, const short* ata, const std::vector<unsigned short>& rootCandidates,
    KeptOrderSet unknownInf)
{
    rootUnknownInf = unknownInf;
    successor = flat;
    return ResolveSuccessorFlat(ata, rootCandidates);
}

const std::vector<VanishingResolver::Reached>& VanishingResolver::ResolveSuccessorFlat(
    const short* ata, const std::vector<unsigned short>& rootCandidates)
{
    // Nothing can fire: the successor is tangible, and the state of the
    // last resolution is cleared by the next one that fires.
    if (rootCandidates.empty()) {
        reached.clear();
        return reached;
    }
    if (keptOrders ? ResolveShort<true>(ata, rootCandidates) : ResolveShort<false>(ata, rootCandidates))
        return reached;
    Begin(rootCandidates);
    AddRoot(rootCandidates.size());
    ExpandFlat(0, successor);
    return Finish(ata);
}

// Where no vanishing marking is met twice, the graph is a tree but for its
// leaves, and its walks come down to this: each marking fired to takes the
// share weight / sum of its parent's value (the root's is 1), and the leaves
// are reached in the order of a walk that enters the markings fired from one
// in the order fired (Reach). A vanishing marking met again would have its
// change passed on, which is left to the graph, and so is a loop, which runs
// into the bound on the markings.
template <bool kKeptOrders>
bool VanishingResolver::ResolveShort(const short* ata,
                                     const std::vector<unsigned short>& rootCandidates)
{
    const std::size_t words = plain.Words();
    ForgetFired();
    reached.clear();
    reachedFlats.clear();
    reachedLast.clear();
    reachedTwice = 0;
    shortEnabled.clear();
    shortInner.clear();
    std::size_t slots = 0;  // in `shortWords`, each `words` long
    shortStack.assign(1, ShortMarking{0, 0, 0, 0, 1.0});
    if constexpr (kKeptOrders) shortSets.assign(1, NodeSets{0, rootUnknownInf});
    for (bool root = true; !shortStack.empty(); root = false) {
        // Read field by field: the marking was pushed a moment ago, one
        // field at a time, and a wide load across those stores would wait
        // for them to complete.
        const ShortMarking& top = shortStack.back();
        const ShortMarking m{top.slot, top.transition, top.firstEnabled, top.enabledCount, top.value};
        shortStack.pop_back();
        NodeSets sets{};
        if constexpr (kKeptOrders) {
            sets = shortSets.back();
            shortSets.pop_back();
        }
        const std::uint16_t* from = root ? successor : shortWords.data() + m.slot * words;
        const std::span<const unsigned short> enabledBefore =
            std::span<const unsigned short>(shortEnabled).subspan(m.firstEnabled, m.enabledCount);
        const std::span<const unsigned short> candidate =
            root ? std::span<const unsigned short>(rootCandidates)
                 : FirstCandidates(enabledBefore, m.transition, shortCandidates);
        std::uint16_t* to = shortWords.data() + slots * words;
        stepFired.clear();
        stepWeights.clear();
        bool more = false;
        const double sum = FireCandidates(
            from, candidate.data(), candidate.size(), sets.keptImm,
            [&] { return to + stepFired.size() * words; },
            [&](unsigned short i, double w) {
                more = slots + stepFired.size() == kShortMarkings;
                if (more) return false;
                stepFired.push_back(i);
                stepWeights.push_back(w);
                return true;
            });
        // What the graph reports, or copes with, is left to it.
        if (more) return false;
        if (stepFired.empty()) {
            // A leaf; the successor itself when it is the root.
            if (root) return true;
            if (!reachedFlats.empty()) {
                if (!ReachAgain<kKeptOrders>(from, m.value, sets.unknownInf, m.transition)) return false;
                continue;
            }
            reached.push_back(Reached{nullptr, nullptr, m.value, nullptr, sets.unknownInf});
            reachedFlats.push_back(from);
            if constexpr (kKeptOrders) reachedLast.push_back(m.transition);
            continue;
        }
        if (!(sum > 0.0) || !std::isfinite(sum)) return false;
        if (!root) {
            for (const std::uint16_t* other : shortInner)
                if (std::equal(from, from + words, other)) return false;
            shortInner.push_back(from);
        }
        const auto firstEnabled = static_cast<std::uint32_t>(shortEnabled.size());
        for (unsigned short i : stepFired)
            if (shortEnabled.size() == firstEnabled || shortEnabled.back() != i)
                shortEnabled.push_back(i);
        const auto enabledCount = static_cast<std::uint32_t>(shortEnabled.size()) - firstEnabled;
        const std::span<const unsigned short> enabled =
            std::span<const unsigned short>(shortEnabled).subspan(firstEnabled, enabledCount);
        NoteFired(enabled);
        for (std::size_t j = stepFired.size(); j-- > 0;)
            shortStack.push_back(ShortMarking{static_cast<std::uint32_t>(slots + j), stepFired[j],
                                              firstEnabled, enabledCount,
                                              (stepWeights[j] / sum) * m.value});
        if constexpr (kKeptOrders) {
            const KeptOrderSet enabledBits = EnabledBits(enabled);
            for (std::size_t j = stepFired.size(); j-- > 0;) {
                const unsigned short i = stepFired[j];
                shortSets.push_back(NodeSets{KeptAfter(enabledBits, i), sets.unknownInf | keptChanges[i].inf});
            }
        }
        slots += stepFired.size();
    }
    ViewFlats();
    RefreshAtas(ata);
    return true;
}

// A leaf of the short way after others, reached with `value` along its
// path. The graph adds the value of each further path to a leaf as Link
// does, and a sum of two is the same in either order, not one of three. It
// collects the leaves depth first, the newest edges first, and lists them
// the other way round: in the order of this walk, a leaf met twice where it
// was met last. The queue's set of a leaf is the one of the way it expands
// first, the newest: the one met last here. Meeting the leaf by the other
// way drops what that way's last firing drops.
template <bool kKeptOrders>
bool VanishingResolver::ReachAgain(const std::uint16_t* flat, double value, KeptOrderSet unknownInf,
                                   unsigned short i)
{
    const std::size_t words = plain.Words();
    for (std::size_t r = 0; r < reachedFlats.size(); ++r) {
        if (!std::equal(flat, flat + words, reachedFlats[r])) continue;
        if (reachedTwice >> r & 1) return false;
        value = reached[r].value + value;
        reached.erase(reached.begin() + static_cast<std::ptrdiff_t>(r));
        reachedFlats.erase(reachedFlats.begin() + static_cast<std::ptrdiff_t>(r));
        if constexpr (kKeptOrders) {
            unknownInf |= keptChanges[reachedLast[r]].inf;
            reachedLast.erase(reachedLast.begin() + static_cast<std::ptrdiff_t>(r));
        }
        const std::uint32_t below = (std::uint32_t{1} << r) - 1;
        reachedTwice = (reachedTwice & below) | (reachedTwice >> 1 & ~below);
        reachedTwice |= std::uint32_t{1} << reached.size();
        break;
    }
    reached.push_back(Reached{nullptr, nullptr, value, nullptr, unknownInf});
    reachedFlats.push_back(flat);
    if constexpr (kKeptOrders) reachedLast.push_back(i);
    return true;
}

// Those that fired where the marking was fired from, and those that the
// transition i fired to reach it may enable.
std::span<const unsigned short> VanishingResolver::MergedCandidates(
    std::span<const unsigned short> enabled, unsigned short i,
    std::vector<unsigned short>& room) const
{
    const std::vector<unsigned short>& dependents = DependentImmediates(ImmTrans[i]->GetNo());
    room.clear();
    std::set_union(enabled.begin(), enabled.end(), dependents.begin(), dependents.end(),
                   std::back_inserter(room));
    return room;
}

const std::vector<VanishingResolver::Reached>& VanishingResolver::Finish(const short* ata)
{
    if (nodes[0].edgeCount == 0) return reached;
    WalkAndExpand();
    Collect();
    ViewReached();
    RefreshAtas(ata);
    return reached;
}

// ChkAndFireImm: every enabled binding of the candidates, in class and
// binding order, then the links to the successors in the order fired.
void VanishingResolver::Expand(std::uint32_t n, const Pms& contents)
{
    nodes[n].expanded = true;
    InitRefPms(contents);
    double sum = 0.0;
    fired.clear();
    const KeptOrderSet kept = nodes[n].keptImm;
    for (std::uint32_t k = 0; k < nodes[n].candidateCount; ++k) {
        unsigned short i = candidates[nodes[n].firstCandidate + k];
        Transition& t = *ImmTrans[i];
        if (!t.IsActEnabled() || !t.GetBindings()) continue;
        if (kept != 0 && (kept & immBits[i]) != 0) {
            keptBindings.clear();
            for (PLElement<Binding>* e = t.GetBindings()->first; e; e = e->next) keptBindings.push_back(e->item);
            FireInKeptOrder(keptBindings.size(), [&](std::size_t j) {
                Binding& b = *keptBindings[j];
                const double w = b.ChkAndFireImm();
                if (w != 0.0) {
                    sum += w;
                    fired.push_back(Fired{Keep(firedContents.Make()), w, i});
                }
                b.CpyActToNew();
                return w != 0.0;
            });
            continue;
        }
        for (PLElement<Binding>* e = t.GetBindings()->first; e; e = e->next) {
            Binding& b = *e->item;
            double before = sum;
            double w = b.ChkAndFireImm();
            sum += w;
            if (sum != before) {
                const Pms& successor = firedContents.Make();
                fired.push_back(Fired{Keep(successor), w, i});
            }
            b.CpyActToNew();
        }
    }
    LinkFired(n, sum);
}

// ChkAndFireImm on counts: the same bindings in the same order, the same
// sum of weights.
void VanishingResolver::ExpandFlat(std::uint32_t n, const std::uint16_t* from)
{
    nodes[n].expanded = true;
    fired.clear();
    const double sum = FireCandidates(
        from, candidates.data() + nodes[n].firstCandidate, nodes[n].candidateCount, nodes[n].keptImm,
        [this] { return flatTo.data(); },
        [this](unsigned short i, double w) {
            fired.push_back(Fired{KeepFlat(flatTo.data()), w, i});
            return true;
        });
    LinkFired(n, sum);
}

void VanishingResolver::ExpandKept(std::uint32_t n)
{
    if (!plain.Usable()) {
        // Expand reads the view only to load it, before it keeps more.
        Expand(n, View(nodes[n].vector));
        return;
    }
    // Firing keeps more vectors in the same array: room for all it can
    // keep is made first, so that the node's own stays where it is.
    flatWords.reserve(flatWords.size() + plain.Words() * plain.ImmediateBindings());
    ExpandFlat(n, flatWords.data() + nodes[n].vector.firstEntry);
}

void VanishingResolver::LinkFired(std::uint32_t n, double sum)
{
    if (fired.empty()) return;
    if (sum <= 0.0) ImmErr(244, "ChkAndFireImm()", "division by zero");
    // The immediate transitions enabled here, for the candidates of the
    // vanishing markings first reached from here.
    enabledHere.clear();
    for (const Fired& f : fired)
        if (enabledHere.empty() || enabledHere.back() != f.transition)
            enabledHere.push_back(f.transition);
    NoteFired(enabledHere);
    const KeptOrderSet enabledBits = EnabledBits(enabledHere);
    nodes[n].firstEdge = static_cast<std::uint32_t>(edges.size());
    for (const Fired& f : fired) {
        bool found = false;
        std::uint32_t saved = NodeOf(f, found);
        const KeptChange& change = keptChanges[f.transition];
        if (found) {
            // The queue's set of a marking met again forgets the lists of
            // what fired here and what the firing drops; its own firings
            // follow it only if it is still to be expanded.
            Node& again = nodes[saved];
            again.unknownInf |= change.inf;
            if (!again.expanded) again.keptImm &= ~(enabledBits | change.imm);
            Link(sum, n, saved, f.weight);
            continue;
        }
        nodes[saved].keptImm = KeptAfter(enabledBits, f.transition);
        nodes[saved].unknownInf = nodes[n].unknownInf | change.inf;
        nodes[saved].value = f.weight;
        const std::span<const unsigned short> first =
            FirstCandidates(enabledHere, f.transition, shortCandidates);
        nodes[saved].firstCandidate = static_cast<std::uint32_t>(candidates.size());
        candidates.insert(candidates.end(), first.begin(), first.end());
        nodes[saved].candidateCount =
            static_cast<std::uint32_t>(candidates.size()) - nodes[saved].firstCandidate;
        Link(sum, n, saved, 0.0);
    }
}

// MakeDelay: a successor met before gains weight / sum of the parent's
// value (passed on to its descendants); a new one turns its own weight into
// that share. Only a successor met before can lead back to the parent: a
// new one has no edges yet.
void VanishingResolver::Link(double sum, std::uint32_t parent, std::uint32_t saved, double weight)
{
    double share;
    if (weight != 0.0) {
        LoopCheck(parent, saved);
        share = weight / sum;
        ChangeAllDelays(saved, nodes[saved].value + share * nodes[parent].value);
    } else {
        share = nodes[saved].value / sum;
        nodes[saved].value = share * nodes[parent].value;
    }
    edges.push_back(Edge{saved, DelayVal(share, kDelayImmediate).GetDelayVal()});
    ++nodes[parent].edgeCount;
}

// EndlessLoop: the parent among the successor and its descendants.
void VanishingResolver::LoopCheck(std::uint32_t parent, std::uint32_t saved)
{
    if (seen.size() < nodes.size()) seen.resize(2 * nodes.size(), 0);
    if (++stamp == 0) {
        std::fill(seen.begin(), seen.end(), 0);
        stamp = 1;
    }
    std::vector<std::uint32_t>& pending = walk;
    pending.assign(1, saved);
    while (!pending.empty()) {
        std::uint32_t n = pending.back();
        pending.pop_back();
        if (n == parent) ImmErr(147, "EndlessLoop()", "marking exists in own line");
        const Node& node = nodes[n];
        for (std::uint32_t k = node.edgeCount; k-- > 0;) {
            std::uint32_t t = edges[node.firstEdge + k].target;
            if (seen[t] != stamp) {
                seen[t] = stamp;
                pending.push_back(t);
            }
        }
    }
}

// Each path passes its own share of the change on, so a node reached along
// several paths receives each share in turn, in this order.
void VanishingResolver::ChangeAllDelays(std::uint32_t node, double value)
{
    struct Frame {
        std::uint32_t node;
        double old;
        double now;
        std::uint32_t left;  // edges still to pass, newest first
    };
    std::vector<Frame> stack;
    stack.push_back(Frame{node, nodes[node].value, value, nodes[node].edgeCount});
    nodes[node].value = value;
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.left == 0) {
            stack.pop_back();
            continue;
        }
        const Edge e = edges[nodes[top.node].firstEdge + --top.left];
        const double old = top.old, now = top.now;
        Node& t = nodes[e.target];
        double changed = t.value - old * e.share + now * e.share;
        stack.push_back(Frame{e.target, t.value, changed, t.edgeCount});
        t.value = changed;
    }
}

// Depth first from the root along the edges, newest first; enter(target)
// says whether the walk goes on into the target's edges.
template <class Enter>
void VanishingResolver::DepthFirst(Enter enter)
{
    std::vector<WalkFrame>& stack = walkFrames;
    stack.assign(1, WalkFrame{0, nodes[0].edgeCount});
    while (!stack.empty()) {
        WalkFrame& top = stack.back();
        if (top.left == 0) {
            stack.pop_back();
            continue;
        }
        std::uint32_t t = edges[nodes[top.node].firstEdge + --top.left].target;
        if (enter(t)) stack.push_back(WalkFrame{t, nodes[t].edgeCount});
    }
}

// CreateImmRG: every vanishing marking without edges is expanded when the
// walk enters it.
void VanishingResolver::WalkAndExpand()
{
    DepthFirst([this](std::uint32_t t) {
        if (nodes[t].edgeCount != 0) return false;
        if (!nodes[t].expanded) {
            ExpandKept(t);
        } else if (!plain.Usable()) {
            // A tangible marking met again is loaded again, as the queue's
            // elimination does: what the places hold afterwards decides the
            // capacity tests of the refreshed atas.
            InitRefPms(View(nodes[t].vector));
        }
        return true;
    });
}

// Reduce: each node with edges walked once, each leaf collected once; the
// results newest first, as edges are listed.
void VanishingResolver::Collect()
{
    DepthFirst([this](std::uint32_t t) {
        Node& node = nodes[t];
        if (node.edgeCount != 0) {
            if (node.walked) return false;
            node.walked = true;
            return true;
        }
        if (!node.collected) {
            node.collected = true;
            reached.push_back(Reached{nullptr, nullptr, node.value, nullptr, node.unknownInf});
            reachedNodes.push_back(t);
        }
        return false;
    });
    std::reverse(reached.begin(), reached.end());
    std::reverse(reachedNodes.begin(), reachedNodes.end());
}

// Nothing is kept any more: the views stay valid until the next Resolve.
void VanishingResolver::ViewReached()
{
    if (plain.Usable()) {
        reachedFlats.clear();
        for (std::uint32_t n : reachedNodes)
            reachedFlats.push_back(flatWords.data() + nodes[n].vector.firstEntry);
        ViewFlats();
        return;
    }
    reachedContents.resize(reached.size());
    for (std::size_t r = 0; r < reached.size(); ++r) {
        reachedContents[r] = View(nodes[reachedNodes[r]].vector);
        reached[r].pms = &reachedContents[r];
    }
}

// The reached markings' flat forms (`reachedFlats`) handed on, or read
// back as vectors.
void VanishingResolver::ViewFlats()
{
    if (onCounts && !flatWithVectors) {
        for (std::size_t r = 0; r < reached.size(); ++r) reached[r].flat = reachedFlats[r];
        return;
    }
    reachedContents.resize(reached.size());
    ViewFlatReached();
}

// The reached markings' vectors from their flat forms, into the arrays that
// hold kept vectors otherwise.
void VanishingResolver::ViewFlatReached()
{
    vectorPlaces.clear();
    vectorEntries.clear();
    std::vector<std::size_t>& firstPlace = reachedFirstPlace;
    firstPlace.resize(reached.size() + 1);
    for (std::size_t r = 0; r < reached.size(); ++r) {
        firstPlace[r] = vectorPlaces.size();
        plain.Unflatten(reachedFlats[r], vectorPlaces, vectorEntries);
    }
    firstPlace[reached.size()] = vectorPlaces.size();
    MTmsEntry* entry = vectorEntries.data();
    for (std::size_t r = 0; r < reached.size(); ++r) {
        const std::size_t count = firstPlace[r + 1] - firstPlace[r];
        MTms* first = count ? vectorPlaces.data() + firstPlace[r] : nullptr;
        for (std::size_t k = 0; k < count; ++k) {
            first[k].entries = entry;
            entry += std::max<int>(first[k].kinds, 0);
        }
        reachedContents[r] = Pms{static_cast<short>(count), first};
        reached[r].pms = &reachedContents[r];
        if (onCounts) reached[r].flat = reachedFlats[r];
    }
}

// CheckActTransArrays: an exclusive transition stays active across
// immediate firings only while its active binding stays enabled.
void VanishingResolver::RefreshAtas(const short* ata)
{
    if (!ata || no_of_exc_transitions == 0) return;
    atas.resize(reached.size() * no_of_exc_transitions);
    if (AtaRefreshByDependencies()) {
        RefreshDependentEntries(ata);
        return;
    }
    for (std::size_t r = 0; r < reached.size(); ++r) {
        // A bound is tested on the new contents, which must then keep what
        // the walk left there; without bounds both contents may take the
        // marking, and the places stay one vector that the next load only
        // has to change where it differs.
        if (unbounded)
            InitRefPms(*reached[r].pms);
        else
            InitActPms(*reached[r].pms);
        short* fresh = atas.data() + r * no_of_exc_transitions;
        for (unsigned short i = 0; i < no_of_exc_transitions; ++i) {
            fresh[i] = 0;
            if (ata[i] != 0 && ActiveBindingEnabled(*ExcTrans[i], ata[i])) fresh[i] = ata[i];
        }
    }
    for (std::size_t r = 0; r < reached.size(); ++r)
        reached[r].ata = atas.data() + r * no_of_exc_transitions;
}

// Where every active entry of the successor's ata is enabled in the
// successor (MakeNewAta saw to that), only a transition that an immediate
// transition fired since may disable can have lost its binding: the others
// keep their entries, and a reached marking whose entries are all of that
// kind is not loaded.
void VanishingResolver::RefreshDependentEntries(const short* ata)
{
    toTest.clear();
    for (const DependentExclusive& d : FiredDependents())
        if (d.mayDisable && ata[d.exclusive] != 0) toTest.push_back(d.exclusive);
    for (std::size_t r = 0; r < reached.size(); ++r) {
        short* fresh = atas.data() + r * no_of_exc_transitions;
        std::copy(ata, ata + no_of_exc_transitions, fresh);
        if (toTest.empty()) continue;
        const std::uint16_t* flat = reached[r].flat;
        if (!flat) InitRefPms(*reached[r].pms);
        for (unsigned short i : toTest) {
            const bool enabled = flat ? plain.ExclusiveActive(i, fresh[i], flat)
                                      : ActiveBindingEnabled(*ExcTrans[i], fresh[i]);
            if (!enabled) fresh[i] = 0;
        }
    }
    for (std::size_t r = 0; r < reached.size(); ++r)
        reached[r].ata = atas.data() + r * no_of_exc_transitions;
}
