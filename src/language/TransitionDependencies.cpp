// The dependency record of every transition: the transitions whose enabling
// its firing may change. Those are the transitions that put tokens on, or
// take tokens from, a place it touches (direct dependencies), and those
// whose guard reads such a place (indirect dependencies). Transitions whose
// delay or weight reads a place are not included. The arcs on each place
// are indexed once, so the work grows with the number of arcs.
#include <memory>
#include <unordered_map>
#include <vector>

#include "language/ClassCheck.h"
#include "language/NetWalk.h"
#include "netmodel/Registries.h"
#include "statedata/NetCounts.h"
#include "statedata/TDep.h"
#include "statedata/TDepLst.h"

namespace {

struct ClassEntry {
    TransType type;
    unsigned short index;
};

void Add(TDepLst& l, const ClassEntry& e)
{
    switch (e.type) {
        case ExclusiveClass:
            l.AddExc(static_cast<short>(e.index));
            break;
        case InfiniteClass:
            l.AddInf(static_cast<short>(e.index));
            break;
        case ImmediateClass:
            l.AddImm(static_cast<short>(e.index));
            break;
    }
}

// Appends `value` unless it is the last entry: a transition is listed once
// per place even when several of its arcs touch the place.
template <class T, class Same>
void AppendOnce(std::vector<T>& list, const T& value, Same same)
{
    if (list.empty() || !same(list.back(), value)) list.push_back(value);
}

class DependencyBuilder {
public:
    DependencyBuilder() : lists(no_of_trans) { IndexArcs(); }

    void SetDirectTransDeps()
    {
        ForEachClass(directOrder, [&](Transition& t, const ClassEntry& self) {
            auto l = std::make_unique<TDepLst>();
            Add(*l, self);
            ForEachArc(t, [&](Arc& a) {
                int p = a.GetPlace()->GetNo();
                for (const ClassEntry& e : producers[p]) Add(*l, e);  // FindInDep
                for (const ClassEntry& e : consumers[p]) Add(*l, e);  // FindOutDep
            });
            lists[t.GetNo() - 1] = std::move(l);
        });
    }

    void SetInDirectTransDeps()
    {
        ForEachClass(directOrder, [&](Transition& x, const ClassEntry& reader) {
            int_list* places = nullptr;
            CollectPlaceNos(x.GetGlobalCond().GetCell(), places);
            ForEachItem(x.GetBindings(),
                        [&](Binding& b) { CollectPlaceNos(b.GetLocalCond().GetCell(), places); });
            for (int_list* p = places; p; p = p->next)
                for (Transition* t : touching[p->value])
                    Add(*lists[t->GetNo() - 1], reader);  // SetIDTDs
            clear_lst(places);
        });
        RefTDep = new TDep*[no_of_trans];
        for (unsigned short k = 0; k < no_of_trans; ++k) RefTDep[k] = new TDep(*lists[k]);
    }

private:
    using ClassOrder = std::vector<std::pair<PtrList<Transition>*, TransType>>;

    template <class Visit>
    static void ForEachClass(const ClassOrder& order, Visit visit)
    {
        for (const auto& entry : order) {
            TransType type = entry.second;
            ForEachTransition(*entry.first, [&](Transition& t, unsigned short i) {
                visit(t, ClassEntry{type, i});
            });
        }
    }

    static void CollectPlaceNos(Cell* cell, int_list*& into)
    {
        if (!cell) return;
        if (cell->GetCellType() == FunctionCell) {
            add_int(into, cell->GetPlaceHeader()->GetNo());
            return;
        }
        for (Cell* operand : Operands(*cell)) CollectPlaceNos(operand, into);
    }

    // Who puts tokens on and takes tokens from each place, in the order of
    // the class lists; and, for the guards, every transition with an arc on
    // each place, immediate ones first.
    void IndexArcs()
    {
        auto sameEntry = [](const ClassEntry& a, const ClassEntry& b) {
            return a.type == b.type && a.index == b.index;
        };
        ForEachClass(directOrder, [&](Transition& t, const ClassEntry& e) {
            ForEachItem(t.GetBindings(), [&](Binding& b) {
                ForEachItem(b.GetOutArcs(), [&](Arc& a) {
                    AppendOnce(producers[a.GetPlace()->GetNo()], e, sameEntry);
                });
                ForEachItem(b.GetInArcs(), [&](Arc& a) {
                    AppendOnce(consumers[a.GetPlace()->GetNo()], e, sameEntry);
                });
            });
        });
        ForEachClass(guardOrder, [&](Transition& t, const ClassEntry&) {
            ForEachArc(t, [&](Arc& a) {
                AppendOnce(touching[a.GetPlace()->GetNo()], &t,
                           [](Transition* x, Transition* y) { return x == y; });
            });
        });
    }

    const ClassOrder directOrder{{&ExclusiveTransitions, ExclusiveClass},
                                 {&InfiniteTransitions, InfiniteClass},
                                 {&ImmediateTransitions, ImmediateClass}};
    const ClassOrder guardOrder{{&ImmediateTransitions, ImmediateClass},
                                {&ExclusiveTransitions, ExclusiveClass},
                                {&InfiniteTransitions, InfiniteClass}};

    std::vector<std::unique_ptr<TDepLst>> lists;  // RefTDepLst, by transition number - 1
    std::unordered_map<int, std::vector<ClassEntry>> producers;
    std::unordered_map<int, std::vector<ClassEntry>> consumers;
    std::unordered_map<int, std::vector<Transition*>> touching;
};

}  // namespace

void SetTransitionDependencies()
{
    DependencyBuilder builder;
    builder.SetDirectTransDeps();
    builder.SetInDirectTransDeps();
}
