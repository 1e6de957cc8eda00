// Expression cells of the grammar.
#include "language/ExpressionActions.h"

#include <memory>

#include "language/CappedQuantity.h"
#include "language/ExpressionLimits.h"
#include "language/NameContext.h"
#include "language/NameLookup.h"
#include "language/ReaderReports.h"
#include "language/Registration.h"
#include "language/ScannerState.h"
#include "netmodel/Registries.h"
#include "netmodel/Token.h"

namespace {

constexpr int kMaxTokenNumber = 65535;

}  // namespace

Cell* NewUnary(Operator op, Cell* operand)
{
    return WithinExpressionLimits(new UnaerOp(op, operand, AdoptOperands{}));
}

Cell* NewBinary(Operator op, Cell* left, Cell* right)
{
    return WithinExpressionLimits(new BinaerOp(op, left, right, AdoptOperands{}));
}

Str* PlaceReference(Str* name)
{
    if (section == kDefinitionSection || section == kAfterParameter) return name;
    Str* socket = new Str(CheckIfPortGetName(name));
    delete name;
    return socket;
}

Cell* NewPlaceFunction(Operator op, Str* place, Cell* filter)
{
    Cell* cell;
    if (filter) {
        std::unique_ptr<CellVal> colours(filter->Calculate());
        cell = new Function(op, *place, colours->GetConstTms());
    } else {
        cell = new Function(op, *place);
    }
    delete place;
    delete filter;
    return cell;
}

Str* StrippedName(Str* name)
{
    Str* stripped = new Str(StripOffPath(name));
    delete name;
    return stripped;
}

int RegisterColour(Str* name, Str* version, Str* step)
{
    auto* colour = new Token(StripOffPath(name), *version, *step);
    delete name;
    delete version;
    delete step;
    int number = FindColour(*colour);
    if (number > 0) {
        delete colour;
    } else {
        number = TokenRefs.Append(colour);
    }
    if (number > kMaxTokenNumber) YaccError("too much tokens defined (max = 65536)");
    return number;
}

Cell* NewTokenCell(int token, int quantity)
{
    quantity = CappedTokenQuantity(quantity);
    Tms* tokens =
        new_tms(static_cast<unsigned short>(token), static_cast<unsigned short>(quantity));
    Cell* cell = new ConstVal(tokens);
    clear_tms(tokens);
    return cell;
}

Cell* NewMeasure(RatingType type, Cell* first, Cell* second)
{
    return WithinExpressionLimits(new RatingCell(type, first, second, AdoptOperands{}));
}
