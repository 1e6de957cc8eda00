// Transitions: construction checks and the firing entry points of the graph
// generation.
#include "netmodel/Transition.h"

#include "foundation/Reporters.h"
#include "netmodel/MarkingVectors.h"
#include "statedata/NPMarking.h"
#include "statedata/TNos.h"

namespace {

template <class Action>
void EachBinding(PtrList<Binding>* bindings, Action action)
{
    if (!bindings) return;
    for (PLElement<Binding>* e = bindings->first; e; e = e->next) action(*e->item);
}

// A vanishing successor built from the new contents.
void AppendVanishing(PtrList<NPMarking>*& list, double weight, unsigned short i)
{
    auto* n = new NPMarking(weight);
    MakeNewPms(n->GetPms());
    n->SetNo(i);
    if (!list) list = new PtrList<NPMarking>();
    list->Append(n);
}

}  // namespace

Transition::Transition(const Str& name, ServerType st, const Condition& c, PtrList<Binding>* b)
    : Textual(kText, name), serverType(st), globalCond(c)
{
    if (b && b->count > 0)
        bindings = b;
    else
        delete b;
    CheckServer(41, "Transition(Str&, ServerType, Condition, Bindings*)");
}

Transition::Transition(const Transition& t)
    : Textual(t), no(t.no), serverType(t.serverType), globalCond(t.globalCond), bindings(t.bindings)
{
    CheckServer(27, "Transition(const Transition& t)");
}

Transition& Transition::operator=(const Transition& t)
{
    if (this == &t) return *this;
    Textual::operator=(t);
    no = t.no;
    excNo = -1;
    fieldPos = 0;
    serverType = t.serverType;
    globalCond = t.globalCond;
    bindings = t.bindings;
    CheckServer(203, "operator =");
    return *this;
}

// An infinite server cannot serve a deterministic delay.
void Transition::CheckServer(int line, const char* function) const
{
    if (serverType != InfiniteServer || !bindings) return;
    if (bindings->first->item->GetDelayType() == kDelayDeterministic)
        TransError(line, function, "servertype=infinite, delay=deterministic");
}

void Transition::ClassChk() const
{
    if (!bindings || bindings->count == 0)
        TransError(63, "ClassChk()", "no binding in transition defined");
    EachBinding(bindings, [](Binding& b) { b.ClassChk(); });
}

void Transition::EvalCellVars()
{
    globalCond.EvalCond();
    EachBinding(bindings, [](Binding& b) { b.EvalCellVars(); });
}

Binding* Transition::FireActive(const short* ata, double& value)
{
    value = 0.0;
    if (!ata || fieldPos == 0 || !bindings) return nullptr;
    short k = ata[fieldPos - 1];
    Binding* b = bindings->GetLE(k);
    if (b) value = b->ChkAndFireExc(k);
    return b;
}

bool Transition::ChkAndFireImm(PtrList<NPMarking>*& list, double& sum, unsigned short i)
{
    if (!globalCond.ActCondTrue()) return false;
    bool fired = false;
    EachBinding(bindings, [&](Binding& b) {
        double before = sum;
        double w = b.ChkAndFireImm();
        sum += w;
        if (sum != before) {
            AppendVanishing(list, w, i);
            RefTNos.AddImmBind(&b, i);
            fired = true;
        }
        b.CpyActToNew();
    });
    return fired;
}

bool Transition::FireImm(PtrList<NPMarking>*& list, double& sum, unsigned short i)
{
    if (!RefTNos.imm_binds || i >= RefTNos.ImmCount() || !RefTNos.imm_binds[i]) return false;
    bool fired = false;
    for (Binding* b : *RefTNos.imm_binds[i]) {
        double w = b->Fire();
        sum += w;
        AppendVanishing(list, w, i);
        b->CpyActToNew();
        fired = true;
    }
    return fired;
}

bool Transition::ChkAndActExc(exc_marks& em)
{
    if (!globalCond.ActCondTrue()) return false;
    // New branches go to the head when it is still unused, and after the
    // current tail of its chain otherwise.
    bool headWasFree = em.used == 0;
    exc_marks* tail = nullptr;
    if (!headWasFree) {
        tail = em.last ? em.last : em.more;
        while (tail && tail->next) tail = tail->next;
    }

    double total = 0.0;
    int branches = 0;
    short k = 0;
    EachBinding(bindings, [&](Binding& b) {
        ++k;
        if (!b.IsActEnabled()) return;
        total += b.GetWeight();
        short* ata = make_new_ata(em.ata, excNo, k);
        add_ems(em, DelayVal(b.GetWeight(), kDelayProbability, excNo), ata);
        ++branches;
    });
    if (branches == 0 || total == 0.0) return false;

    // The weights become branching probabilities.
    auto share = [total](exc_marks& e) { e.SetDelayVal(e.GetDelayVal() / total); };
    if (headWasFree) share(em);
    exc_marks* first = headWasFree ? em.more : (tail ? tail->next : em.more);
    for (exc_marks* e = first; e; e = e->next) share(*e);
    return true;
}

void Transition::Clear()
{
    globalCond.Clear();
    bindings = nullptr;
}

void Transition::TransError(int line, const char* function, const char* description) const
{
    Fatal(RRGError("Pendra/src/Transition", line, function, description, GetString().GetCChar()),
          kExitNetModel);
}
