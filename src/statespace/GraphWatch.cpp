// The watch of one generation. Markings may be stored by a second thread;
// what it finds waits, under a lock, for the generating thread, which alone
// prints and ends the run: a fatal report then first brings the other
// thread to rest.
#include "statespace/GraphWatch.h"

#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "foundation/GraphLimits.h"
#include "foundation/Reporters.h"
#include "netmodel/NetArrays.h"
#include "netmodel/Place.h"
#include "netmodel/Textual.h"
#include "statedata/Marking.h"
#include "statedata/NetCounts.h"
#include "statespace/GrowthWitness.h"

namespace {

constexpr unsigned kMarkingsPerMemoryCheck = 4096;

std::thread::id generating;
std::atomic<unsigned long long> stored{0};
unsigned untilMemoryCheck = kMarkingsPerMemoryCheck;
std::unique_ptr<GrowthWitness> witness;

// Findings of the storing thread, for the generating thread: the places
// found growing (in the order found) and which of them were proven so; a
// place holding the largest count.
std::mutex findingsLock;
std::atomic<bool> findingsWaiting{false};
std::vector<int> grown;
std::vector<bool> grownProven;
std::size_t grownSaid = 0;
int cappedPlace = -1;
bool cappedSaid = false;
// The progress display of the store leaves its line open at the first
// marking and every 200th; a warning closes it.
constexpr unsigned long long kProgressStep = 200;
unsigned long long warnedAt = 0;

void Warn(const std::string& text)
{
    const unsigned long long now = stored.load(std::memory_order_relaxed);
    PrintGraphWarning(
        text, (warnedAt == 0 && now >= 1) || now / kProgressStep > warnedAt / kProgressStep);
    warnedAt = now;
}

std::string PlaceName(int place)
{
    return PlaceArray[place]->GetName().StripOffRoot().GetCChar();
}

// "place \P grows" or "places \P \Q grow".
std::string PlacesThatGrow(const std::vector<int>& places)
{
    std::string names;
    for (int place : places) names += " " + PlaceName(place);
    return (places.size() == 1 ? "place" : "places") + names +
           (places.size() == 1 ? " grows" : " grow");
}

// The place of a quantity at the largest count, or -1.
int PlaceAtLargestQuantity(const Pms& pms)
{
    for (int i = 0; i < pms.size; ++i) {
        const MTms& m = pms.places[i];
        if (m.quant == kLargestQuantity) return m.place;
        for (int k = 0; k < m.kinds; ++k)
            if (m.entries[k].quant == kLargestQuantity) return m.place;
    }
    return -1;
}

// The end of a run beyond a limit: the places found growing so far, if any,
// tell the user where to look.
[[noreturn]] void BeyondLimit(int line, const std::string& text, const std::string& limit)
{
    std::vector<int> places;
    {
        std::lock_guard<std::mutex> hold(findingsLock);
        places = grown;
    }
    const std::string grew = places.empty() ? "" : PlacesThatGrow(places);
    LimitErr(line, "CreateRRG()", text.c_str(), limit.c_str(),
             grew.empty() ? nullptr : grew.c_str());
}

void MarkingLimit(unsigned long long count)
{
    if (RunLimits.maxMarkings == 0 || count <= RunLimits.maxMarkings) return;
    BeyondLimit(101,
                "number of markings exceeds the limit of " + std::to_string(RunLimits.maxMarkings),
                "limit " + RunLimits.markingsSource);
}

void MemoryLimit(unsigned long long count)
{
    if (RunLimits.maxMemoryKB == 0 || --untilMemoryCheck != 0) return;
    untilMemoryCheck = kMarkingsPerMemoryCheck;
    rusage usage{};
    if (getrusage(RUSAGE_SELF, &usage) != 0) return;
    if (static_cast<unsigned long long>(usage.ru_maxrss) <= RunLimits.maxMemoryKB) return;
    BeyondLimit(102,
                "memory of the reachability graph exceeds the limit of " +
                    std::to_string(RunLimits.maxMemoryKB / 1024) + " MB",
                "after " + std::to_string(count) + " markings, limit " + RunLimits.memorySource);
}

void SayCapped(int place)
{
    const std::string name = PlaceName(place);
    if (RunLimits.cappedCounts == GrowthCheck::Stop)
        LimitErr(103, "CreateRRG()", "token quantity reached the largest count 65535", name.c_str(),
                 "one more token wraps around to 0: the place grows without bound");
    Warn("place " + name + " holds 65535 tokens, the largest count; one more wraps around to 0");
}

void SayGrowth(const std::vector<int>& places, bool proven)
{
    if (places.empty()) return;
    const std::string which = PlacesThatGrow(places);
    const char* covers = "a marking covers an earlier marking on its path with more tokens there";
    if (proven && RunLimits.unboundedPlaces == GrowthCheck::Stop)
        LimitErr(104, "CreateRRG()", "the net is unbounded", which.c_str(), covers);
    if (proven)
        Warn(which + " without bound: " + covers);
    else
        Warn(which + " without bound, perhaps: " + covers +
             " (only a hint: guards, capacities, inscriptions or immediate "
             "transitions that read them may stop the growth)");
}

// Takes what was found since the last call under the lock, and says it
// without: a fatal report waits for the storing thread, which may be
// waiting for the lock.
void SayFindings()
{
    int capped = -1;
    std::vector<int> proven, hinted;
    {
        std::lock_guard<std::mutex> hold(findingsLock);
        findingsWaiting.store(false, std::memory_order_relaxed);
        if (cappedPlace >= 0 && !cappedSaid) {
            cappedSaid = true;
            capped = cappedPlace;
        }
        for (; grownSaid < grown.size(); ++grownSaid)
            (grownProven[grownSaid] ? proven : hinted).push_back(grown[grownSaid]);
    }
    if (capped >= 0) SayCapped(capped);
    SayGrowth(proven, true);
    SayGrowth(hinted, false);
}

void NoteGrowth(const GrowthFinding& finding)
{
    std::lock_guard<std::mutex> hold(findingsLock);
    // A run that stops at the first proof names that proof's places only, not
    // whatever else the storing thread found before the report was made.
    const bool stopsAtProof = RunLimits.unboundedPlaces == GrowthCheck::Stop;
    if (stopsAtProof && std::find(grownProven.begin(), grownProven.end(), true) != grownProven.end())
        return;
    for (int place : finding.places)
        if (std::find(grown.begin(), grown.end(), place) == grown.end()) {
            grown.push_back(place);
            grownProven.push_back(finding.proof);
            findingsWaiting.store(true, std::memory_order_release);
        }
    // Every place of the net found growing: nothing more to find.
    if (grown.size() == static_cast<std::size_t>(no_of_places)) witness->Stop();
}

}  // namespace

void StartGraphWatch()
{
    generating = std::this_thread::get_id();
    stored.store(0);
    untilMemoryCheck = kMarkingsPerMemoryCheck;
    witness.reset();
    if (RunLimits.unboundedPlaces != GrowthCheck::Off)
        witness = std::make_unique<GrowthWitness>(ClassifyPlaces());
    grown.clear();
    grownProven.clear();
    grownSaid = 0;
    cappedSaid = false;
    cappedPlace = -1;
    warnedAt = 0;
    findingsWaiting.store(false);
}

void EndGraphWatch()
{
    witness.reset();
}

void WatchStoredMarking(const Marking& from, const Marking& marking, const Pms* known)
{
    stored.fetch_add(1, std::memory_order_relaxed);
    const bool growth = witness && witness->Active();
    const bool capped = RunLimits.cappedCounts != GrowthCheck::Off && cappedPlace < 0;
    // The store keeps markings coded: one decoding serves both checks. It
    // lasts until a few more are made, so the witness, which decodes the
    // markings of the path, comes last.
    const Pms& pms = known ? *known : growth || capped ? marking.GetPms() : Pms{0, nullptr};
    if (capped) {
        int place = PlaceAtLargestQuantity(pms);
        if (place >= 0) {
            std::lock_guard<std::mutex> hold(findingsLock);
            cappedPlace = place;
            findingsWaiting.store(true, std::memory_order_release);
        }
    }
    if (growth) {
        GrowthFinding finding;
        if (witness->Note(from, marking, pms, finding)) NoteGrowth(finding);
    }
    if (std::this_thread::get_id() == generating) CheckGraphGrowth();
}

void CheckGraphGrowth()
{
    const unsigned long long count = stored.load(std::memory_order_relaxed);
    MarkingLimit(count);
    MemoryLimit(count);
    if (findingsWaiting.load(std::memory_order_acquire)) SayFindings();
}
