// Marking: one state of the reduced reachability graph: its contents (the
// token vector and the active binding of each exclusive transition, kept as
// a MarkingCode), its outgoing edges, and the status and kind that the
// examination assigns. The key is the hash key of the contents while the
// graph is generated and the state number after the examination.
//
// A graph holds millions of markings, so a marking is 32 bytes: the stored
// ones keep their codes in the store, their edges in the edge arena, and are
// named by a number of their own (their id) in the edges that lead to them.
// Markings made outside the store (start markings, test graphs) own their
// code and get an id when an edge first leads to them.
#pragma once

#include <cstdint>

#include "statedata/Multiset.h"
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
    Marking();  // empty vector, no ata, key 1
    explicit Marking(const Pms& pms);
    explicit Marking(const short* ata);  // copies no_of_exc_transitions entries
    Marking(const Pms& pms, const short* ata);
    // Copies key, status, type and contents; the copy has no edges.
    Marking(const Marking& o);
    Marking& operator=(const Marking& o);
    ~Marking();

    void CreateKey() { key = KeyOf(GetPms(), GetAta()); }
    // The key CreateKey gives a marking with this vector and ata.
    static unsigned KeyOf(const Pms& pms, const short* ata);
    void SetKey(unsigned k) { key = k; }
    // A stored marking not yet numbered answers the key of its contents.
    unsigned GetKey() const;
    int GetSize() const { return GetPms().size; }

    // The order of the marking store: key, then ata, then vector.
    int Comp(const Marking& o) const;
    // Equal kind and contents (the key is not compared).
    bool operator==(const Marking& o) const;
    bool operator!=(const Marking& o) const { return !(*this == o); }

    // New edge to target at the front of the list.
    void AddMarking(Marking& target, const DelayVal& d) { AddMarking(&target, d); }
    // The same where the target may be missing (null): such an edge is
    // only ever built by hand, to show what the later stages make of it.
    void AddMarking(Marking* target, const DelayVal& d);
    // The same for the target with this id (Id()), which is not read.
    void AddEdgeTo(std::uint32_t targetId, const DelayVal& d);
    // Adds d to an existing probability edge to an equal target when d is a
    // probability too (merged = true); otherwise as AddMarking (merged = false).
    void UAddMarking(Marking& target, const DelayVal& d, bool& merged);
    // Forgets the edges (their records stay in the arena until it is freed).
    void ClearEdges()
    {
        firstEdge = nullptr;
        edgeCount = 0;
        chainTransition = kNotLookedUp;
    }
    // The transition of the first deterministic or general edge, 0 if none.
    // The examination asks it of every edge's target, several times over:
    // it is looked up once, and again only after the edges changed.
    int ChainTransition() const;

    // The contents, read back from the code into storage of this thread that
    // the fourth next call reuses: hold them no longer than that.
    const Pms& GetPms() const;
    const short* GetAta() const;
    bool HasAta() const { return code && (code[code[0] < 128 ? 1 : 2] & 1); }
    const std::uint8_t* GetCode() const { return code; }

    // The edges in list order (the newest first); GetStt() is the first,
    // null without edges.
    EdgeCursor GetStt() const { return EdgeCursor(firstEdge, edgeCount); }
    EdgeRange Edges() const { return EdgeRange(firstEdge, edgeCount); }
    unsigned EdgeCount() const { return edgeCount; }
    // The k-th oldest edge (k < EdgeCount()): list order is k descending.
    stt& OldestEdge(std::uint32_t k) const { return firstEdge[k]; }

    unsigned GetStatus() const { return status; }
    void SetStatus(unsigned s) { status = s & 0xF; }
    unsigned GetType() const { return type; }
    void SetType(unsigned t) { type = t & 0xF; }
    // Set while a graph listing has printed the marking; not copied.
    bool IsListed() const { return listed; }
    void SetListed(bool l) { listed = l; }

    // The number edges name this marking by (registering a marking made
    // outside the store on first use).
    std::uint32_t Id();

private:
    friend class MarkingStore;
    // A stored marking: its code stays the store's.
    Marking(const std::uint8_t* stored, std::uint32_t storeId);
    void SetCode(const Pms& pms, const short* ata);
    void FreeCode();

    unsigned key = 1;  // 0: the hash key of the contents
    std::uint32_t id;
    const std::uint8_t* code = nullptr;
    stt* firstEdge = nullptr;  // the oldest; the run lies in the edge arena
    std::uint32_t edgeCount = 0;
    std::uint8_t type : 4 = 0;    // delay-type code: the kind of the marking
    std::uint8_t status : 4 = 0;  // MarkingStatus
    std::uint8_t listed : 1 = 0;
    std::uint8_t ownsCode : 1 = 0;
    // ChainTransition once looked up; in what was the object's padding.
    static constexpr std::int16_t kNotLookedUp = -1;
    mutable std::int16_t chainTransition = kNotLookedUp;
};
