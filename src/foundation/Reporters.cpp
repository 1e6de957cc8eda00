// Module reporters: fixed module path, fixed exit status.
#include "foundation/Reporters.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace {

std::atomic<void (*)()> fatalReportBarrier{nullptr};

}  // namespace

void SetFatalReportBarrier(void (*barrier)())
{
    fatalReportBarrier.store(barrier);
}

void Fatal(const RRGError& error, int status)
{
    if (void (*barrier)() = fatalReportBarrier.load()) barrier();
    error.PrintError();
    std::fflush(stdout);
    std::exit(status);
}

void SubErr(int line, const char* function, const char* description, const Str& a, const Str& b)
{
    Fatal(RRGError("Pendra/src/ClassCheck", line, function, description, a.GetCChar(),
                   b.GetCChar()),
          kExitClassCheck);
}

void WriteErr(int line, const char* function, const char* description, const Str& a)
{
    Fatal(RRGError("Pendra/src/WritePMFFile", line, function, description, a.GetCChar()),
          kExitPMFFile);
}

void MErr(int line, const char* function, const char* description)
{
    Fatal(RRGError("Pendra/src/Misc", line, function, description), kExitMisc);
}

void ImmErr(int line, const char* function, const char* description)
{
    Fatal(RRGError("Pendra/src/HandleImmTransitions", line, function, description),
          kExitGeneration);
}

void CRRGErr(int line, const char* function, const char* description, const Str* a)
{
    Fatal(RRGError("Pendra/src/CreateRRG", line, function, description,
                   a ? a->GetCChar() : nullptr),
          kExitGeneration);
}

void ExErr(int line, const char* function, const char* description)
{
    Fatal(RRGError("Pendra/src/ExamineRRG", line, function, description), kExitExamination);
}

void ATTError(int line, const char* function, const char* description, const char* a)
{
    Fatal(RRGError("Pendra/src/SolveNetModel", line, function, description, a),
          kExitSolutionDriver);
}

void ExRErr(const char* function, const char* description, const char* a, int line)
{
    Fatal(RRGError("Pendra/src/ExecKiln", line, function, description, a),
          kExitDeterministicWorkers);
}

void ExError(int line, const char* function, const char* description, const char* a)
{
    Fatal(RRGError("Pendra/src/ExecEkiln", line, function, description, a), kExitGeneralWorkers);
}

void NEError(int line, const char* function, const char* description, const char* a)
{
    Fatal(RRGError("Pendra/src/NetEvaluation", line, function, description, a),
          kExitEvaluation);
}

void LimitErr(int line, const char* function, const char* description, const char* a,
              const char* b)
{
    Fatal(RRGError("Pendra/src/GraphLimits", line, function, description, a, b), kExitGraphLimits);
}

void WorkerAllocationError(const char* description)
{
    Fatal(RRGError("Pendra/src/ExecKiln", 0, nullptr, description), kExitWorkerAllocation);
}
