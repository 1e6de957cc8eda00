// The colour slots of the places: every colour that can ever lie on a place,
// found from the inscriptions of the arcs that lead into it. An inscription
// that takes the contents of other places ("@") can produce whatever can lie
// on those; the colours of each place are collected once and kept, and a
// place whose colours depend on themselves is a loop.
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "foundation/Reporters.h"
#include "language/ClassCheck.h"
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
    ForEachOperand(cell, [&](Cell& c) { CreateTMS(c, into); });
}

// Names of the places read by "@" functions, without repetition, in order of
// first appearance.
void CollectPlaceNames(Cell& cell, std::vector<std::string>& into)
{
    if (cell.GetCellType() == FunctionCell) {
        if (cell.GetOp() != ContentsOp) return;
        std::string name = cell.GetPlaceHeader()->GetName().GetString().GetCChar();
        for (const std::string& known : into)
            if (known == name) return;
        into.push_back(name);
        return;
    }
    ForEachOperand(cell, [&](Cell& c) { CollectPlaceNames(c, into); });
}

class ColourCollector {
public:
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
        for (PtrList<Transition>* list :
             {&ExclusiveTransitions, &InfiniteTransitions, &ImmediateTransitions})
            ForEachItem(list, [&](Transition& t) {
                ForEachItem(t.GetBindings(), [&](Binding& b) {
                    ForEachItem(b.GetOutArcs(), [&](Arc& a) {
                        if (a.GetPlace()->GetName() == place.c_str())
                            AddArcTms(place, *a.GetTmsCell(), colours);
                    });
                });
            });
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
        std::vector<std::string> read;
        CollectPlaceNames(cell, read);
        if (read.empty()) {
            CreateTMS(cell, into);
            return;
        }
        for (const std::string& source : read) {
            if (inProgress.count(source))
                SubErr(290, "GetArcTms()", "loop in functions", Str(source.c_str()),
                       Str(place.c_str()));
            add_tms(into, CollectTMS(source));
        }
    }

    std::map<std::string, Tms*> collected;
    std::set<std::string> inProgress;
};

bool IsEmpty(const Tms* t)
{
    return !t || !t->first;
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
        PTms* slots = tms2ptms(colours);
        initptmsWtms(slots, p.GetTms());
        sort_ptms(slots);
        p.GetPlaceHeader()->SetPTms(slots);
        clear_ptms(slots);
        clear_tms(colours);
    });
}
