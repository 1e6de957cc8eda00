// The fatal reporters of the engine's modules. Each prints the error block
// with its module path and ends the process with the module's exit status;
// none of them returns. Class-bound reporters (Textual::TxtError and its
// kind) and the description reader's LexError/YaccError build on Fatal().
#pragma once

#include "foundation/RRGError.h"

// Exit statuses by module (the parent sees them modulo 256).
enum ExitStatus : int {
    kExitRunControl = -3,
    kExitNetModel = -4,
    kExitLexer = -5,
    kExitParser = -6,
    kExitClassCheck = -7,
    kExitPMFFile = -8,
    kExitMisc = -9,
    kExitGeneration = -10,
    kExitExamination = -11,
    kExitSolutionDriver = -12,
    kExitDeterministicWorkers = -13,
    kExitGeneralWorkers = -14,
    kExitEvaluation = -15,
    kExitWorkerAllocation = -16,
    kExitGraphLimits = -17,
};

[[noreturn]] void Fatal(const RRGError& error, int status);
// Work that runs beside the main thread registers how to bring it to rest
// (null when there is none): a fatal report first lets it finish what it
// was given, so that everything it prints comes before the report, as it
// would without it, and the exit does not pull its data from under it.
void SetFatalReportBarrier(void (*barrier)());

[[noreturn]] void SubErr(int line, const char* function, const char* description, const Str& a,
                         const Str& b);
[[noreturn]] void WriteErr(int line, const char* function, const char* description, const Str& a);
[[noreturn]] void MErr(int line, const char* function, const char* description);
[[noreturn]] void ImmErr(int line, const char* function, const char* description);
[[noreturn]] void CRRGErr(int line, const char* function, const char* description,
                          const Str* a = nullptr);
[[noreturn]] void ExErr(int line, const char* function, const char* description);
[[noreturn]] void ATTError(int line, const char* function, const char* description,
                           const char* a = nullptr);
[[noreturn]] void ExRErr(const char* function, const char* description, const char* a, int line);
[[noreturn]] void ExError(int line, const char* function, const char* description,
                          const char* a = nullptr);
[[noreturn]] void NEError(int line, const char* function, const char* description,
                          const char* a = nullptr);
// The reachability graph passed one of the run's limits or showed what the
// run was told to stop at (GraphLimits.h).
[[noreturn]] void LimitErr(int line, const char* function, const char* description,
                           const char* a = nullptr, const char* b = nullptr);
// Allocation failure while receiving worker results: line 0, no function.
[[noreturn]] void WorkerAllocationError(const char* description);
