// A run of mosk. mosk is always started with -v: its solver then reports the
// accuracy it reached, which the JSON output carries, and its phases drive
// the progress display.
#include "frontend/MoskRun.h"

#include <chrono>
#include <filesystem>
#include <fstream>

#include "frontend/ChildProcess.h"
#include "frontend/FailureAdvice.h"
#include "frontend/ModelNames.h"
#include "frontend/MoskOutput.h"
#include "frontend/ResultsFile.h"
#include "frontend/RunSafeguards.h"
#include "frontend/TextFile.h"

extern char** environ;

namespace {

constexpr int kUsageStatus = 2;
constexpr int kNoResultsStatus = 3;
constexpr int kTimeoutStatus = 124;

// Forwards mosk's output to the observer while collecting it; mosk's
// warnings become notes as they come.
class CollectingOutput {
public:
    explicit CollectingOutput(RunObserver& observer) : observer(observer), output(nullptr) {}

    void Add(std::string_view piece)
    {
        observer.Output(piece);
        output.Add(piece);
        for (; said < output.Warnings().size(); ++said)
            observer.Note("warning: " + output.Warnings()[said]);
    }

    MoskOutput& Output() { return output; }

private:
    RunObserver& observer;
    MoskOutput output;
    std::size_t said = 0;
};

class Run {
public:
    Run(const RunContext& context, const std::string& netBase,
        const std::vector<std::vector<DelayEntry>>& passes, RunObserver& observer)
        : context(context),
          options(*context.options),
          netBase(netBase),
          purename(PureName(netBase)),
          passes(passes),
          observer(observer)
    {
    }

    RunOutcome Execute(const std::string& description,
                       const std::function<void(const std::string&)>& collect);

private:
    bool Prepare(const std::string& description, std::string& error);
    ChildOutcome Attempt(bool iterative, MoskOutput& output);
    void Fail(RunEnd end, int status, const std::string& summary, const MoskOutput* output);
    void Collect(const MoskOutput& output);

    const RunContext& context;
    const SolveOptions& options;
    const std::string netBase;
    const std::string purename;
    const std::vector<std::vector<DelayEntry>>& passes;
    RunObserver& observer;
    RunDirectory directory;
    RunOutcome outcome;
};

bool Run::Prepare(const std::string& description, std::string& error)
{
    const bool privateInstallation = context.userPlenarHome.empty();
    const std::string plenar = RunPlenarText(
        context, PlenarFileText(context.hostName, options.dropTolerance, context.solverProgress) +
                     SolverSettingLines(options));
    if (!directory.Create(context.temporaryParent, privateInstallation,
                          plenar + SafeguardLines(options), context.workers, context.userPlenarHome,
                          error))
        return false;
    if (options.keep) {
        directory.Keep();
        outcome.keptDirectory = directory.Paths().root;
    }
    return WriteTextFile(directory.Paths().modelDir + "/" + netBase + ".table", description, error);
}

ChildOutcome Run::Attempt(bool iterative, MoskOutput& output)
{
    const RunPaths& paths = directory.Paths();
    ChildOutcome child;
    std::error_code ignored;
    for (std::size_t pass = 0; pass <= passes.size(); ++pass)
        std::filesystem::remove(ResultsFilePath(paths.modelDir, purename, static_cast<int>(pass)),
                                ignored);
    if (!WriteDelaysFiles(paths.modelDir, purename, passes, child.startError)) return child;
    ChildCommand command;
    command.arguments = {context.mosk,    "-N", paths.modelDir + "/" + netBase, "-S", "BS", "-E",
                         options.epsilon, "-M", options.maxIterations,          "-v"};
    if (iterative) command.arguments.push_back("-I");
    if (options.parallel) command.arguments.push_back("-P");
    for (const std::string& flag : options.moskFlags)
        if (flag != "-v") command.arguments.push_back(flag);
    for (const std::string& flag : context.extraFlags) command.arguments.push_back(flag);
    command.environment = MoskEnvironment(paths);
    command.directory = paths.modelDir;
    command.timeoutSeconds = options.timeoutSeconds;
    observer.Starting(command.arguments);
    const auto start = std::chrono::steady_clock::now();
    CollectingOutput collecting(observer);
    child = RunChild(command, [&collecting](std::string_view piece) { collecting.Add(piece); });
    collecting.Output().Finish();
    output = std::move(collecting.Output());
    outcome.seconds +=
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return child;
}

void Run::Fail(RunEnd end, int status, const std::string& summary, const MoskOutput* output)
{
    outcome.end = end;
    outcome.status = status;
    outcome.summary = summary;
    if (output != nullptr) {
        outcome.output = output->Text();
        outcome.outputTruncated = output->Truncated();
    }
}

void Run::Collect(const MoskOutput& output)
{
    const std::string& modelDir = directory.Paths().modelDir;
    for (std::size_t pass = 0; pass < passes.size(); ++pass) {
        std::optional<PassResults> results =
            ReadResultsFile(ResultsFilePath(modelDir, purename, static_cast<int>(pass)));
        if (!results || !results->complete) {
            Fail(RunEnd::NoResults, kNoResultsStatus,
                 "mosk ended normally but left no complete results for pass " +
                     std::to_string(pass) + " (" + purename + ".BSresults" + std::to_string(pass) +
                     "); rerun with --keep --verbose",
                 &output);
            outcome.passes.clear();
            return;
        }
        PassReport report;
        report.results = *results;
        report.solution = output.Solver().Pass(pass);
        outcome.passes.push_back(report);
    }
    outcome.tangibleMarkings = ReadTangibleMarkings(modelDir + "/" + netBase + ".AUX");
}

RunOutcome Run::Execute(const std::string& description,
                        const std::function<void(const std::string&)>& collect)
{
    std::string error;
    if (!Prepare(description, error)) {
        Fail(RunEnd::Unstartable, kUsageStatus, error, nullptr);
        return outcome;
    }
    bool iterative = options.iterative;
    for (;;) {
        MoskOutput output(nullptr);
        const ChildOutcome child = Attempt(iterative, output);
        outcome.iterative = iterative;
        if (!child.started) {
            Fail(RunEnd::Unstartable, kUsageStatus, child.startError, nullptr);
        } else if (child.interrupt != 0) {
            Fail(RunEnd::Interrupted, 128 + child.interrupt,
                 std::string("interrupted; mosk was stopped") +
                     (options.keep ? "" : " and the run directory removed"),
                 &output);
        } else if (child.timedOut) {
            char limit[32];
            std::snprintf(limit, sizeof limit, "%g", options.timeoutSeconds);
            Fail(RunEnd::TimedOut, kTimeoutStatus,
                 std::string("mosk did not finish within ") + limit + " s and was stopped",
                 &output);
        } else if (std::string reason;
                   !iterative && DirectSolverGaveUp(child.status, output.Text(), reason)) {
            observer.Note("the direct solver stopped (" + reason +
                          "); solving again with the iterative method (-I)");
            iterative = true;
            continue;
        } else if (child.status != 0) {
            Fail(RunEnd::Failed, child.status, FailureSummary(child.status, output.Text()),
                 &output);
        } else {
            Collect(output);
            if (outcome.end == RunEnd::Done && collect) collect(directory.Paths().modelDir);
        }
        return outcome;
    }
}

}  // namespace

std::string RunPlenarText(const RunContext& context, const std::string& privateText)
{
    std::string text = context.userPlenarHome.empty() ? privateText : context.userPlenar;
    if (!text.empty() && text.back() != '\n') text += '\n';
    return text;
}

std::vector<std::string> MoskEnvironment(const RunPaths& paths)
{
    std::vector<std::string> environment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        if (text.rfind("HOME=", 0) == 0 || text.rfind("PLENARHOME=", 0) == 0 ||
            text.rfind("MODELDIR=", 0) == 0)
            continue;
        environment.push_back(text);
    }
    environment.push_back("HOME=" + paths.home);
    environment.push_back("PLENARHOME=" + paths.plenarHome);
    environment.push_back("MODELDIR=" + paths.modelDir);
    return environment;
}

RunOutcome RunMoskOnce(const RunContext& context, const std::string& description,
                       const std::string& netBase,
                       const std::vector<std::vector<DelayEntry>>& passes, RunObserver& observer,
                       const std::function<void(const std::string&)>& collect)
{
    Run run(context, netBase, passes, observer);
    return run.Execute(description, collect);
}
