// Combination of consecutive edge values.
#include "statespace/DelayCombination.h"

#include "statedata/DelayVal.h"

namespace {

bool IsRandomChoice(int code)
{
    return code == kDelayProbability || code == kDelayImmediate;
}

}  // namespace

void CheckAndCorrectDelayVal(const DelayVal& first, DelayVal& second)
{
    int code = first.GetDelayType();
    if (!IsRandomChoice(second.GetDelayType())) return;
    if (code != kDelayExponential && !IsRandomChoice(code)) return;
    second.SetDelayVal(first.GetDelayVal() * second.GetDelayVal());
    second.SetDelayType(code);
    second.SetTransNo(first.GetTransNo());
}
