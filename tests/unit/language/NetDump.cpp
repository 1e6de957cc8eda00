// Texts of the registries.
#include "NetDump.h"

#include <sstream>

#include "netmodel/Capacity.h"
#include "netmodel/CellListing.h"
#include "netmodel/Place.h"
#include "netmodel/Registries.h"
#include "netmodel/Token.h"
#include "statedata/NetCounts.h"
#include "statedata/StateSpaceGlobals.h"

namespace {

const char* Name(const Str& s)
{
    return s.IsNull() ? "(null)" : s.GetCChar();
}

std::string ChainsText(const PtrList<SMChain>& chains)
{
    std::string text;
    for (auto* e = chains.first; e; e = e->next)
        text += " " + std::to_string(e->item->GetTransitionRef());
    return "[" + text + " ]";
}

}  // namespace

std::string DescribePlaces()
{
    std::ostringstream out;
    for (auto* e = PlaceRefs.first; e; e = e->next) {
        Place& p = *e->item;
        out << "place " << Name(p.GetName().GetString()) << " no=" << p.GetNo()
            << " type=" << p.GetPT()
            << " cap=" << (p.GetCapacity().GetKind() == BoolCap ? "bool:" : "num:")
            << CellText(p.GetCapacity().GetCell()) << " init=" << TmsText(p.GetTms()) << "\n";
    }
    return out.str();
}

std::string DescribeTokens()
{
    std::ostringstream out;
    int number = 1;
    for (auto* e = TokenRefs.first; e; e = e->next, ++number)
        out << "token " << number << " " << Name(e->item->GetName().GetString()) << "["
            << Name(e->item->GetVers().GetString()) << "]" << Name(e->item->GetStep().GetString())
            << "\n";
    return out.str();
}

std::string DescribeCounts()
{
    std::ostringstream out;
    out << "trans=" << no_of_trans << " imm=" << no_of_imm_transitions
        << " exp=" << no_of_exp_transitions << " det=" << no_of_det_transitions
        << " gen=" << no_of_gen_transitions << " mix=" << no_of_mix_transitions
        << " detchains=" << ChainsText(DetMarkingSMChains)
        << " genchains=" << ChainsText(GenMarkingSMChains)
        << " general=" << GeneralTransitions.count << "\n";
    return out.str();
}
