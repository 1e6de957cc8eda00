// RRGError: the fatal error record. Every detected error is printed as one
// fixed block on standard output, and the process then ends with the status
// of the module that found it (see Reporters.h).
#pragma once

#include "foundation/Str.h"

class RRGError {
public:
    RRGError() = default;
    RRGError(const char* file, int line, const char* function, const char* description,
             const char* info1 = nullptr, const char* info2 = nullptr,
             const char* info3 = nullptr);
    RRGError(const RRGError& o) = default;
    RRGError& operator=(const RRGError& o);

    void PrintError() const;

    Str file;
    int line = 0;
    Str function;
    Str description;
    Str info1;
    Str info2;
    Str info3;
};
