// Uniform delays. Calculate() answers the upper bound and CalculateFloat()
// the lower one; callers rely on each.
#include "netmodel/UniForm.h"

#include "netmodel/FloatVal.h"

UniForm::UniForm(const Delay& d)
{
    if (!IsUniform(d)) return;
    begin = d.GetUniformBegin();
    end = d.GetUniformEnd();
}

CellVal* UniForm::Calculate() { return new FloatVal(end); }

Delay& UniForm::operator=(const Delay* d)
{
    if (d && IsUniform(*d)) {
        begin = d->GetUniformBegin();
        end = d->GetUniformEnd();
    }
    return *this;
}

bool UniForm::operator==(const Delay& d) const
{
    return IsUniform(d) && d.GetUniformBegin() == begin && d.GetUniformEnd() == end;
}

void UniForm::PrintPMF(FILE* f) { std::fprintf(f, "UNIFORM(%f,%f)", begin, end); }
