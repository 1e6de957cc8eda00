// Marking vectors from and into the place contents.
#include "netmodel/MarkingVectors.h"

#include <algorithm>
#include <climits>
#include <utility>
#include <vector>

#include "netmodel/Binding.h"
#include "netmodel/EnablingSets.h"
#include "netmodel/NetArrays.h"
#include "netmodel/Place.h"
#include "statedata/PendingMarking.h"
#include "statedata/NetCounts.h"

namespace {

template <class Load, class Empty>
void LoadPlaces(const Pms& pms, Load load, Empty empty)
{
    int j = 0;
    for (int i = 0; i < no_of_places; ++i) {
        Place* p = PlaceArray[i];
        if (j < pms.size && pms.places && pms.places[j].place == i)
            load(*p, pms.places[j++]);
        else
            empty(*p);
    }
}

template <class Contents>
void FillFromPlaces(Pms& pms, Contents contents)
{
    fill_pms(pms, no_of_places, [contents](int i) {
        Place* p = PlaceArray[i];
        return std::pair<int, const PTms*>(p->GetNo(), contents(*p));
    });
}

}  // namespace

namespace {

void LoadAll(const Pms& pms)
{
    LoadPlaces(
        pms, [](Place& p, const MTms& m) { p.InitPTms(m); }, [](Place& p) { p.Init(); });
}

}  // namespace

namespace {

// The vector the places hold, copied with its entries, while a load run is on.
struct LoadedVector {
    bool running = false;
    bool valid = false;
    std::vector<MTms> places;
    std::vector<MTmsEntry> entries;

    void Remember(const Pms& pms)
    {
        int n = pms.places ? pms.size : 0;
        places.resize(n);
        std::size_t total = 0;
        for (int k = 0; k < n; ++k) total += std::max<int>(pms.places[k].kinds, 0);
        if (entries.size() < total) entries.resize(total);
        MTmsEntry* room = entries.data();
        for (int k = 0; k < n; ++k) {
            const MTms& m = pms.places[k];
            int kinds = std::max<int>(m.kinds, 0);
            places[k] = MTms{m.place, m.kinds, m.quant, room};
            for (int e = 0; e < kinds; ++e) *room++ = m.entries[e];
        }
        valid = true;
    }
    void Run(bool on)
    {
        running = on;
        valid = false;
    }
};

LoadedVector loaded;     // the vector of both contents, in a load run
LoadedVector loadedAct;  // the vector of the actual contents, in an actual load run

bool SameContents(const MTms& a, const MTms& b)
{
    if (a.kinds != b.kinds || a.quant != b.quant) return false;
    for (int k = 0; k < a.kinds; ++k)
        if (a.entries[k].index != b.entries[k].index || a.entries[k].quant != b.entries[k].quant)
            return false;
    return true;
}

}  // namespace

void StartLoadRun() { loaded.Run(true); }
void EndLoadRun() { loaded.Run(false); }

namespace {

// Loads pms where `before` was loaded last: only the places whose contents
// differ are written. Both vectors are in ascending place order, so they
// are walked side by side.
template <class Load, class Empty>
void LoadChanged(const std::vector<MTms>& before, const Pms& pms, Load load, Empty empty)
{
    const MTms* now = pms.places ? pms.places : nullptr;
    int n = now ? pms.size : 0;
    std::size_t i = 0;
    int j = 0;
    while (i < before.size() || j < n) {
        int was = i < before.size() ? before[i].place : INT_MAX;
        int is = j < n ? now[j].place : INT_MAX;
        if (was == is) {
            if (!SameContents(before[i], now[j])) load(*PlaceArray[is], now[j]);
            ++i;
            ++j;
        } else if (is < was) {
            load(*PlaceArray[is], now[j++]);
        } else {
            empty(*PlaceArray[was]);
            ++i;
        }
    }
}

}  // namespace

void InitRefPms(const Pms& pms)
{
    loadedAct.valid = false;
    if (!loaded.running || !loaded.valid)
        LoadAll(pms);
    else
        LoadChanged(
            loaded.places, pms, [](Place& p, const MTms& m) { p.InitPTms(m); },
            [](Place& p) { p.Init(); });
    if (loaded.running) loaded.Remember(pms);
}

void InitActPms(const Pms& pms)
{
    // The new contents keep what they held: the places no longer hold one
    // vector in both.
    loaded.valid = false;
    auto load = [](Place& p, const MTms& m) { p.InitActTms(m); };
    auto empty = [](Place& p) { p.InitAct(); };
    if (loadedAct.running && loadedAct.valid)
        LoadChanged(loadedAct.places, pms, load, empty);
    else
        LoadPlaces(pms, load, empty);
    if (loadedAct.running) loadedAct.Remember(pms);
}

void StartActLoadRun() { loadedAct.Run(true); }
void EndActLoadRun() { loadedAct.Run(false); }

void MakeActPms(Pms& pms)
{
    FillFromPlaces(pms, [](Place& p) -> const PTms* { return p.GetActTms(); });
}

void MakeNewPms(Pms& pms)
{
    FillFromPlaces(pms, [](Place& p) -> const PTms* { return p.GetNewTms(); });
}

void NewContentsVector::Prepare()
{
    spans.clear();
    spansUsed = 0;
    arcPlaces.clear();
    std::size_t slots = 0;
    for (int i = 0; i < no_of_places; ++i)
        if (const PTms* t = PlaceArray[i]->GetNewTms()) slots += std::max<int>(t->size, 0);
    places.resize(no_of_places);
    entries.resize(slots);
}

const Pms& NewContentsVector::Make()
{
    MTmsEntry* room = entries.data();
    short k = 0;
    for (int i = 0; i < no_of_places; ++i) {
        Place* p = PlaceArray[i];
        const PTms* t = p->GetNewTms();
        if (t && t->quant != 0) room = ptms2mtms_at(t, p->GetNo(), places[k++], room);
    }
    pms = k ? Pms{k, places.data()} : Pms{0, nullptr};
    return pms;
}

namespace {

// A kept place's entries copied to `room`; most places hold one colour,
// which is not worth a call of memcpy.
MTmsEntry* CopyEntries(const MTms& m, MTmsEntry* room)
{
    if (m.kinds == 1) {
        *room = m.entries[0];
        return room + 1;
    }
    return std::copy_n(m.entries, std::max<int>(m.kinds, 0), room);
}

// The places of fired's arcs, ascending and distinct.
void ArcPlaces(const Binding& fired, std::vector<int>& touched)
{
    touched.clear();
    for (const PtrList<Arc>* arcs : {fired.GetInArcs(), fired.GetOutArcs()})
        if (arcs)
            for (const PLElement<Arc>* a = arcs->first; a; a = a->next)
                touched.push_back(a->item->GetPlace()->GetNo());
    std::sort(touched.begin(), touched.end());
    touched.erase(std::unique(touched.begin(), touched.end()), touched.end());
}

// The places of the vector the new contents hold, in ascending order, where
// they differ from `actual` only on the `touched` places: keep(m) for a
// place of `actual` as it is, fresh(i, contents) for a touched place i that
// holds tokens.
template <class Touched, class Keep, class Fresh>
void EachPlaceAfter(const Pms& actual, const Touched& touched, Keep keep, Fresh fresh)
{
    const MTms* kept = actual.places;
    const int n = kept ? actual.size : 0;
    int j = 0;
    auto keepBelow = [&](int limit) {
        for (; j < n && kept[j].place < limit; ++j) keep(kept[j]);
    };
    for (int i : touched) {
        keepBelow(i);
        if (j < n && kept[j].place == i) ++j;
        const PTms* t = PlaceArray[i]->GetNewTms();
        if (t && t->quant != 0) fresh(i, t);
    }
    keepBelow(INT_MAX);
}

}  // namespace

namespace {

// A range of ints for a range-for.
struct IntRange {
    const int* first;
    const int* last;
    const int* begin() const { return first; }
    const int* end() const { return last; }
};

std::size_t SpanSlot(const Binding* b, std::size_t mask)
{
    return (reinterpret_cast<std::uintptr_t>(b) >> 4) * 0x9E3779B97F4A7C15ull >> 32 & mask;
}

}  // namespace

const NewContentsVector::ArcSpan& NewContentsVector::ArcPlacesOf(const Binding& fired)
{
    if (spans.empty()) spans.assign(16, ArcSpan{nullptr, 0, 0});
    std::size_t mask = spans.size() - 1;
    for (std::size_t s = SpanSlot(&fired, mask);; s = (s + 1) & mask) {
        if (spans[s].binding == &fired) return spans[s];
        if (spans[s].binding) continue;
        if (2 * (spansUsed + 1) > spans.size()) {
            // Rehashed at half full, so that a probe ends soon.
            std::vector<ArcSpan> old(2 * spans.size(), ArcSpan{nullptr, 0, 0});
            old.swap(spans);
            mask = spans.size() - 1;
            for (const ArcSpan& a : old) {
                if (!a.binding) continue;
                std::size_t t = SpanSlot(a.binding, mask);
                while (spans[t].binding) t = (t + 1) & mask;
                spans[t] = a;
            }
            return ArcPlacesOf(fired);
        }
        std::vector<int> touched;
        ArcPlaces(fired, touched);
        const auto begin = static_cast<std::uint32_t>(arcPlaces.size());
        arcPlaces.insert(arcPlaces.end(), touched.begin(), touched.end());
        ++spansUsed;
        spans[s] = ArcSpan{&fired, begin, static_cast<std::uint32_t>(arcPlaces.size())};
        return spans[s];
    }
}

const Pms& NewContentsVector::MakeAfter(const Pms& actual, const Binding& fired)
{
    const ArcSpan& span = ArcPlacesOf(fired);
    const IntRange touched{arcPlaces.data() + span.begin, arcPlaces.data() + span.end};
    MTms* out = places.data();
    MTmsEntry* room = entries.data();
    EachPlaceAfter(
        actual, touched, [&](const MTms& m) { *out++ = m; },
        [&](int i, const PTms* t) { room = ptms2mtms_at(t, i, *out++, room); });
    const auto k = static_cast<short>(out - places.data());
    pms = k ? Pms{k, places.data()} : Pms{0, nullptr};
    return pms;
}

PendingMarking* MakeSuccessorMarking(const short* ata, int transNo)
{
    auto* m = new PendingMarking();
    MakeNewPms(m->GetPms());
    m->GetAta() = MakeNewAta(ata, static_cast<short>(transNo - 1));
    return m;
}

PendingMarking* MakeSuccessorMarking(const short* ata, int transNo, const Pms& actual,
                                     const Binding& fired)
{
    thread_local std::vector<int> touched;
    ArcPlaces(fired, touched);
    int places = 0;
    int entries = 0;
    EachPlaceAfter(
        actual, touched,
        [&](const MTms& m) {
            ++places;
            entries += std::max<int>(m.kinds, 0);
        },
        [&](int, const PTms* t) {
            ++places;
            entries += ptms_used_slots(t);
        });
    auto* m = new PendingMarking();
    Pms& pms = m->GetPms();
    MTmsEntry* room = alloc_pms(pms, places, entries);
    int k = 0;
    EachPlaceAfter(
        actual, touched,
        [&](const MTms& kept) {
            pms.places[k++] = MTms{kept.place, kept.kinds, kept.quant, room};
            room = CopyEntries(kept, room);
        },
        [&](int i, const PTms* t) { room = ptms2mtms_at(t, i, pms.places[k++], room); });
    m->GetAta() = MakeNewAta(ata, static_cast<short>(transNo - 1));
    return m;
}
