// Arc: connects a binding to a place with an inscription, the expression of
// the token multiset it moves. An inscription that reads no marking is
// folded once into a constant multiset; the others are evaluated on the
// actual contents at each use.
#pragma once

#include <cstdint>
#include <memory>

#include "netmodel/Cell.h"
#include "netmodel/Place.h"

class Arc {
public:
    Arc() = default;
    Arc(Place* p, const Cell* c) : place(p), cell(c ? c->Copy() : nullptr) {}
    Arc(const Arc& o) : place(o.place), cell(o.cell ? o.cell->Copy() : nullptr) {}
    Arc& operator=(const Arc& o);
    ~Arc() { Clear(); }

    void Clear();
    Place* GetPlace() const { return place; }
    Cell* GetTmsCell() const { return cell; }

    void ClassChk() const;
    void EvalCellVars();
    // A new copy of the inscription multiset, owned by the caller (null for
    // an empty one).
    Tms* GetTms() const;
    // Total number of tokens the inscription moves.
    unsigned short GetTmsQuant() const;

    void FireIn();
    void FireOut();
    bool ActContentsOk() const;
    bool NewContentsOk() const;
    bool ActCapacityOk() const;
    bool NewCapacityOk() const;
    bool NewCapacityOkAfterFire() const { return place->NewCapacityOk(); }
    int ActChkIfInOutPlace(const Arc* other) const;
    int NewChkIfInOutPlace(const Arc* other) const;
    void CpyActToNew() { place->CpyActToNew(); }

    bool operator==(const Arc& o) const;
    bool operator!=(const Arc& o) const { return !(*this == o); }

    // The multiset the arc moves: the folded constant, or the multiset of a
    // fresh evaluation (on the actual contents) kept alive in `holder`. Null
    // for an empty inscription.
    const Tms* Inscription(std::unique_ptr<CellVal>& holder) const;
    // Changes whenever an arc's folded inscription may have changed, so that
    // what was worked out from inscriptions can be kept until then.
    static std::uint64_t FoldEpoch();

    [[noreturn]] static void ArcErr(int line, const char* function, const char* description);

private:

    Place* place = nullptr;
    Cell* cell = nullptr;
    Tms* tms = nullptr;
};
