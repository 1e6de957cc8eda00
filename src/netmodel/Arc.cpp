// Arcs: folding, the contents and capacity tests, and firing.
#include "netmodel/Arc.h"

#include "foundation/Reporters.h"

namespace {

bool IsEmpty(const Tms* t) { return !t || !t->first; }

std::uint64_t foldEpoch = 0;

}  // namespace

Arc& Arc::operator=(const Arc& o)
{
    if (this == &o) return *this;
    Cell* copy = o.cell ? o.cell->Copy() : nullptr;
    Clear();
    place = o.place;
    cell = copy;
    return *this;
}

std::uint64_t Arc::FoldEpoch()
{
    return foldEpoch;
}

void Arc::Clear()
{
    ++foldEpoch;
    delete cell;
    cell = nullptr;
    clear_tms(tms);
    place = nullptr;
}

void Arc::ClassChk() const
{
    if (!cell) ArcErr(37, "ClassChk()", "arc multiset is not defined");
    if (!place) ArcErr(38, "ClassChk()", "arc place is not defined");
}

void Arc::EvalCellVars()
{
    if (place) place->EvalCellVars();
    if (!cell || cell->IsPlaceDependent()) return;
    std::unique_ptr<CellVal> v(cell->Calculate());
    clear_tms(tms);
    tms = copy_tms(v->GetConstTms());
    ++foldEpoch;
}

const Tms* Arc::Inscription(std::unique_ptr<CellVal>& holder) const
{
    if (tms) return tms;
    if (!cell) return nullptr;
    holder.reset(cell->Calculate());
    return holder->GetConstTms();
}

Tms* Arc::GetTms() const
{
    std::unique_ptr<CellVal> holder;
    return copy_tms(Inscription(holder));
}

unsigned short Arc::GetTmsQuant() const
{
    std::unique_ptr<CellVal> holder;
    const Tms* t = Inscription(holder);
    return IsEmpty(t) ? 0 : t->quant;
}

void Arc::FireIn()
{
    std::unique_ptr<CellVal> holder;
    const Tms* t = Inscription(holder);
    if (!IsEmpty(t)) place->GetPlaceHeader()->FireIn(t);
}

void Arc::FireOut()
{
    std::unique_ptr<CellVal> holder;
    const Tms* t = Inscription(holder);
    if (!IsEmpty(t)) place->GetPlaceHeader()->FireOut(t);
}

bool Arc::ActContentsOk() const
{
    std::unique_ptr<CellVal> holder;
    const Tms* t = Inscription(holder);
    return !IsEmpty(t) && place->ActContentsOk(t);
}

bool Arc::NewContentsOk() const
{
    std::unique_ptr<CellVal> holder;
    const Tms* t = Inscription(holder);
    return !IsEmpty(t) && place->NewContentsOk(t);
}

bool Arc::ActCapacityOk() const
{
    unsigned short n = GetTmsQuant();
    return n == 0 || place->ActCapacityOk(n);
}

bool Arc::NewCapacityOk() const
{
    unsigned short n = GetTmsQuant();
    return n == 0 || place->NewCapacityOk(n);
}

// Both arcs touch the same place here, so the difference of the two contents
// totals is always 0: the test is whether the place is within its capacity.
int Arc::ActChkIfInOutPlace(const Arc* other) const
{
    if (!other || other->place->GetNo() != place->GetNo()) return 1;
    long n = static_cast<long>(other->place->GetActTmsQuant()) - place->GetActTmsQuant();
    return place->ActCapacityOk(n) ? 0 : -1;
}

int Arc::NewChkIfInOutPlace(const Arc* other) const
{
    if (!other || other->place->GetNo() != place->GetNo()) return 1;
    long n = static_cast<long>(other->place->GetNewTmsQuant()) - place->GetNewTmsQuant();
    return place->NewCapacityOk(n) ? 0 : -1;
}

bool Arc::operator==(const Arc& o) const
{
    bool samePlace = place && o.place ? *place == *o.place : place == o.place;
    if (!samePlace) return false;
    if (!cell || !o.cell) return cell == o.cell;
    return *cell == *o.cell;
}

void Arc::ArcErr(int line, const char* function, const char* description)
{
    Fatal(RRGError("Pendra/src/Arc", line, function, description), kExitNetModel);
}
