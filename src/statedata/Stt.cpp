// The one failure of the packed edge records, see Stt.h.
#include "statedata/Stt.h"

#include "foundation/Reporters.h"

void UnpackableEdgeTarget(const void*)
{
    MErr(__LINE__, "StateTrans",
         "The address of a marking does not fit an edge record (more than 47 address bits "
         "or misaligned)");
}
