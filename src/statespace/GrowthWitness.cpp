// The covering test on the path of each new marking. A marking can only
// cover an earlier one with more tokens in all its uncapped places together;
// the least such count along the path rules out most paths at once (every
// one of a net whose token count never grows).
#include "statespace/GrowthWitness.h"

#include <algorithm>
#include <cstring>

#include "statedata/Marking.h"
#include "statedata/NetCounts.h"

namespace {

// Markings whose source was not among the ones stored before (the start
// marking, outside the store); more of them mean the order the search
// relies on does not hold, and the witness gives up.
constexpr unsigned kMostMisses = 16;

bool SameAta(const short* a, const short* b)
{
    auto zero = [](const short* x) {
        return !x || std::all_of(x, x + no_of_exc_transitions, [](short v) { return v == 0; });
    };
    if (!a || !b) return zero(a) && zero(b);
    return std::memcmp(a, b, no_of_exc_transitions * sizeof(short)) == 0;
}

}  // namespace

std::uint32_t GrowthWitness::FreeTokens(const Pms& pms) const
{
    std::uint32_t n = 0;
    for (int i = 0; i < pms.size; ++i)
        if (kinds[pms.places[i].place] != PlaceGrowth::Capped) n += pms.places[i].quant;
    return n;
}

std::uint32_t GrowthWitness::SourceOf(const Marking& from)
{
    const std::uint32_t start = cursor;
    while (cursor < markings.size() && markings[cursor] != &from) ++cursor;
    if (cursor < markings.size()) return cursor;
    cursor = start;
    if (++misses > kMostMisses) Stop();
    return kNone;
}

// -1: `later` lacks tokens `earlier` has; 0: equal; 1: at least as many of
// every colour and more of some.
int GrowthWitness::ComparePlace(const MTms* later, const MTms* earlier) const
{
    const int n = later ? later->kinds : 0;
    const int m = earlier ? earlier->kinds : 0;
    bool more = false;
    int i = 0, j = 0;
    while (i < n || j < m) {
        if (j == m || (i < n && later->entries[i].index < earlier->entries[j].index)) {
            more = true;  // a colour the earlier marking has none of
            ++i;
        } else if (i == n || earlier->entries[j].index < later->entries[i].index) {
            return -1;
        } else {
            if (later->entries[i].quant < earlier->entries[j].quant) return -1;
            more = more || later->entries[i].quant > earlier->entries[j].quant;
            ++i;
            ++j;
        }
    }
    return more ? 1 : 0;
}

bool GrowthWitness::Covers(const Marking& later, const Marking& earlier,
                           GrowthFinding& finding) const
{
    // Contents are decoded on demand into a few slots: the vectors first,
    // the arrays only for a covering, when the vectors are done with.
    const Pms& a = later.GetPms();
    const Pms& b = earlier.GetPms();
    std::vector<int> growing;
    bool proof = true;
    int i = 0, j = 0;
    while (i < a.size || j < b.size) {
        const MTms* x = nullptr;
        const MTms* y = nullptr;
        if (j == b.size || (i < a.size && a.places[i].place < b.places[j].place))
            x = &a.places[i++];
        else if (i == a.size || b.places[j].place < a.places[i].place)
            y = &b.places[j++];
        else {
            x = &a.places[i++];
            y = &b.places[j++];
        }
        const int place = x ? x->place : y->place;
        const int order = ComparePlace(x, y);
        if (order < 0 || (order > 0 && kinds[place] == PlaceGrowth::Capped)) return false;
        if (order > 0) {
            growing.push_back(place);
            proof = proof && kinds[place] == PlaceGrowth::Free;
        }
    }
    if (growing.empty() || !SameAta(later.GetAta(), earlier.GetAta())) return false;
    finding.places = std::move(growing);
    finding.proof = proof;
    return true;
}

bool GrowthWitness::Note(const Marking& from, const Marking& stored, const Pms& pms,
                         GrowthFinding& finding)
{
    if (!active) return false;
    const std::uint32_t source = SourceOf(from);
    if (!active) return false;
    const std::uint32_t count = FreeTokens(pms);
    bool found = false;
    if (source != kNone && count > leastOnPath[source])
        for (std::uint32_t a = source; a != kNone && leastOnPath[a] < count; a = parent[a])
            if (tokens[a] < count && Covers(stored, *markings[a], finding)) {
                found = true;
                break;
            }
    markings.push_back(&stored);
    parent.push_back(source);
    tokens.push_back(count);
    leastOnPath.push_back(source == kNone ? count : std::min(count, leastOnPath[source]));
    if (markings.size() == kWindow) Stop();
    return found;
}

void GrowthWitness::Stop()
{
    active = false;
    std::vector<const Marking*>().swap(markings);
    for (std::vector<std::uint32_t>* v : {&parent, &tokens, &leastOnPath})
        std::vector<std::uint32_t>().swap(*v);
}
