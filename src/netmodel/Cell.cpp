// The reporter of the expression cells.
#include "netmodel/Cell.h"

#include "foundation/Reporters.h"

void Cell::CellError(int line, const char* function, const char* description)
{
    Fatal(RRGError("Pendra/src/Cell", line, function, description), kExitNetModel);
}
