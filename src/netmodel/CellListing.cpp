// Expressions and token multisets in the class listing.
#include "netmodel/CellListing.h"

#include <iostream>
#include <memory>
#include <sstream>

#include "netmodel/Cell.h"
#include "netmodel/PlaceHeader.h"
#include "netmodel/Registries.h"
#include "netmodel/Token.h"

namespace {

const char* OperatorText(Operator op)
{
    switch (op) {
        case NotEqualOp:
            return "!=";
        case GreaterEqualOp:
            return ">=";
        case LessEqualOp:
            return "<=";
        case AndOp:
            return "&&";
        case OrOp:
            return "||";
        case EqualOp:
            return "==";
        default:
            return nullptr;
    }
}

void WriteOperator(std::ostream& out, Operator op)
{
    if (const char* text = OperatorText(op))
        out << text;
    else
        out << static_cast<char>(op);
}

void WriteTms(std::ostream& out, const Tms* tms)
{
    out << "{";
    if (tms)
        for (const ltoken* e = tms->first; e; e = e->next)
            out << (e == tms->first ? "" : ", ") << e->quant << "*" << e->token;
    out << "}";
}

void WriteValue(std::ostream& out, const CellVal& v)
{
    switch (v.GetResultType()) {
        case Text:
            out << '"' << v.GetString().GetCChar() << '"';
            break;
        case Boolean:
        case Number:
        case PlaceNumber:
            out << v.GetFloat();
            break;
        default:
            WriteTms(out, v.GetConstTms());
            break;
    }
}

// Expressions are small trees written by the description reader; their
// depth is that of the written expression.
void WriteCell(std::ostream& out, const Cell* cell)
{
    if (!cell) {
        out << "?";
        return;
    }
    switch (cell->GetCellType()) {
        case ConstValCell:
            if (const CellVal* v = cell->GetConstCellVal()) WriteValue(out, *v);
            break;
        case UnaerOpCell:
            WriteOperator(out, cell->GetConstOp());
            out << "(";
            WriteCell(out, cell->GetConstOpd());
            out << ")";
            break;
        case BinaerOpCell:
            out << "(";
            WriteCell(out, cell->GetConstLeftOpd());
            out << " ";
            WriteOperator(out, cell->GetConstOp());
            out << " ";
            WriteCell(out, cell->GetConstRightOpd());
            out << ")";
            break;
        case FunctionCell: {
            WriteOperator(out, cell->GetConstOp());
            const PlaceHeader* ph = cell->GetConstPlaceHeader();
            out << (ph ? ph->GetName().GetString().GetCChar() : "?");
            if (cell->GetConstTms()) WriteTms(out, cell->GetConstTms());
            break;
        }
        case RatingCellCell:
            out << "rating " << cell->GetRatingType() << "(";
            WriteCell(out, cell->GetConstCell1());
            out << ", ";
            WriteCell(out, cell->GetConstCell2());
            out << ")";
            break;
        default:
            out << "?";
            break;
    }
}

}  // namespace

std::string CellText(const Cell* cell)
{
    std::ostringstream text;
    WriteCell(text, cell);
    return text.str();
}

std::string TmsText(const Tms* tms)
{
    std::ostringstream text;
    WriteTms(text, tms);
    return text.str();
}

void ShowCell(const Cell* cell)
{
    if (!cell) {
        std::cout << "\tno cell\n";
        return;
    }
    std::cout << "\t" << CellText(cell) << "\n";
}

void ShowTms(const Tms* tms)
{
    if (!tms || !tms->first) {
        std::cout << "\tempty tokenmultiset\n";
        return;
    }
    for (const ltoken* e = tms->first; e; e = e->next) {
        std::cout << "\ttoken = " << e->token << " quant = " << e->quant;
        if (const Token* colour = TokenRefs.GetLE(static_cast<int>(e->token)))
            std::cout << " (" << colour->GetName().GetString().GetCChar() << ")";
        std::cout << "\n";
    }
}
