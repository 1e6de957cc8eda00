// One block per general transition, in the order of GeneralTransitions:
// "TRANSITION <name>", the distribution text of its first general binding,
// ";" and an empty line.
#include "language/PMFFile.h"

#include <cstdio>

#include "foundation/ChainModelName.h"
#include "foundation/Reporters.h"
#include "foundation/RunState.h"
#include "netmodel/Registries.h"
#include "netmodel/Transition.h"
#include "statedata/NetCounts.h"

namespace {

Delay* FirstGeneralDelay(const Transition& t)
{
    for (auto* e = t.GetBindings() ? t.GetBindings()->first : nullptr; e; e = e->next)
        if (e->item->GetDelayType() == kDelayGeneral) return e->item->GetDelay();
    return nullptr;
}

}  // namespace

void WritePMFFile()
{
    if (no_of_gen_transitions == 0) return;
    // The general-delay workers look for it beside the chain files.
    Str path = TmpD + "/" + ChainModelName().c_str() + ".pmf";
    FILE* file = std::fopen(path.GetCChar(), "w");
    if (!file) WriteErr(52, "WritePMFFile()", "can't open file", path);
    for (auto* e = GeneralTransitions.first; e; e = e->next) {
        std::fprintf(file, "TRANSITION %s\n", e->item->GetName().GetCChar());
        if (Delay* delay = FirstGeneralDelay(*e->item)) delay->PrintPMF(file);
        std::fprintf(file, ";\n\n");
    }
    std::fclose(file);
}
