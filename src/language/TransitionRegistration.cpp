// Transition kinds, numbers and class lists.
#include "language/TransitionRegistration.h"

#include "language/NameLookup.h"
#include "language/ReaderReports.h"
#include "netmodel/Registries.h"
#include "statedata/NetCounts.h"
#include "statedata/SMChain.h"
#include "statedata/StateSpaceGlobals.h"

unsigned short exc_no = 0;

// Transition numbers and class indices are 16-bit signed numbers.
constexpr int kMaxTransitions = 32767;

namespace {

// The running kind after one more binding.
int NextKind(int kind, const Binding& b, ServerType server)
{
    bool infinite = server == InfiniteServer;
    switch (b.GetDelayType()) {
        case kDelayImmediate:
            if (kind != kDelayImmediate) YaccError("delay type mixture (xxx/imm)");
            return kind;
        case kDelayExponential:
            if (kind == kDelayImmediate) YaccError("delay type mixture (exp/imm)");
            return kDelayExponential;
        case kDelayDeterministic:
            if (infinite) YaccError("IS transition with det. delay");
            if (kind == kDelayGeneral) YaccError("delay type mixture (det/gen)");
            if (kind == kDelayImmediate) YaccError("delay type mixture (det/imm)");
            return kind == kDelayDeterministic ? kind : static_cast<int>(kDelayMixed);
        case kDelayGeneral:
            if (infinite) YaccError("IS transition with gen. delay");
            if (kind == kDelayImmediate) YaccError("delay type mixture (gen/imm)");
            if (kind == kDelayDeterministic) YaccError("delay type mixture (gen/det)");
            return kind == kDelayGeneral ? kind : static_cast<int>(kDelayMixed);
        default:
            YaccError("unknown delay");
    }
}

void Count(int kind)
{
    switch (kind) {
        case kDelayImmediate:
            ++no_of_imm_transitions;
            break;
        case kDelayExponential:
            ++no_of_exp_transitions;
            break;
        case kDelayDeterministic:
            ++no_of_det_transitions;
            break;
        case kDelayGeneral:
            ++no_of_gen_transitions;
            break;
        case kDelayMixed:
            ++no_of_mix_transitions;
            break;
        default:
            YaccError("unknown delay");
    }
}

const Binding* FirstOfType(const PtrList<Binding>* bindings, int type)
{
    for (auto* e = bindings ? bindings->first : nullptr; e; e = e->next)
        if (e->item->GetDelayType() == type) return e->item;
    return nullptr;
}

}  // namespace

void CheckAndCountTransition(ServerType server, const PtrList<Binding>* bindings)
{
    if (!bindings || !bindings->first) return;
    int kind = bindings->first->item->GetDelayType();
    if (server == InfiniteServer && kind == kDelayDeterministic)
        YaccError("IS transition with det. delay");
    if (server == InfiniteServer && kind == kDelayGeneral)
        YaccError("IS transition with gen. delay");
    for (auto* e = bindings->first; e; e = e->next) kind = NextKind(kind, *e->item, server);
    Count(kind);
}

void SaveTransition(Transition* t)
{
    if (no_of_trans >= kMaxTransitions) YaccError("too many transitions (max = 32767)");
    ++no_of_trans;
    t->SetNo(static_cast<short>(no_of_trans));
    if (FindTransitionName(t->GetName()))
        YaccError("transitionname already exists in this net ");
    TransitionNames.Append(new Textual(t->GetName()));
    PtrList<Binding>* bindings = t->GetBindings();
    if (bindings && bindings->first->item->GetDelayType() == kDelayImmediate) {
        ImmediateTransitions.Append(t);
        return;
    }
    if (FirstOfType(bindings, kDelayDeterministic))
        DetMarkingSMChains.Append(new SMChain(t->GetNo()));
    if (FirstOfType(bindings, kDelayGeneral)) {
        GenMarkingSMChains.Append(new SMChain(t->GetNo()));
        GeneralTransitions.Append(t);
    }
    switch (t->GetServerType()) {
        case ExclusiveServer:
            t->SetExcNo(static_cast<short>(exc_no++));
            ExclusiveTransitions.Append(t);
            break;
        case InfiniteServer:
            InfiniteTransitions.Append(t);
            break;
        default:
            YaccError("can't save transition");
    }
}
