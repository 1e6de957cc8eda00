// Texts of the registries.
#include "NetDump.h"

#include <algorithm>
#include <memory>
#include <sstream>
#include <utility>
#include <vector>

#include "netmodel/Capacity.h"
#include "netmodel/Page.h"
#include "netmodel/Place.h"
#include "netmodel/Registries.h"
#include "netmodel/SocketPortPair.h"
#include "netmodel/Token.h"
#include "statespace/data/NetCounts.h"
#include "statespace/data/StateSpaceGlobals.h"

namespace {

const char* Name(const Str& s)
{
    return s.IsNull() ? "(null)" : s.GetCChar();
}

std::string OperatorText(Operator op)
{
    switch (op) {
        case NotEqualOp:
            return "!=";
        case GreaterEqualOp:
            return ">=";
        case LessEqualOp:
            return "<=";
        default:
            return std::string(1, static_cast<char>(op));
    }
}

std::string ValueText(const CellVal& v)
{
    std::ostringstream out;
    if (v.GetResultType() == Text) return std::string("\"") + Name(v.GetString()) + "\"";
    if (v.IsTMS()) return TmsText(v.GetConstTms());
    out << v.GetFloat();
    return out.str();
}

std::string MeasureText(const Cell& c)
{
    std::string first = CellText(c.GetConstCell1());
    std::string second = CellText(c.GetConstCell2());
    switch (c.GetRatingType()) {
        case Probability:
            return "P[" + first + "]";
        case Expectation:
            return "E[" + first + "]";
        case BayesProbability:
            return "P[" + first + " IF " + second + "]";
        case BayesExpectation:
            return "E[" + first + " IF " + second + "]";
        case Throughput:
            return "TP[" + first + ";" + second + "]";
        default:
            return "rating?";
    }
}

std::string ChainsText(const PtrList<SMChain>& chains)
{
    std::string text;
    for (auto* e = chains.first; e; e = e->next)
        text += " " + std::to_string(e->item->GetTransitionRef());
    return "[" + text + " ]";
}

}  // namespace

std::string TmsText(const Tms* tms)
{
    std::vector<std::pair<int, int>> elements;
    for (const ltoken* e = tms ? tms->first : nullptr; e; e = e->next)
        elements.emplace_back(e->token, e->quant);
    std::sort(elements.begin(), elements.end());
    std::string text = "{";
    for (auto [token, quant] : elements)
        text += (text.size() > 1 ? "," : "") + std::to_string(token) + ":" + std::to_string(quant);
    return text + "}";
}

std::string CellText(const Cell* cell)
{
    if (!cell) return "-";
    switch (cell->GetCellType()) {
        case ConstValCell:
            return ValueText(*cell->GetConstCellVal());
        case UnaerOpCell:
            return "(" + OperatorText(cell->GetConstOp()) + CellText(cell->GetConstOpd()) + ")";
        case BinaerOpCell:
            return "(" + CellText(cell->GetConstLeftOpd()) + OperatorText(cell->GetConstOp()) +
                   CellText(cell->GetConstRightOpd()) + ")";
        case FunctionCell: {
            std::string text = OperatorText(cell->GetConstOp()) +
                               Name(cell->GetConstPlaceHeader()->GetName().GetString());
            if (cell->GetConstTms()) text += TmsText(cell->GetConstTms());
            return text;
        }
        case RatingCellCell:
            return MeasureText(*cell);
        default:
            return "?";
    }
}

std::string DescribeMeasures()
{
    std::ostringstream out;
    for (auto* e = EvalRefs.first; e; e = e->next)
        out << "measure " << Name(e->item->GetName()) << " = " << CellText(e->item->GetVal())
            << "\n";
    return out.str();
}

std::string DescribePages()
{
    std::ostringstream out;
    for (auto* e = PageRefs.first; e; e = e->next) {
        Page& p = *e->item;
        out << "page " << Name(p.GetName());
        for (auto* d = p.GetParams() ? p.GetParams()->first : nullptr; d; d = d->next)
            out << " param " << Name(d->item->GetName()) << "=" << CellText(d->item->GetVal());
        for (auto* s = p.GetSubPages() ? p.GetSubPages()->first : nullptr; s; s = s->next)
            out << " sub " << Name(s->item->GetString());
        out << "\n";
    }
    return out.str();
}

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

std::string DescribePairs()
{
    std::ostringstream out;
    for (auto* e = SocketPortPairRefs.first; e; e = e->next)
        out << "pair " << Name(e->item->GetPort().GetString()) << " -> "
            << Name(e->item->GetSocket()->GetName().GetString()) << "\n";
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
