// The reporter of the value classes.
#include "netmodel/CellVal.h"

#include "foundation/Reporters.h"

void CellVal::CellValError(int line, const char* function, const char* description)
{
    Fatal(RRGError("Pendra/src/CellVal", line, function, description), kExitNetModel);
}
