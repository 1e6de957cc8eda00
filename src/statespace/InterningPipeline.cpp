// The interning of exploration results, see InterningPipeline.h: a ring of
// requests that the exploration fills and the interning empties in order,
// and the queue of the markings it stores, explored in their turn.
#include "statespace/InterningPipeline.h"

#include <algorithm>
#include <atomic>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "foundation/Reporters.h"
#include "statespace/FiringTimeExplorer.h"
#include "statespace/GraphWatch.h"
#include "statespace/MarkingInterning.h"
#include "statedata/Marking.h"
#include "statedata/MarkingCode.h"
#include "statedata/StateSpaceGlobals.h"

namespace {

struct Request {
    Marking* source = nullptr;
    DelayVal edge;
    MarkingCode code;
    const std::uint8_t* start = nullptr;  // of the code
    std::uint64_t hash = 0;
    DeferredEntries* deferred = nullptr;
};

struct Stored {
    Marking* marking;
    DeferredEntries* deferred;
};

bool internWhenFired = false;
bool threadAllowed = true;
std::vector<Request> ring;
std::size_t ringMask = 0;
std::size_t filled = 0;  // by the exploration
std::atomic<std::size_t> handedOver{0};
std::atomic<std::size_t> interned{0};  // by the interning
std::mutex interningLock;
std::atomic<bool> stopInterning{false};
// An idle interning thread sleeps until a batch is handed over.
std::atomic<bool> interningAsleep{false};
std::atomic<unsigned> interningWakeups{0};
std::thread* interningThread = nullptr;  // never destroyed at exit while running
std::mutex storedNowLock;
std::deque<Stored> storedNow;
// The progress display counts markings as they are explored, as if each
// were stored only then and fired at once.
unsigned shown = 0;
bool handlingEntries = false;

constexpr std::size_t kInlineSlots = 16;
constexpr std::size_t kThreadedSlots = 4096;
// The requests handed over that wake the interning thread. Fewer are interned
// by the exploration itself when it runs out of markings to explore.
constexpr std::size_t kBatch = 256;

// Interns one request; answers the marking it stored, or null.
Marking* Intern(Request& r)
{
    bool found = false;
    Marking* stored = MHash.SaveUnshown(r.start, r.hash, found);
    if (found) {
        LinkToStored(*r.source, *stored, r.edge);
        delete r.deferred;
        r.deferred = nullptr;
        return nullptr;
    }
    r.source->AddMarking(*stored, r.edge);
    WatchStoredMarking(*r.source, *stored);
    return stored;
}

// Interns the slots [from, to) in order, a group at a time: the store's
// slots, then its markings and their codes, are fetched for the whole group
// before any is interned.
void InternSlots(std::size_t from, std::size_t to)
{
    static std::vector<Stored> fresh;
    constexpr std::size_t kGroup = 16;
    for (std::size_t group = from; group < to; group += kGroup) {
        std::size_t end = std::min(to, group + kGroup);
        for (int stage = 0; stage <= 2; ++stage)
            for (std::size_t k = group; k < end; ++k) MHash.Prefetch(ring[k & ringMask].hash, stage);
        for (std::size_t k = group; k < end; ++k) {
            Request& r = ring[k & ringMask];
            if (Marking* stored = Intern(r)) fresh.push_back(Stored{stored, r.deferred});
            r.deferred = nullptr;
        }
    }
    std::lock_guard<std::mutex> hold(storedNowLock);
    storedNow.insert(storedNow.end(), fresh.begin(), fresh.end());
    fresh.clear();
}

void WakeInterning()
{
    interningWakeups.fetch_add(1);
    interningWakeups.notify_one();
}

// Waits until a batch is handed over, or the thread is to stop; answers the
// slots handed over so far. The thread sleeps rather than spins: interning a
// request costs far less than exploring the marking that made it, so a
// spinning thread would mostly burn the second core while it waits.
std::size_t AwaitHandOver(std::size_t done)
{
    // The hand-over reads the flag after publishing: either it sees the
    // thread asleep and wakes it, or the thread sees what was published.
    interningAsleep.store(true);
    unsigned wakeups = interningWakeups.load();
    if (handedOver.load() - done < kBatch && !stopInterning.load())
        interningWakeups.wait(wakeups);
    interningAsleep.store(false);
    return handedOver.load(std::memory_order_acquire);
}

// Interns what has been handed over, by whichever thread gets to it: the
// interning thread, or the exploration when it has nothing else to do (a
// net whose markings have one successor each would otherwise wait for every
// single one).
thread_local bool interningHere = false;

void InternPending()
{
    std::lock_guard<std::mutex> hold(interningLock);
    std::size_t from = interned.load(std::memory_order_relaxed);
    std::size_t to = handedOver.load(std::memory_order_acquire);
    if (from == to) return;
    interningHere = true;
    InternSlots(from, to);
    interningHere = false;
    interned.store(to, std::memory_order_release);
}

void InternHandedOver()
{
    while (!stopInterning.load(std::memory_order_acquire)) {
        std::size_t done = interned.load(std::memory_order_acquire);
        if (AwaitHandOver(done) != done) InternPending();
    }
}

void StopInterningThread()
{
    if (!interningThread) return;
    stopInterning.store(true);
    WakeInterning();
    interningThread->join();
    delete interningThread;
    interningThread = nullptr;
}

// The barrier of a fatal report. One raised while interning (by either
// thread) leaves the other thread as it is, since it may be waiting for the
// interning to end. One raised while a successor's entry is handled first
// interns every request made before and shows the markings they stored: the
// queue of pending successors would have handled all of those entries
// before this one.
void BeforeFatalReport()
{
    if (interningHere ||
        (interningThread && std::this_thread::get_id() == interningThread->get_id()))
        return;
    SetFatalReportBarrier(nullptr);
    StopInterningThread();
    if (!handlingEntries) return;
    handedOver.store(filled);
    InternPending();
    while (shown < MHash.GetCounter()) MHash.ShowProgress(++shown);
}

void MakeRing(std::size_t size)
{
    ring.clear();
    ring.resize(size);
    ringMask = size - 1;
}

void StartInterning()
{
    filled = 0;
    handedOver.store(0);
    interned.store(0);
    stopInterning.store(false);
    interningAsleep.store(false);
    shown = 0;
    handlingEntries = false;
    storedNow.clear();
    SetFatalReportBarrier(BeforeFatalReport);
    if (threadAllowed && std::thread::hardware_concurrency() > 1) {
        MakeRing(kThreadedSlots);
        try {
            interningThread = new std::thread(InternHandedOver);
            return;
        } catch (const std::system_error&) {
            delete interningThread;
            interningThread = nullptr;
        }
    }
    MakeRing(kInlineSlots);
}

bool AllInterned()
{
    return interned.load(std::memory_order_acquire) == filled;
}

bool TakeStoredNow(Stored& next)
{
    std::lock_guard<std::mutex> hold(storedNowLock);
    if (storedNow.empty()) return false;
    next = storedNow.front();
    storedNow.pop_front();
    return true;
}

}  // namespace

void AllowInterningThread(bool allowed)
{
    threadAllowed = allowed;
}

void InternSuccessorsWhenFired(bool on)
{
    StopInterningThread();
    SetFatalReportBarrier(nullptr);
    internWhenFired = on;
    if (on)
        StartInterning();
    else
        std::vector<Request>().swap(ring);
}

bool InterningWhenFired()
{
    return internWhenFired;
}

void QueueForExploring(Marking& stored)
{
    std::lock_guard<std::mutex> hold(storedNowLock);
    storedNow.push_back(Stored{&stored, nullptr});
}

void RequestInterning(Marking& source, const Pms& pms, const short* ata, const DelayVal& edge,
                      DeferredEntries* deferred)
{
    // A full ring waits for the interning thread, which is behind: the
    // exploration is better spent on exploring.
    while (filled - interned.load(std::memory_order_acquire) == ring.size()) {
        HandOverRequests();
        if (interningThread) std::this_thread::yield();
    }
    Request& r = ring[filled & ringMask];
    r.source = &source;
    r.edge = edge;
    r.start = r.code.Encode(pms, ata);
    r.hash = CodeHash(r.start);
    r.deferred = deferred;
    ++filled;
}

void HandOverRequests()
{
    handedOver.store(filled);
    if (!interningThread)
        InternPending();
    else if (interningAsleep.load() && filled - interned.load() >= kBatch)
        WakeInterning();
}

void HandlingEntries(bool on)
{
    handlingEntries = on;
}

void FireInternedMarkings()
{
    if (!internWhenFired) return;
    for (;;) {
        Stored next{};
        if (!TakeStoredNow(next)) {
            if (!AllInterned()) {
                HandOverRequests();
                InternPending();
                continue;
            }
            // Everything explored is interned: what it stored is queued.
            if (!TakeStoredNow(next)) return;
        }
        MHash.ShowProgress(++shown);
        CheckGraphGrowth();
        ExploreMarking(*next.marking, next.deferred);
        delete next.deferred;
        HandOverRequests();
    }
}
