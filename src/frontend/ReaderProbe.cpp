// One short mosk run per question, limited in time: a probe that cannot run
// or does not answer counts as "not read", which at worst moves the caret.
#include "frontend/ReaderProbe.h"

#include <fstream>

#include "frontend/ChildProcess.h"
#include "frontend/FailureAdvice.h"

namespace {

constexpr double kProbeSeconds = 10.0;
constexpr const char* kRefused = "undefined character : `";

}  // namespace

PrefixReader ReaderProbe::Reader()
{
    return [this](std::string_view prefix) { return Reads(prefix); };
}

bool ReaderProbe::Reads(std::string_view prefix)
{
    std::string error;
    if (!created && !broken) {
        broken =
            !directory.Create(context.temporaryParent, context.userPlenarHome.empty(),
                              RunPlenarText(context, PlenarFileText(context.hostName, "", false)),
                              context.workers, context.userPlenarHome, error);
        created = !broken;
    }
    if (broken) return false;
    const RunPaths& paths = directory.Paths();
    {
        std::ofstream table(paths.modelDir + "/probe.table", std::ios::binary | std::ios::trunc);
        table << prefix << "\n\n\n`\n";
        if (!table) return false;
    }
    ChildCommand command;
    command.arguments = {context.mosk, "-N", paths.modelDir + "/probe", "-S", "BS", "-E", "1e-10",
                         "-M",         "10"};
    command.environment = MoskEnvironment(paths);
    command.directory = paths.modelDir;
    command.timeoutSeconds = kProbeSeconds;
    std::string output;
    const ChildOutcome outcome =
        RunChild(command, [&output](std::string_view piece) { output.append(piece); });
    return outcome.started && !outcome.timedOut && outcome.interrupt == 0 &&
           FindErrorReport(output).description == kRefused;
}
