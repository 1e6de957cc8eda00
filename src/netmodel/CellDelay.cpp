// Evaluation, copying and comparison shared by the expression delays.
#include "netmodel/CellDelay.h"

#include <memory>

#include "foundation/Reporters.h"
#include "netmodel/ConstVal.h"
#include "netmodel/FloatVal.h"
#include "statedata/DelayVal.h"

namespace {

// Weights default to 1; delays have no sensible default and stop the run
// with their message when their number is asked for.
Cell* DefaultCell(int code) { return code == kDelayImmediate ? new ConstVal(1) : new ConstVal(); }

const char* NotPositiveMessage(int code)
{
    switch (code) {
    case kDelayImmediate:
        return "value given to imm. delay is zero or less than zero";
    case kDelayExponential:
        return "value given to exp. delay is zero or less than zero";
    default:
        return "value given to det. delay is zero or less than zero";
    }
}

}  // namespace

CellDelay::CellDelay(int c, const Cell* given)
    : code(c), cell(given ? given->Copy() : DefaultCell(c))
{
}

CellDelay::CellDelay(const CellDelay& o) : Delay(o), code(o.code), cell(o.cell->Copy()) {}

void CellDelay::Clear()
{
    delete cell;
    cell = nullptr;
}

Delay& CellDelay::operator=(const Delay* d)
{
    const Cell* other = d && d->GetDelayType() == code ? d->GetCell() : nullptr;
    if (!other || other == cell) return *this;
    Cell* copy = other->Copy();
    Clear();
    cell = copy;
    return *this;
}

bool CellDelay::operator==(const Delay& d) const
{
    return d.GetDelayType() == code && d.GetCell() && *cell == *d.GetCell();
}

Cell* CellDelay::GetImmediate() const { return CellIf(kDelayImmediate); }
Cell* CellDelay::GetExponential() const { return CellIf(kDelayExponential); }
Cell* CellDelay::GetDeterministic() const { return CellIf(kDelayDeterministic); }

double CellDelay::Number(int line, const char* function) const
{
    // A constant is read directly: the common case of a fixed rate or weight
    // needs no value object at every firing.
    double x = cell->GetCellType() == ConstValCell
                   ? cell->GetConstCellVal()->GetFloat()
                   : std::unique_ptr<CellVal>(cell->Calculate())->GetFloat();
    // Not-a-number passes this test on purpose: it is handed on unchanged.
    if (x == 0.0 || x < 0.0)
        Fatal(RRGError("Pendra/src/Delay", line, function, NotPositiveMessage(code)),
              kExitNetModel);
    return x;
}

double CellDelay::Answer(double number) const
{
    return code == kDelayExponential ? 1.0 / number : number;
}

double CellDelay::CalculateFloat() { return Answer(Number(61, "CalculateFloat()")); }

CellVal* CellDelay::Calculate() { return new FloatVal(Answer(Number(75, "Calculate()"))); }
