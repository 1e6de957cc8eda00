// Bindings: checks, enabling tests and firing. These run for every binding
// of every examined marking, so they read the folded arc multisets in place
// and allocate only for successors.
#include "netmodel/Binding.h"

#include "foundation/Reporters.h"
#include "netmodel/MarkingVectors.h"

namespace {

template <class Test>
bool AllArcs(const PtrList<Arc>* arcs, Test test)
{
    if (!arcs) return true;
    for (const PLElement<Arc>* e = arcs->first; e; e = e->next)
        if (!test(*e->item)) return false;
    return true;
}

template <class Action>
void EachArc(PtrList<Arc>* arcs, Action action)
{
    if (!arcs) return;
    for (PLElement<Arc>* e = arcs->first; e; e = e->next) action(*e->item);
}

bool SameLists(const PtrList<Arc>* a, const PtrList<Arc>* b)
{
    if (!a || !b) return a == b;
    return *a == *b;
}

}  // namespace

Binding::Binding(const Binding& o)
    : localCond(o.localCond),
      weight(o.weight),
      delay(o.delay ? o.delay->Copy() : nullptr),
      inArcs(o.inArcs),
      outArcs(o.outArcs)
{
}

Binding& Binding::operator=(const Binding& o)
{
    if (this == &o) return *this;
    Delay* copy = o.delay ? o.delay->Copy() : nullptr;
    Clear();
    localCond = o.localCond;
    weight = o.weight;
    delay = copy;
    inArcs = o.inArcs;
    outArcs = o.outArcs;
    return *this;
}

void Binding::Clear()
{
    localCond.Clear();
    delete delay;
    delay = nullptr;
    inArcs = nullptr;
    outArcs = nullptr;
    repeatPlan.reset();
}

void Binding::ClassChk() const
{
    if (!inArcs && !outArcs) BindErr(102, "ClassChk()", "no arcs in binding defined");
    if (!delay) BindErr(104, "ClassChk()", "no delay in binding defined");
    if (inArcs) {
        if (inArcs->count == 0) BindErr(109, "ClassChk()", "empty inarc list in binding defined");
        EachArc(inArcs, [](Arc& a) { a.ClassChk(); });
    }
    if (outArcs) {
        if (outArcs->count == 0)
            BindErr(117, "ClassChk()", "empty outarc list in binding defined");
        EachArc(outArcs, [](Arc& a) { a.ClassChk(); });
    }
}

void Binding::EvalCellVars()
{
    localCond.EvalCond();
    EachArc(inArcs, [](Arc& a) { a.EvalCellVars(); });
    EachArc(outArcs, [](Arc& a) { a.EvalCellVars(); });
}

bool Binding::CheckActIn() const
{
    return AllArcs(inArcs, [](const Arc& a) { return a.ActContentsOk(); });
}

bool Binding::CheckNewIn() const
{
    return AllArcs(inArcs, [](const Arc& a) { return a.NewContentsOk(); });
}

bool Binding::CheckActOut() const
{
    return AllArcs(outArcs, [](const Arc& a) { return a.ActCapacityOk(); });
}

bool Binding::CheckNewOut() const
{
    return AllArcs(outArcs, [](const Arc& a) { return a.NewCapacityOk(); });
}

bool Binding::CheckNewOutAfterFire() const
{
    return AllArcs(outArcs, [](const Arc& a) { return a.NewCapacityOkAfterFire(); });
}

// A place that is both input and output only has to take the surplus the
// binding puts on it; the test is made on the new contents.
bool Binding::CheckInOut() const
{
    return AllArcs(outArcs, [this](const Arc& out) {
        // An unbounded place takes any surplus: the sum is not needed.
        if (out.GetPlace()->GetCapacity().GetCap() == Capacity::kUnbounded) return true;
        int place = out.GetPlace()->GetNo();
        long in = 0;
        EachArc(inArcs, [&in, place](Arc& a) {
            if (a.GetPlace()->GetNo() == place) in += a.GetTmsQuant();
        });
        long surplus = out.GetTmsQuant() - in;
        return surplus <= 0 || out.GetPlace()->NewCapacityOk(surplus);
    });
}

bool Binding::IsActEnabled() const
{
    if (!localCond.ActCondTrue()) return false;
    if (HasIn() && HasOut()) return CheckActInOut();
    if (HasOut()) return CheckActOut();
    return CheckActIn();
}

bool Binding::IsNewEnabled() const
{
    if (!localCond.NewCondTrue()) return false;
    if (HasIn() && HasOut()) return CheckNewInOut();
    if (HasOut()) return CheckNewOut();
    return CheckNewIn();
}

void Binding::FireArcs()
{
    EachArc(inArcs, [](Arc& a) { a.FireIn(); });
    EachArc(outArcs, [](Arc& a) { a.FireOut(); });
}

double Binding::Fire()
{
    FireArcs();
    return Value();
}

double Binding::ChkAndFireExc(short)
{
    FireArcs();
    if (HasOut() && !CheckNewOutAfterFire()) return 0.0;
    return Value();
}

double Binding::TestAndFire(bool onNew)
{
    if (!(onNew ? localCond.NewCondTrue() : localCond.ActCondTrue())) return 0.0;
    if (HasIn() && HasOut()) {
        if (!(onNew ? CheckNewInOut() : CheckActInOut())) return 0.0;
    } else if (HasIn()) {
        if (!(onNew ? CheckNewIn() : CheckActIn())) return 0.0;
    } else if (HasOut()) {
        if (!(onNew ? CheckNewOut() : CheckActOut())) return 0.0;
    }
    FireArcs();
    if (HasOut() && !CheckNewOutAfterFire()) return 0.0;
    return Value();
}

double Binding::ChkAndFireImm() { return TestAndFire(false); }

double Binding::VirtualFire() { return TestAndFire(true); }

DelayVal Binding::Record(double v, int transNo) const
{
    auto trans = static_cast<short>(transNo);
    if (GetDelayType() == kDelayGeneral) return DelayVal(0.0, kDelayGeneral, trans);
    return DelayVal(v, GetDelayType(), trans);
}

void Binding::FireInf(const short* ata, int transNo, PendingMarking*& succ, DelayVal& dv)
{
    double v = Fire();
    succ = MakeSuccessorMarking(ata, transNo);
    dv = Record(v * EnablingDegree(), transNo);
}

int Binding::EnablingDegree()
{
    int further = FurtherFirings(kMaxEnablingDegree - 1);
    if (further >= 0) return 1 + further;
    int k = 1;
    while (k < kMaxEnablingDegree && VirtualFire() != 0.0) ++k;
    return k;
}

void Binding::ChkAndFireInf(const short* ata, int transNo, PendingMarking*& succ,
                            DelayVal& dv)
{
    double v = VirtualFire();
    if (v == 0.0) return;
    succ = MakeSuccessorMarking(ata, transNo);
    dv = Record(v * EnablingDegree(), transNo);
}

void Binding::CpyActToNew()
{
    EachArc(inArcs, [](Arc& a) { a.CpyActToNew(); });
    EachArc(outArcs, [](Arc& a) { a.CpyActToNew(); });
}

bool Binding::operator==(const Binding& o) const
{
    if (weight != o.weight || localCond != o.localCond) return false;
    if (!delay || !o.delay) {
        if (delay != o.delay) return false;
    } else if (*delay != *o.delay) {
        return false;
    }
    return SameLists(inArcs, o.inArcs) && SameLists(outArcs, o.outArcs);
}

void Binding::BindErr(int line, const char* function, const char* description)
{
    Fatal(RRGError("Pendra/src/Binding", line, function, description), kExitNetModel);
}
