// Interning at firing time: the activation of a successor is worked out on
// the new contents right after its firing; the activated markings are
// interned in firing order, by a second thread when one can be had, while
// the next markings are fired.
#include "statespace/SuccessorLookup.h"

#include <algorithm>
#include <atomic>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "foundation/Reporters.h"
#include "netmodel/MDMSet.h"
#include "netmodel/MarkingVectors.h"
#include "netmodel/NetArrays.h"
#include "netmodel/PendingSuccessors.h"
#include "netmodel/Place.h"
#include "statespace/Activation.h"
#include "statespace/DelayCombination.h"
#include "statespace/GenerationState.h"
#include "statespace/GraphWatch.h"
#include "statespace/MarkingInterning.h"
#include "statespace/SuccessorFiring.h"
#include "statedata/Marking.h"
#include "statedata/MarkingCode.h"
#include "statedata/NetCounts.h"
#include "statedata/StateSpaceGlobals.h"

namespace {

struct FiredSuccessor {
    Marking* source = nullptr;
    NewContentsVector vector;
    std::vector<short> ata;  // empty for no array
    DelayVal edge;
    MarkingCode code;
    const std::uint8_t* start = nullptr;  // of the code
    std::uint64_t hash = 0;
};

short* Ata(FiredSuccessor& s)
{
    return s.ata.empty() ? nullptr : s.ata.data();
}

// Fired successors wait in a ring of slots: the firing fills them, and hands
// them over a marking at a time; the interning empties them in order. The
// markings it stores come back through a queue, to be fired in their turn.
// Without a second thread the interning runs when a marking's firings are
// done, or when the ring is full.
bool internWhenFired = false;
bool threadAllowed = true;
std::vector<FiredSuccessor> ring;
std::size_t ringMask = 0;
std::size_t filled = 0;                // by the firing
std::atomic<std::size_t> handedOver{0};
std::atomic<std::size_t> interned{0};  // by the interning
std::mutex interningLock;
std::atomic<bool> stopInterning{false};
// An idle interning thread spins a little, then sleeps until woken.
std::atomic<bool> interningAsleep{false};
std::atomic<unsigned> interningWakeups{0};
std::thread* interningThread = nullptr;  // never destroyed at exit while running
std::mutex storedNowLock;
std::deque<Marking*> storedNow;
// The progress display counts markings as they are fired, as if each were
// stored only then: the output before a fatal report stays the same.
unsigned shown = 0;

constexpr std::size_t kInlineSlots = 16;
constexpr std::size_t kMostThreadedSlots = 4096;
constexpr std::size_t kMostRingBytes = std::size_t{64} << 20;

// Looks at the successor the new contents hold: its vector, its activated
// array and the value of its edge. False when its activation cannot be told.
bool LookAt(FiredSuccessor& s, int transNo, const DelayVal& fired)
{
    bool activated = false;
    double probability = 1.0;
    if (!SuccessorActivation(SavedAta, transNo, s.ata, activated, probability))
        return false;
    s.source = SavedMarking;
    s.vector.Make();
    // An array without entries is no array; an activated successor is
    // interned as its one activation branch would be, whose value is
    // combined with the firing's.
    s.edge = fired;
    if (activated) {
        DelayVal branch(probability, kDelayProbability);
        CheckAndCorrectDelayVal(fired, branch);
        s.edge = branch;
    } else if (std::all_of(s.ata.begin(), s.ata.end(), [](short v) { return v == 0; })) {
        s.ata.clear();
    }
    s.start = s.code.Encode(s.vector.Current(), Ata(s));
    s.hash = CodeHash(s.start);
    return true;
}

Marking* Intern(FiredSuccessor& s)
{
    bool found = false;
    Marking* stored = MHash.SaveUnshown(s.start, s.hash, found);
    if (found) {
        LinkToStored(*s.source, *stored, s.edge);
        return nullptr;
    }
    s.source->AddMarking(*stored, s.edge);
    WatchStoredMarking(*s.source, *stored);
    return stored;
}

// Interns the slots [from, to) in order, a group at a time: the store's
// slots, then its nodes and their contents, are fetched for the whole group
// before any is interned.
void InternSlots(std::size_t from, std::size_t to)
{
    static std::vector<Marking*> fresh;
    constexpr std::size_t kGroup = 16;
    for (std::size_t group = from; group < to; group += kGroup) {
        std::size_t end = std::min(to, group + kGroup);
        for (int stage = 0; stage <= 2; ++stage)
            for (std::size_t k = group; k < end; ++k) MHash.Prefetch(ring[k & ringMask].hash, stage);
        for (std::size_t k = group; k < end; ++k)
            if (Marking* stored = Intern(ring[k & ringMask])) fresh.push_back(stored);
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

// Waits until more is handed over, or the thread is to stop; answers the
// slots handed over so far.
std::size_t AwaitHandOver(std::size_t done)
{
    constexpr int kSpins = 64;
    for (int spin = 0; spin < kSpins; ++spin) {
        std::size_t ready = handedOver.load(std::memory_order_acquire);
        if (ready != done || stopInterning.load(std::memory_order_acquire)) return ready;
        std::this_thread::yield();
    }
    // The hand-over reads the flag after publishing: either it sees the
    // thread asleep and wakes it, or the thread sees what was published.
    interningAsleep.store(true);
    unsigned wakeups = interningWakeups.load();
    if (handedOver.load() == done && !stopInterning.load()) interningWakeups.wait(wakeups);
    interningAsleep.store(false);
    return handedOver.load(std::memory_order_acquire);
}

// Interns what has been handed over, by whichever thread gets to it: the
// interning thread, or the firing when it has nothing else to do (a net
// whose markings have one successor each would otherwise wait for every
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

// Also the barrier of a fatal report: one raised while interning (by
// either thread) leaves the other thread as it is, since it may be waiting
// for the interning to end.
void StopInterningThread()
{
    if (!interningThread || interningHere ||
        std::this_thread::get_id() == interningThread->get_id())
        return;
    stopInterning.store(true);
    WakeInterning();
    interningThread->join();
    delete interningThread;
    interningThread = nullptr;
    SetFatalReportBarrier(nullptr);
}

std::size_t SlotBytes()
{
    std::size_t bytes = sizeof(FiredSuccessor) + no_of_exc_transitions * sizeof(short);
    for (int i = 0; i < no_of_places; ++i) {
        bytes += sizeof(MTms);
        if (const PTms* t = PlaceArray[i]->GetNewTms()) bytes += t->size * sizeof(MTmsEntry);
    }
    return bytes;
}

// A ring for the second thread holds every firing of a marking (they are
// handed over together) and then some; a net too wide for that in a modest
// amount of memory is interned without the thread.
std::size_t ThreadedRingSize()
{
    std::size_t size = 1024;
    while (size < 2 * (std::size_t{no_of_exc_transitions} + 1)) size *= 2;
    return size <= kMostThreadedSlots && size * SlotBytes() <= kMostRingBytes ? size : 0;
}

void MakeRing(std::size_t size)
{
    ring.clear();
    ring.resize(size);
    ringMask = size - 1;
    for (FiredSuccessor& s : ring) s.vector.Prepare();
}

void StartInterning()
{
    filled = 0;
    handedOver.store(0);
    interned.store(0);
    stopInterning.store(false);
    interningAsleep.store(false);
    shown = 0;
    storedNow.clear();
    std::size_t threaded = ThreadedRingSize();
    if (threadAllowed && threaded != 0 && std::thread::hardware_concurrency() > 1) {
        MakeRing(threaded);
        try {
            interningThread = new std::thread(InternHandedOver);
            SetFatalReportBarrier(StopInterningThread);
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

Marking* TakeStoredNow()
{
    std::lock_guard<std::mutex> hold(storedNowLock);
    if (storedNow.empty()) return nullptr;
    Marking* m = storedNow.front();
    storedNow.pop_front();
    return m;
}

void FireStoredMarking(Marking& stored)
{
    static DecodedMarking contents;
    MHash.ShowProgress(++shown);
    CheckGraphGrowth();
    contents.Decode(stored.GetCode());
    LoadPmsIncrementally(contents.GetPms());
    LastMDMSet = GlobalMDMSetList.GetLast();
    SavedMarking = &stored;
    SavedAta = contents.GetAta();
    short active = 0;
    FireExcTransitions(active);
}

}  // namespace

void AllowInterningThread(bool allowed)
{
    threadAllowed = allowed;
}

void InternSuccessorsWhenFired(bool on)
{
    StopInterningThread();
    internWhenFired = on;
    if (on)
        StartInterning();
    else
        std::vector<FiredSuccessor>().swap(ring);
}

bool InternFiredSuccessor(int transNo, const DelayVal& fired)
{
    if (!internWhenFired) return false;
    // The markings stored before the first hand-over were shown by the store.
    if (filled == 0) shown = MHash.GetCounter();
    // A full ring waits for the interning thread, which is behind: the
    // firing is better spent on firing.
    while (filled - interned.load(std::memory_order_acquire) == ring.size()) {
        InternBatchedSuccessors();
        if (interningThread) std::this_thread::yield();
    }
    if (!LookAt(ring[filled & ringMask], transNo, fired))
        MErr(__LINE__, "InternFiredSuccessor", "activation of a fired successor unknown");
    ++filled;
    return true;
}

void InternBatchedSuccessors()
{
    handedOver.store(filled);
    if (!interningThread)
        InternPending();
    else if (interningAsleep.load())
        WakeInterning();
}

void FireInternedMarkings()
{
    if (!internWhenFired) return;
    for (;;) {
        Marking* next = TakeStoredNow();
        if (!next) {
            if (!AllInterned()) {
                InternPending();
                continue;
            }
            // Everything fired is interned: what it stored is in the queue.
            next = TakeStoredNow();
            if (!next) return;
        }
        FireStoredMarking(*next);
    }
}
