// Places: the header check, equality and the reporter.
#include "netmodel/Place.h"

#include "foundation/Reporters.h"

void Place::ClassChk() const
{
    if (!ph) PlaceError(72, "ClassChk()", "no header defined in place");
}

bool Place::operator==(const Place& o) const
{
    if (!ph || !o.ph) return ph == o.ph;
    return ph->GetName() == o.ph->GetName();
}

void Place::PlaceError(int line, const char* function, const char* description)
{
    Fatal(RRGError("Pendra/src/Place", line, function, description), kExitNetModel);
}
