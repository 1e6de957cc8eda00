// The colour slots of the places: every colour that can ever lie on a place,
// found from the inscriptions of the arcs that lead into it. An inscription
// that takes the contents of other places ("@") can produce whatever can lie
// on those; the colours of each place are collected once and kept, and a
// place whose colours depend on themselves is a loop.
#include <map>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "foundation/Reporters.h"
#include "language/ClassCheck.h"
#include "language/NameLookup.h"
#include "language/NetWalk.h"
#include "netmodel/Registries.h"

namespace {

void CreateTMS(Cell& cell, Tms*& into)
{
    if (cell.GetCellType() == ConstValCell) {
        int type = cell.GetResultType();
        if (type == ElementaryMultiset || type == ProductMultiset) {
            std::unique_ptr<CellVal> value(cell.Calculate());
            add_tms(into, value->GetTms());
        }
        return;
    }
    for (Cell* operand : Operands(cell))
        if (operand) CreateTMS(*operand, into);
}

// Names of the places read by "@" functions, without repetition, in order of
// first appearance.
struct PlaceNames {
    std::vector<std::string> inOrder;
    std::unordered_set<std::string> known;
};

void CollectPlaceNames(Cell& cell, PlaceNames& into)
{
    if (cell.GetCellType() == FunctionCell) {
        if (cell.GetOp() != ContentsOp) return;
        std::string name = cell.GetPlaceHeader()->GetName().GetString().GetCChar();
        if (into.known.insert(name).second) into.inOrder.push_back(name);
        return;
    }
    for (Cell* operand : Operands(cell))
        if (operand) CollectPlaceNames(*operand, into);
}

class ColourCollector {
public:
    // The output arcs of every transition, by the name of their place.
    ColourCollector()
    {
        for (PtrList<Transition>* list :
             {&ExclusiveTransitions, &InfiniteTransitions, &ImmediateTransitions})
            ForEachItem(list, [&](Transition& t) {
                ForEachItem(t.GetBindings(), [&](Binding& b) {
                    ForEachItem(b.GetOutArcs(), [&](Arc& a) {
                        arcsInto[NameKey(a.GetPlace()->GetName().GetString())].push_back(&a);
                    });
                });
            });
    }

    ~ColourCollector()
    {
        for (auto& entry : collected) clear_tms(entry.second);
    }

    // The colours the arcs into the place can bring, owned by the collector.
    const Tms* CollectTMS(const std::string& place)
    {
        auto known = collected.find(place);
        if (known != collected.end()) return known->second;
        inProgress.insert(place);
        Tms* colours = nullptr;
        auto arcs = arcsInto.find(place);
        if (arcs != arcsInto.end())
            for (Arc* a : arcs->second) AddArcTms(place, *a->GetTmsCell(), colours);
        inProgress.erase(place);
        collected[place] = colours;
        return colours;
    }

private:
    void AddArcTms(const std::string& place, Cell& cell, Tms*& into)
    {
        if (!cell.IsPlaceDependent()) {
            std::unique_ptr<CellVal> value(cell.Calculate());
            add_tms(into, value->GetTms());
            return;
        }
        PlaceNames read;
        CollectPlaceNames(cell, read);
        if (read.inOrder.empty()) {
            CreateTMS(cell, into);
            return;
        }
        for (const std::string& source : read.inOrder) {
            if (inProgress.count(source))
                SubErr(290, "GetArcTms()", "loop in functions", Str(source.c_str()),
                       Str(place.c_str()));
            add_tms(into, CollectTMS(source));
        }
    }

    std::unordered_map<std::string, std::vector<Arc*>> arcsInto;
    std::map<std::string, Tms*> collected;
    std::set<std::string> inProgress;
};

bool IsEmpty(const Tms* t)
{
    return !t || !t->first;
}

// A place's slots are counted and indexed in 16 signed bits.
constexpr int kMaxColourSlots = 32767;

bool HasTooManyColours(const Tms* t)
{
    int n = 0;
    for (const ltoken* e = t ? t->first : nullptr; e; e = e->next)
        if (++n > kMaxColourSlots) return true;
    return false;
}

}  // namespace

void Tms2PTms()
{
    ColourCollector collector;
    ForEachItem(&PlaceRefs, [&](Place& p) {
        const Str& name = p.GetName().GetString();
        Tms* colours = copy_tms(collector.CollectTMS(name.GetCChar()));
        add_tms(colours, p.GetTms());
        if (IsEmpty(colours))
            SubErr(250, "Tms2PTms()", "collected empty tokenmultiset", name, name);
        if (HasTooManyColours(colours))
            SubErr(251, "Tms2PTms()", "too many colours on place (max = 32767)", name, name);
        PTms* slots = tms2ptms(colours);
        initptmsWtms(slots, p.GetTms());
        sort_ptms(slots);
        p.GetPlaceHeader()->SetPTms(slots);
        clear_ptms(slots);
        clear_tms(colours);
    });
}
