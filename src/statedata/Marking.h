// Marking: one state of the reduced reachability graph: its token vector,
// the active binding of each exclusive transition (ata, null when none is
// active), its outgoing state transitions, and the status and kind that the
// examination assigns. The key is the hash key while the graph is generated
// and the state number after the examination.
#pragma once

#include "statedata/BlockArena.h"
#include "statedata/Multiset.h"
#include "statedata/RecordPool.h"
#include "statedata/Stt.h"

// Marking status codes (printed by ShowMStatus).
enum MarkingStatus : unsigned {
    kStatusUnknown = 0,
    kStatusCounted = 1,
    kStatusInitial = 2,
    kStatusVisited = 3,
    kStatusRVisited = 4,
    kStatusLastOfSucc = 5,
    kStatusRLastOfSucc = 6,
    kStatusQSended = 7,
    kStatusDSended = 8,
};

class Marking {
public:
    Marking();
    explicit Marking(const Pms& pms);
    explicit Marking(const short* ata);  // copies no_of_exc_transitions entries
    Marking(const Pms& pms, const short* ata);
    // Copies key, status, type, vector and ata; the copy has no edges.
    Marking(const Marking& o);
    // The same copy with vector and ata placed in `blocks`, which owns them:
    // the copy never frees them, and the arena must outlive it.
    Marking(const Marking& o, BlockArena& blocks);
    Marking& operator=(const Marking& o);
    ~Marking() { Clear(); }

    // A marking over a vector and an ata that stay the caller's: a view for
    // keys and lookups, which never frees them.
    static Marking View(const Pms& pms, short* ata) { return Marking(pms, ata, true); }

    // Markings in transit (successors waiting in the queue) come and go by
    // the million: they are kept in a pool.
    static void* operator new(std::size_t) { return pool.Allocate(); }
    static void operator delete(void* p) { pool.Release(p); }

    void CreateKey();
    // The key CreateKey gives a marking with this vector and ata.
    static unsigned KeyOf(const Pms& pms, const short* ata);
    // Asks the processor to fetch the ata and the vector.
    void Prefetch() const
    {
        __builtin_prefetch(ata);
        __builtin_prefetch(pms.places);
    }
    void SetKey(unsigned k) { key = k; }
    unsigned GetKey() const { return key; }
    int GetSize() const { return pms.size; }

    // The order of the marking store: key, then ata, then vector.
    int Comp(const Marking& o) const;
    // Equal kind, ata and vector (the key is not compared).
    bool operator==(const Marking& o) const;
    bool operator!=(const Marking& o) const { return !(*this == o); }

    // New edge to target at the front of the list.
    void AddMarking(Marking& target, const DelayVal& d);
    // Adds d to an existing probability edge to an equal target when d is a
    // probability too (merged = true); otherwise as AddMarking (merged = false).
    void UAddMarking(Marking& target, const DelayVal& d, bool& merged);

    void Clean();       // frees ata and vector; status, type 0, key 1
    void Clear();       // frees the edges, then Clean
    void ClearTotal();  // also destroys the targets: temporary markings only

    // The ata may be replaced by the caller (the marking owns what it holds).
    short*& GetAta() { return ata; }
    const short* GetAta() const { return ata; }
    Pms& GetPms() { return pms; }
    const Pms& GetPms() const { return pms; }
    stt* GetStt() const { return edges; }
    stt*& GetSttList() { return edges; }
    unsigned GetStatus() const { return status; }
    void SetStatus(unsigned s) { status = s & 0xF; }
    unsigned GetType() const { return type; }
    void SetType(unsigned t) { type = t & 0xF; }
    // Set while a graph listing has printed the marking; not copied.
    bool IsListed() const { return listed; }
    void SetListed(bool l) { listed = l; }

private:
    Marking(const Pms& p, short* a, bool) : lent(1), ata(a), pms(p) {}
    void CopyFrom(const Marking& o);

    unsigned key = 1;
    unsigned : 22;
    unsigned lent : 1 = 0;    // vector and ata belong to a BlockArena or a viewer
    unsigned listed : 1 = 0;
    unsigned type : 4 = 0;    // delay-type code: the kind of the marking
    unsigned status : 4 = 0;  // MarkingStatus, top four bits of the word
    short* ata = nullptr;
    Pms pms{0, nullptr};
    stt* edges = nullptr;

    static RecordPool pool;  // never destroyed, like the pool of the edges
};
