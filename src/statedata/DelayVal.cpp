// Printed names of the delay-type codes.
#include "statedata/DelayVal.h"

const char* DelayTypeName(int code)
{
    static const char* const kNames[] = {"unknown",       "immediate", "exponential",
                                         "preempting",    "deterministic", "general",
                                         "probability",   "mixed",     "absorbing"};
    if (code < 0 || code > static_cast<int>(kDelayAbsorbing)) return kNames[kDelayUnknown];
    return kNames[code];
}
