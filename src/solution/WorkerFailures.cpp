// The failures of workers, as they report them.
#include "solution/WorkerFailures.h"

#include <fstream>

#include "foundation/RunState.h"
#include "solution/PlenarFile.h"

bool StopOnWorkerFailure()
{
    static const bool stop = [] {
        std::ifstream file(PLENARRC.GetCChar() ? PLENARRC.GetCChar() : "");
        PlenarSettings settings;
        ParsePlenarFile(file, settings);
        return settings.stop_on_worker_failure;
    }();
    return stop;
}

bool IsWorkerErrorLine(const std::string& line)
{
    for (const char* program : {"kiln_da error: ", "ekiln error: "})
        if (line.rfind(program, 0) == 0) return true;
    return false;
}

std::string WorkerFailureText(const std::string& account)
{
    if (account.empty()) return "its connection closed without \"ready.\"";
    const std::size_t at = account.find(" error: ");
    return account.substr(0, at) + ": " + account.substr(at + 8);
}
