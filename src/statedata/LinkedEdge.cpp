// The one failure of the packed vanishing-graph edges, see LinkedEdge.h.
#include "statedata/LinkedEdge.h"

#include "foundation/Reporters.h"

void UnpackableEdgeTarget(const void*)
{
    MErr(__LINE__, "StateTrans",
         "The address of a marking does not fit an edge record (more than 47 address bits "
         "or misaligned)");
}
