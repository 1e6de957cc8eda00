// General delays.
#include "netmodel/General.h"

#include "netmodel/FloatVal.h"

CellVal* General::Calculate() { return new FloatVal(1); }

Delay& General::operator=(const Delay* d)
{
    // A uniform delay has no text, and the text then stays as it is.
    if (d && d != this && d->GetDelayType() == kDelayGeneral) text = d->GetGeneral();
    return *this;
}

void General::PrintPMF(FILE* f)
{
    if (text.Length() > 0) std::fprintf(f, "%s", text.GetCChar());
}
