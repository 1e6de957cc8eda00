// Rates from the delay tables. The tables are small (a few transitions per
// sub-model) while the graph may hold millions of edges, so the winning
// entry of each transition is looked up once per pass.
#include "run/SetRates.h"

#include "netmodel/Registries.h"
#include "netmodel/Transition.h"
#include "run/DelayTables.h"
#include "run/RunExit.h"
#include "statedata/StateSpaceGlobals.h"

#include <cmath>
#include <iostream>
#include <unordered_map>

namespace {

struct RateSource {
    const DelayEntry* entry;
    const Str* subModel;
};

// Per transition number the entry that sets its rate: the first entry of a
// sub-model wins within it, and later sub-models overwrite earlier ones.
std::unordered_map<int, RateSource> WinningEntries()
{
    std::unordered_map<int, RateSource> winners;
    unsigned i = 0;
    for (PLElement<Str>* subModel = subnames.first; subModel && i < transitionsarrays.size();
         subModel = subModel->next, ++i) {
        if (static_cast<int>(i) == mynumber) continue;
        std::unordered_map<int, RateSource> firsts;
        for (const DelayEntry& entry : transitionsarrays[i])
            firsts.try_emplace(entry.transNo, RateSource{&entry, subModel->item});
        for (const auto& [transNo, source] : firsts) winners[transNo] = source;
    }
    return winners;
}

[[noreturn]] void NoRate(const RateSource& source)
{
    std::cout << "SetRates: Error, mean delay " << source.entry->delay
              << " of transition \\__ROOT__\\"
              << (source.subModel ? source.subModel->GetCChar() : "") << "\\"
              << source.entry->name.GetCChar() << " gives no rate => abort !" << std::endl;
    AbortRun();
}

double RateOf(const RateSource& source)
{
    double rate = 1.0 / source.entry->delay;
    if (!(source.entry->delay > 0.0) || !std::isfinite(rate) || !(rate > 0.0)) NoRate(source);
    return rate;
}

}  // namespace

void SetRates()
{
    std::unordered_map<int, RateSource> winners = WinningEntries();
    if (winners.empty()) return;
    for (PLElement<Marking>* e = MLists.exp_markings.first; e; e = e->next)
        for (EdgeCursor s = e->item->GetStt(); s; s = s.Next()) {
            auto found = winners.find(s->GetTransNo());
            if (found != winners.end()) s->SetDelayVal(RateOf(found->second));
        }
}

int FindExclusiveTransitionNumber(const Str& fullName)
{
    for (PLElement<Transition>* t = ExclusiveTransitions.first; t; t = t->next)
        if (t->item->GetName() == fullName) return t->item->GetNo();
    return -1;
}
