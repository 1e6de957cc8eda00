// The interning of exploration results, see InterningPipeline.h: a ring of
// requests that the exploration fills and the interning empties in order,
// and the queue of the markings it stores, explored in their turn.
#include "statespace/InterningPipeline.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "foundation/Reporters.h"
#include "statespace/ExplorationHelper.h"
#include "statespace/FiringTimeExplorer.h"
#include "statespace/GraphWatch.h"
#include "statespace/MarkingInterning.h"
#include "statedata/Marking.h"
#include "statedata/MarkingCode.h"
#include "statedata/NetCounts.h"
#include "statedata/StateSpaceGlobals.h"

namespace {

struct Request {
    Marking* source = nullptr;
    DelayVal edge;
    MarkingCode code;
    const std::uint8_t* start = nullptr;  // of the code
    std::uint64_t hash = 0;
    DeferredEntries* deferred = nullptr;
    InfOrder order;
};

struct Stored {
    MarkingToExplore marking;
    DeferredEntries* deferred;
};

bool internWhenFired = false;
bool threadAllowed = true;
// Set when the exploration is shared with a helper process: the interning
// then runs inline, since the second core explores.
bool shareWithHelper = false;
std::size_t helperBatch = 256;
std::size_t helperExplored = 0;  // markings whose answer the helper gave
std::size_t takenBack = 0;       // batches given up on the helper
std::chrono::microseconds leastPatience{1000};
// The generating process's own exploring, interning included, in its
// batches: how long it waits for the helper before it takes a batch back.
std::chrono::steady_clock::duration ownTime{};
std::size_t ownMarkings = 0;
std::vector<Request> ring;
std::size_t ringMask = 0;
std::size_t filled = 0;  // by the exploration
std::atomic<std::size_t> handedOver{0};
std::atomic<std::size_t> interned{0};  // by the interning
std::mutex interningLock;
std::atomic<bool> stopInterning{false};
// An idle interning thread sleeps until a batch is handed over. Only a
// thread that is really asleep is woken: a wake-up is a system call, and
// one for every batch cost a tenth of a deterministic net's generation.
std::mutex sleepLock;
std::condition_variable wakeUp;
std::atomic<bool> interningAsleep{false};
std::thread* interningThread = nullptr;  // never destroyed at exit while running
std::mutex storedNowLock;
std::deque<Stored> storedNow;
// The entries of intermediate markings that were stored before, to be freed
// by the exploration: their markings and atas come from pools that only the
// exploring thread uses, and the interning may run on the other thread.
std::vector<DeferredEntries*> staleEntries;  // under storedNowLock
// The progress display counts markings as they are explored, as if each
// were stored only then and fired at once.
unsigned shown = 0;
bool handlingEntries = false;

constexpr std::size_t kInlineSlots = 16;
constexpr std::size_t kThreadedSlots = 4096;
// The requests handed over that wake the interning thread. Fewer are interned
// by the exploration itself when it runs out of markings to explore.
constexpr std::size_t kBatch = 1024;

// Interns one request; answers the marking it stored, or null.
Marking* Intern(Request& r)
{
    bool found = false;
    const unsigned number = MHash.Intern(r.start, r.hash, found);
    if (found) {
        LinkToStored(*r.source, number, r.edge);
        return nullptr;
    }
    Marking* stored = &MHash.Stored(number);
    r.source->AddMarking(*stored, r.edge);
    WatchStoredMarking(*r.source, *stored);
    return stored;
}

// The infinite-server transitions that the marking of request r, which
// was new, fires in binding order (InfOrder).
bool firingStoredOne = false;

KeptOrderSet StoredUnknownInf(const Request& r)
{
    const bool first = r.order.sameFiring ? !firingStoredOne : true;
    firingStoredOne = true;
    return first ? r.order.unknownInf : 0;
}

void NoneStored(const Request& r)
{
    if (!r.order.sameFiring) firingStoredOne = false;
}

// Interns the slots [from, to) in order. The store's slot for a request,
// then the code it leads to, are fetched kAhead requests apart ahead of the
// interning: each fetch has the interning of kAhead requests to arrive
// before it is read.
void InternSlots(std::size_t from, std::size_t to)
{
    static std::vector<Stored> fresh;
    static std::vector<DeferredEntries*> stale;
    constexpr std::size_t kAhead = 8;
    auto fetch = [to](std::size_t k, int stage) {
        if (k < to) MHash.Prefetch(ring[k & ringMask].start, ring[k & ringMask].hash, stage);
    };
    // j: the request whose slot is fetched now.
    for (std::size_t j = from; j < to + 2 * kAhead; ++j) {
        fetch(j, 0);
        if (j < from + kAhead) continue;
        fetch(j - kAhead, 1);
        if (j < from + 2 * kAhead) continue;
        Request& r = ring[(j - 2 * kAhead) & ringMask];
        if (Marking* stored = Intern(r)) {
            fresh.push_back(Stored{{stored, StoredUnknownInf(r)}, r.deferred});
        } else {
            NoneStored(r);
            if (r.deferred) stale.push_back(r.deferred);
        }
        r.deferred = nullptr;
    }
    std::lock_guard<std::mutex> hold(storedNowLock);
    storedNow.insert(storedNow.end(), fresh.begin(), fresh.end());
    fresh.clear();
    staleEntries.insert(staleEntries.end(), stale.begin(), stale.end());
    stale.clear();
}

void WakeInterning()
{
    std::lock_guard<std::mutex> hold(sleepLock);
    interningAsleep.store(false);
    wakeUp.notify_one();
}

// Waits until a batch is handed over, or the thread is to stop; answers the
// slots handed over so far. The thread sleeps rather than spins: interning a
// request costs far less than exploring the marking that made it, so a
// spinning thread would mostly burn the second core while it waits.
std::size_t AwaitHandOver(std::size_t done)
{
    // The hand-over reads the flag after publishing: either it sees the
    // thread asleep and wakes it (which waits for the thread to be waiting,
    // since the thread holds the lock until then), or the thread sees what
    // was published.
    std::unique_lock<std::mutex> hold(sleepLock);
    interningAsleep.store(true);
    wakeUp.wait(hold, [done] {
        return !interningAsleep.load() || handedOver.load() - done >= kBatch ||
               stopInterning.load();
    });
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
    StopExplorationHelper();
    if (!handlingEntries) return;
    handedOver.store(filled);
    InternPending();
    while (shown < MHash.GetCounter()) MHash.ShowProgress(++shown);
}

bool StartInterningThread()
{
    try {
        interningThread = new std::thread(InternHandedOver);
        return true;
    } catch (const std::system_error&) {
        delete interningThread;
        interningThread = nullptr;
        return false;
    }
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
    shareWithHelper = false;
    if (threadAllowed && std::thread::hardware_concurrency() > 1) {
        MakeRing(kThreadedSlots);
        // The helper answers no deferred entries: nets with deterministic
        // or general transitions keep the interning thread.
        if (no_of_det_transitions == 0 && no_of_gen_transitions == 0 &&
            no_of_mix_transitions == 0) {
            shareWithHelper = true;
            return;
        }
        if (StartInterningThread()) return;
    }
    MakeRing(kInlineSlots);
}

bool AllInterned()
{
    return interned.load(std::memory_order_acquire) == filled;
}

// Called by the exploration only, which frees the stale entries on the way.
bool TakeStoredNow(Stored& next)
{
    static std::vector<DeferredEntries*> toFree;
    bool taken = false;
    {
        std::lock_guard<std::mutex> hold(storedNowLock);
        toFree.swap(staleEntries);
        if (!storedNow.empty()) {
            next = storedNow.front();
            storedNow.pop_front();
            taken = true;
        }
    }
    for (DeferredEntries* entries : toFree) delete entries;
    toFree.clear();
    return taken;
}

Request& FreeSlot()
{
    // A full ring interns what is handed over here: behind the interning
    // thread's batch, when it is at one (sleeping on the lock rather than
    // spinning for a slot), or at once, when it is not.
    while (filled - interned.load(std::memory_order_acquire) == ring.size()) {
        HandOverRequests();
        InternPending();
    }
    return ring[filled & ringMask];
}

// A marking's turn: it is shown as explored, the watch checks the graph,
// and what its exploration requests goes to the interning in order (handed
// over by the caller: a batch hands over once, so that the interning
// fetches the store's slots for many requests at a time).
void ExploreInTurn(const Stored& next)
{
    MHash.ShowProgress(++shown);
    CheckGraphGrowth();
    ExploreMarking(next.marking, next.deferred);
    delete next.deferred;
}

// A marking explored by the helper takes its turn with the requests it
// answered, which name codes in the answer (interned before it is reused).
void TakeTurnWithAnswer(Marking& m, const std::vector<HelperAnswer::Request>& requests)
{
    MHash.ShowProgress(++shown);
    CheckGraphGrowth();
    for (const HelperAnswer::Request& q : requests) {
        Request& r = FreeSlot();
        r.source = &m;
        r.edge = q.edge;
        r.start = q.code;
        r.hash = q.hash;
        r.deferred = nullptr;
        r.order = q.order;
        ++filled;
    }
}

// The next stored marking to explore, once everything explored before is
// interned; false when there is none.
bool NextToExplore(Stored& next)
{
    while (!TakeStoredNow(next)) {
        if (AllInterned()) return TakeStoredNow(next);
        HandOverRequests();
        InternPending();
    }
    return true;
}

// Markings queued for exploring that may go into batches at once.
std::size_t StoredWaiting()
{
    std::lock_guard<std::mutex> hold(storedNowLock);
    return storedNow.size();
}

std::vector<MarkingToExplore> TakeBatch(std::size_t size)
{
    std::vector<MarkingToExplore> batch;
    Stored next{};
    while (batch.size() < size && TakeStoredNow(next)) batch.push_back(next.marking);
    return batch;
}

// The batches handed out and not yet taken their turn, oldest first: the
// helper's go out at once, the generating process explores its own when
// they come up. Between two of the helper's it takes a share of its own,
// grown when it had to wait for the helper and shrunk when it did not, so
// that both processes stay busy however the machine is loaded.
struct Batch {
    bool helpers;
    std::vector<MarkingToExplore> markings;
};

// The longest wait for the helper's answer to a batch: twice what the
// generating process would take to explore the batch itself (never below
// leastPatience, so that a helper merely switched out for a moment keeps it).
std::chrono::microseconds Patience()
{
    if (ownMarkings == 0) return leastPatience;
    const auto batch = ownTime * static_cast<long>(2 * helperBatch) / static_cast<long>(ownMarkings);
    return std::max(leastPatience, std::chrono::duration_cast<std::chrono::microseconds>(batch));
}

void TakeHelpersTurn(const Batch& b, std::size_t& share)
{
    static HelperAnswer answer;
    static std::vector<HelperAnswer::Request> requests;
    const bool waited = !HelperAnswerReady();
    const HelperReply reply = ReceiveFromHelper(answer, Patience());
    const std::size_t explored = reply == HelperReply::kAnswered ? answer.Explored() : 0;
    if (reply == HelperReply::kLate) ++takenBack;
    if (waited)
        share = std::min<std::size_t>(share + share / 4 + 1, 16 * helperBatch);
    else
        share = std::max<std::size_t>(share - share / 16, 1);
    helperExplored += explored;
    for (std::size_t k = 0; k < explored; ++k) {
        answer.NextMarking(requests);
        TakeTurnWithAnswer(*b.markings[k].marking, requests);
    }
    for (std::size_t k = explored; k < b.markings.size(); ++k)
        ExploreInTurn(Stored{b.markings[k], nullptr});
    HandOverRequests();
}

void TakeOwnTurn(const Batch& b)
{
    const auto start = std::chrono::steady_clock::now();
    for (const MarkingToExplore& m : b.markings) ExploreInTurn(Stored{m, nullptr});
    HandOverRequests();
    ownTime += std::chrono::steady_clock::now() - start;
    ownMarkings += b.markings.size();
}

void ShareExploring()
{
    std::deque<Batch> batches;
    std::size_t share = helperBatch;
    ownTime = {};
    ownMarkings = 0;
    for (;;) {
        // Two batches at the helper keep it busy while the first is taken;
        // one that fell behind gets no more until its answers are in.
        DropLateAnswers();
        while (HelperTakesAnotherBatch() && StoredWaiting() >= share + helperBatch) {
            batches.push_back(Batch{false, TakeBatch(share)});
            batches.push_back(Batch{true, TakeBatch(helperBatch)});
            SendToHelper(batches.back().markings);
        }
        if (batches.empty()) {
            Stored next{};
            if (!NextToExplore(next)) return;
            ExploreInTurn(next);
            HandOverRequests();
            continue;
        }
        Batch b = std::move(batches.front());
        batches.pop_front();
        if (b.helpers)
            TakeHelpersTurn(b, share);
        else
            TakeOwnTurn(b);
    }
}

}  // namespace

void ShareExplorationInBatchesOf(std::size_t markings)
{
    helperBatch = markings;
}

void WaitForHelperAtLeast(std::chrono::microseconds least)
{
    leastPatience = least;
}

std::size_t MarkingsExploredByHelper()
{
    return helperExplored;
}

std::size_t HelperBatchesTakenBack()
{
    return takenBack;
}

void AllowInterningThread(bool allowed)
{
    threadAllowed = allowed;
}

void InternSuccessorsWhenFired(bool on)
{
    StopInterningThread();
    StopExplorationHelper();
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

void QueueForExploring(Marking& stored, KeptOrderSet unknownInf)
{
    std::lock_guard<std::mutex> hold(storedNowLock);
    storedNow.push_back(Stored{{&stored, unknownInf}, nullptr});
}

namespace {

// A request whose code `encode` writes into the storage it is given.
template <class Encode>
void Enqueue(Marking& source, Encode encode, const DelayVal& edge, InfOrder order,
             DeferredEntries* deferred)
{
    if (CollectingForHelper()) {
        static MarkingCode code;
        const std::uint8_t* c = encode(code);
        CollectForHelper(edge, c, CodeHash(c), order);
        return;
    }
    Request& r = FreeSlot();
    r.source = &source;
    r.edge = edge;
    r.start = encode(r.code);
    r.hash = CodeHash(r.start);
    r.deferred = deferred;
    r.order = order;
    ++filled;
}

}  // namespace

void RequestInterning(Marking& source, const Pms& pms, const short* ata, const DelayVal& edge,
                      InfOrder order, DeferredEntries* deferred)
{
    Enqueue(source, [&](MarkingCode& code) { return code.Encode(pms, ata); }, edge, order,
            deferred);
}

void RequestInterningFlat(Marking& source, const std::uint16_t* flat, const FlatLayout& layout,
                          const short* ata, const DelayVal& edge, InfOrder order)
{
    Enqueue(source, [&](MarkingCode& code) { return code.EncodeFlat(flat, layout, ata); }, edge,
            order, nullptr);
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
    helperExplored = 0;
    takenBack = 0;
    if (shareWithHelper) {
        if (StartExplorationHelper()) {
            ShareExploring();
            StopExplorationHelper();
            ReleaseHelperAnswers();
            return;
        }
        // Without a helper the interning gets the second core.
        StartInterningThread();
    }
    Stored next{};
    while (NextToExplore(next)) {
        ExploreInTurn(next);
        HandOverRequests();
    }
}
