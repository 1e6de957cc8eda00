// Test nets: what the description reader and the class check would leave
// behind for a net of elementary places.
#include "TestNet.h"

#include "NetRelease.h"

#include "foundation/RunState.h"
#include "netmodel/ConstVal.h"
#include "netmodel/Deterministic.h"
#include "netmodel/Exponential.h"
#include "netmodel/Function.h"
#include "netmodel/General.h"
#include "netmodel/Immediate.h"
#include "netmodel/MDMSet.h"
#include "netmodel/NetArrays.h"
#include "netmodel/Registries.h"
#include "statespace/CreateRRG.h"
#include "statedata/NetCounts.h"
#include "statedata/StateSpaceGlobals.h"
#include "statedata/TDep.h"
#include "statedata/TDepLst.h"
#include "statedata/TNos.h"

namespace {

class FixedWeight : public Delay {
public:
    explicit FixedWeight(double w) : weight(w) {}
    CellVal* Calculate() override { return nullptr; }
    double CalculateFloat() override { return weight; }
    Cell* GetCell() const override { return nullptr; }
    int GetDelayType() const override { return kDelayImmediate; }
    bool IsPlaceDependent() override { return false; }
    Delay* Copy() const override { return new FixedWeight(weight); }
    void Clear() override {}
    Delay& operator=(const Delay*) override { return *this; }
    Delay& operator=(const Delay&) override { return *this; }
    bool operator==(const Delay&) const override { return false; }

private:
    double weight;
};

template <class D>
std::shared_ptr<Delay> CellDelayOfNumber(double x)
{
    ConstVal number(x);
    return std::make_shared<D>(&number);
}

PtrList<Arc>* MakeArcs(const std::vector<Flow>& flows)
{
    if (flows.empty()) return nullptr;
    auto* arcs = new PtrList<Arc>();
    for (const Flow& f : flows) {
        Tms* t = new_tms(0, f.tokens);
        ConstVal inscription(t);
        clear_tms(t);
        arcs->Append(new Arc(f.place, &inscription));
    }
    return arcs;
}

template <class Visit>
void EachArcPlace(Transition& t, Visit visit)
{
    for (PLElement<Binding>* b = t.GetBindings()->first; b; b = b->next) {
        for (PtrList<Arc>* arcs : {b->item->GetInArcs(), b->item->GetOutArcs()})
            if (arcs)
                for (PLElement<Arc>* a = arcs->first; a; a = a->next)
                    visit(a->item->GetPlace()->GetNo());
    }
}

bool TouchesPlace(Transition& t, int place, bool output)
{
    for (PLElement<Binding>* b = t.GetBindings()->first; b; b = b->next) {
        PtrList<Arc>* arcs = output ? b->item->GetOutArcs() : b->item->GetInArcs();
        if (arcs)
            for (PLElement<Arc>* a = arcs->first; a; a = a->next)
                if (a->item->GetPlace()->GetNo() == place) return true;
    }
    return false;
}

bool CountsPlace(const Condition& c, int place)
{
    return c.Numeric() && !c.Numeric()->AllCounts([place](const Function& f) {
        return !f.GetConstPlaceHeader() || f.GetConstPlaceHeader()->GetNo() != place;
    });
}

// Whether a condition of t counts the place (the guards tests build are
// numeric).
bool GuardCountsPlace(Transition& t, int place)
{
    if (CountsPlace(t.GetGlobalCond(), place)) return true;
    for (PLElement<Binding>* b = t.GetBindings()->first; b; b = b->next)
        if (CountsPlace(b->item->GetLocalCond(), place)) return true;
    return false;
}

// The transitions that put tokens on the place, take them from it, or
// count it in a guard.
void AddDependents(TDepLst& deps, int place)
{
    auto depends = [place](Transition& t) {
        return TouchesPlace(t, place, true) || TouchesPlace(t, place, false) || GuardCountsPlace(t, place);
    };
    short i = 0;
    for (PLElement<Transition>* t = ExclusiveTransitions.first; t; t = t->next, ++i)
        if (depends(*t->item)) deps.AddExc(i);
    i = 0;
    for (PLElement<Transition>* t = InfiniteTransitions.first; t; t = t->next, ++i)
        if (depends(*t->item)) deps.AddInf(i);
    i = 0;
    for (PLElement<Transition>* t = ImmediateTransitions.first; t; t = t->next, ++i)
        if (depends(*t->item)) deps.AddImm(i);
}

template <class Add>
void BuildDependencies(PtrList<Transition>& list, Add addSelf)
{
    short i = 0;
    for (PLElement<Transition>* t = list.first; t; t = t->next, ++i) {
        TDepLst deps;
        addSelf(deps, i);
        EachArcPlace(*t->item, [&deps](int place) { AddDependents(deps, place); });
        RefTDep[t->item->GetNo() - 1] = new TDep(deps);
    }
}

Transition** ClassArray(PtrList<Transition>& list)
{
    if (list.count == 0) return nullptr;
    auto** array = new Transition*[list.count];
    int i = 0;
    for (PLElement<Transition>* t = list.first; t; t = t->next, ++i) {
        array[i] = t->item;
        t->item->SetFieldPos(static_cast<unsigned short>(i + 1));
        t->item->SetExcNo(static_cast<short>(i));
    }
    return array;
}

void ResetStateSpace()
{
    ReleaseRRG();
    InitialMarking = nullptr;
    GlobalMDMSetList.Clear();
    MHash.Clear();
    NPMHash.Clear();
    for (unsigned& c : MCount) c = 0;
    MLists.det_smcs.SoftClear();
    MLists.gen_smcs.SoftClear();
    MLists.exp_markings.SoftClear();
    MLists.imm_markings.SoftClear();
    MLists.pro_markings.SoftClear();
    MLists.other_markings.SoftClear();
    DetMarkingSMChains.HardClear();
    GenMarkingSMChains.HardClear();
    SPECIAL_DEBUG = 0;
}

}  // namespace

std::shared_ptr<Delay> Exp(double rate)
{
    return CellDelayOfNumber<Exponential>(1.0 / rate);
}
std::shared_ptr<Delay> Det(double delay)
{
    return CellDelayOfNumber<Deterministic>(delay);
}
std::shared_ptr<Delay> Gen()
{
    return std::make_shared<General>(Str("pmf"));
}
std::shared_ptr<Delay> Imm(double weight)
{
    return CellDelayOfNumber<Immediate>(weight);
}
std::shared_ptr<Delay> RawWeight(double weight)
{
    return std::make_shared<FixedWeight>(weight);
}

TestNet::TestNet()
{
    ResetStateSpace();
    ResetNetTables(0);
}

TestNet::~TestNet()
{
    ResetStateSpace();
    ResetNetTables(static_cast<int>(transitions.size()));
    for (PtrList<Transition>* list :
         {&ExclusiveTransitions, &InfiniteTransitions, &ImmediateTransitions, &GeneralTransitions})
        list->SoftClear();
    PlaceRefs.SoftClear();
    for (Transition* t : transitions) ReleaseTransition(t);
    for (Place* p : places) delete p;
    for (PlaceHeader* h : headers) delete h;
}

Place* TestNet::AddPlace(const char* name, unsigned short initial, int capacity)
{
    Tms* tms = initial ? new_tms(0, initial) : nullptr;
    auto* header = new PlaceHeader(static_cast<int>(places.size()), Str(name), tms);
    clear_tms(tms);
    header->SetPT(ElementaryPlace);
    headers.push_back(header);
    Capacity cap;
    if (capacity != kUnbounded) {
        ConstVal bound(capacity);
        cap = Capacity(NumCap, &bound);
    }
    auto* place = new Place(header, cap);
    places.push_back(place);
    PlaceRefs.Append(place);
    return place;
}

Transition* TestNet::Add(const char* name, std::vector<BindingShape> shapes, ServerType server)
{
    auto* bindings = new PtrList<Binding>();
    for (const BindingShape& shape : shapes) {
        bindings->Append(new Binding(Condition(true), shape.weight, shape.delay.get(),
                                     MakeArcs(shape.in), MakeArcs(shape.out)));
    }
    auto* t = new Transition(Str(name), server, Condition(true), bindings);
    t->SetNo(static_cast<short>(transitions.size() + 1));
    transitions.push_back(t);

    // The generation mode asks only whether deterministic or general
    // transitions exist at all.
    bool det = false, gen = false;
    for (PLElement<Binding>* b = bindings->first; b; b = b->next) {
        if (b->item->GetDelayType() == kDelayDeterministic && !det) {
            det = true;
            ++no_of_det_transitions;
            DetMarkingSMChains.Append(new SMChain(t->GetNo()));
        }
        if (b->item->GetDelayType() == kDelayGeneral && !gen) {
            gen = true;
            ++no_of_gen_transitions;
            GenMarkingSMChains.Append(new SMChain(t->GetNo()));
            GeneralTransitions.Append(t);
        }
    }
    if (bindings->first->item->GetDelayType() == kDelayImmediate)
        ImmediateTransitions.Append(t);
    else if (server == InfiniteServer)
        InfiniteTransitions.Append(t);
    else
        ExclusiveTransitions.Append(t);
    return t;
}

void TestNet::Finish()
{
    no_of_places = static_cast<unsigned short>(places.size());
    no_of_exc_transitions = static_cast<unsigned short>(ExclusiveTransitions.count);
    no_of_imm_transitions = static_cast<unsigned short>(ImmediateTransitions.count);
    no_of_inf_transitions = static_cast<unsigned short>(InfiniteTransitions.count);
    no_of_trans = static_cast<unsigned short>(transitions.size());

    PlaceArray = new Place*[places.size()];
    for (std::size_t i = 0; i < places.size(); ++i) {
        PlaceArray[i] = places[i];
        PlaceHeader* h = places[i]->GetPlaceHeader();
        h->SetNo(static_cast<int>(i));
        PTmsSlot slot{0, h->GetTmsQuant()};
        PTms slots{1, slot.quant, static_cast<unsigned short>(slot.quant ? 1 : 0), &slot};
        sort_ptms(&slots);
        h->SetPTms(&slots);
        places[i]->EvalCellVars();
    }
    for (Transition* t : transitions) t->EvalCellVars();

    ExcTrans = ClassArray(ExclusiveTransitions);
    ImmTrans = ClassArray(ImmediateTransitions);
    InfTrans = ClassArray(InfiniteTransitions);

    RefTDep = new TDep*[transitions.size()]();
    BuildDependencies(ExclusiveTransitions, [](TDepLst& d, short i) { d.AddExc(i); });
    BuildDependencies(InfiniteTransitions, [](TDepLst& d, short i) { d.AddInf(i); });
    BuildDependencies(ImmediateTransitions, [](TDepLst& d, short i) { d.AddImm(i); });

    RefTNos = TNos();
    MLists.det_smcs = DetMarkingSMChains;
    MLists.gen_smcs = GenMarkingSMChains;
    MHash.CreateHash(kMarkingBuckets, kShowNothing);
    if (no_of_imm_transitions != 0) NPMHash.CreateHash(kVanishingBuckets, kShowNothing);
}
