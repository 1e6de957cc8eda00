#include "TestNet.h"

#include "NetRelease.h"

#include "netmodel/ConstVal.h"
#include "netmodel/NetArrays.h"
#include "statedata/NetCounts.h"
#include "statedata/TNos.h"

namespace {

template <class T>
T** ArrayOf(const std::vector<T*>& items)
{
    if (items.empty()) return nullptr;
    T** a = new T*[items.size()];
    for (std::size_t i = 0; i < items.size(); ++i) a[i] = items[i];
    return a;
}

}  // namespace

Place* TestNet::AddPlace(const char* name, unsigned short tokens, int capacity)
{
    Tms* slots = new_tms(0, tokens);
    headers.push_back(std::make_unique<PlaceHeader>(static_cast<int>(places.size()), name, slots));
    PTms* p = tms2ptms(slots);
    headers.back()->SetPTms(p);
    clear_ptms(p);
    clear_tms(slots);

    ConstVal bound(capacity);
    Capacity cap = capacity < 0 ? Capacity() : Capacity(NumCap, &bound);
    places.push_back(std::make_unique<Place>(headers.back().get(), cap));
    return places.back().get();
}

PtrList<Arc>* TestNet::Arcs(std::initializer_list<std::pair<Place*, unsigned short>> arcs)
{
    auto* list = new PtrList<Arc>();
    for (auto [place, quant] : arcs) {
        Tms* t = new_tms(0, quant);
        ConstVal inscription(t);
        clear_tms(t);
        list->Append(new Arc(place, &inscription));
    }
    return list;
}

Binding* TestNet::NewBinding(const Delay& d, PtrList<Arc>* in, PtrList<Arc>* out, double weight,
                             const Condition& c)
{
    return new Binding(c, weight, &d, in, out);
}

Transition* TestNet::AddTransition(const char* name, Class cls,
                                   std::initializer_list<Binding*> bindings, const Condition& guard)
{
    auto* list = new PtrList<Binding>();
    for (Binding* b : bindings) list->Append(b);
    auto* t = new Transition(name, cls == Infinite ? InfiniteServer : ExclusiveServer, guard, list);
    classes[cls].push_back(t);
    return t;
}

void TestNet::Install()
{
    no_of_places = static_cast<unsigned short>(places.size());
    no_of_exc_transitions = static_cast<unsigned short>(classes[Exclusive].size());
    no_of_imm_transitions = static_cast<unsigned short>(classes[Immediates].size());
    no_of_inf_transitions = static_cast<unsigned short>(classes[Infinite].size());

    std::vector<Place*> placePointers;
    for (std::size_t i = 0; i < places.size(); ++i) {
        headers[i]->SetNo(static_cast<int>(i));
        placePointers.push_back(places[i].get());
    }
    PlaceArray = ArrayOf(placePointers);
    ExcTrans = ArrayOf(classes[Exclusive]);
    ImmTrans = ArrayOf(classes[Immediates]);
    InfTrans = ArrayOf(classes[Infinite]);

    short number = 1;
    for (auto& cls : classes) {
        for (std::size_t i = 0; i < cls.size(); ++i) {
            cls[i]->SetNo(number++);
            cls[i]->SetExcNo(static_cast<short>(i));
            cls[i]->SetFieldPos(static_cast<unsigned short>(i + 1));
            cls[i]->EvalCellVars();
        }
    }
    RefTNos = TNos();
}

unsigned short TestNet::Tokens(const Pms& pms, int place)
{
    for (int i = 0; i < pms.size; ++i)
        if (pms.places[i].place == place) return pms.places[i].quant;
    return 0;
}

TestNet::~TestNet()
{
    for (auto& cls : classes)
        for (Transition* t : cls) ReleaseTransition(t);
    ResetNetTables(0);
}
