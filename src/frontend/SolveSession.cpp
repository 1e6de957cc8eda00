// The run of mosk-solve. mosk is always started with -v: its solver then
// reports the accuracy it reached, which the JSON output carries.
#include "frontend/SolveSession.h"

#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "frontend/ChildProcess.h"
#include "frontend/DelaysFiles.h"
#include "frontend/FailureAdvice.h"
#include "frontend/ModelNames.h"
#include "frontend/MoskOutput.h"
#include "frontend/ProgramLocator.h"
#include "frontend/ReportWriter.h"
#include "frontend/RunDirectory.h"

extern char** environ;

namespace {

constexpr int kUsageStatus = 2;
constexpr int kNoResultsStatus = 3;
constexpr int kTimeoutStatus = 124;

std::string EnvironmentValue(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::string HostName()
{
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0) return "localhost";
    return name;
}

// The current environment with mosk's three variables replaced.
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

class Session {
public:
    Session(const SolveOptions& options, std::ostream& out, std::ostream& err)
        : options(options), out(out), err(err)
    {
    }

    int Run();

private:
    bool Prepare(int& status);
    ChildOutcome RunMosk(bool iterative, MoskOutput& output);
    int Collect(bool iterative, const MoskOutput& output);
    void ShowFailure(const MoskOutput& output) const;

    const SolveOptions& options;
    std::ostream& out;
    std::ostream& err;
    std::string mosk;
    std::string netBase;
    std::string purename;
    int passes = 1;
    RunDirectory directory;
    double seconds = 0.0;
};

bool Session::Prepare(int& status)
{
    status = kUsageStatus;
    std::ifstream description(options.description, std::ios::binary);
    if (!description || std::filesystem::is_directory(options.description)) {
        err << "mosk-solve: cannot read " << options.description << ": "
            << (description ? "it is a directory" : std::strerror(errno)) << "\n";
        return false;
    }
    const std::string selfDir = SelfDirectory();
    mosk = FindMosk(options.moskPath, selfDir, EnvironmentValue("PATH"));
    if (mosk.empty()) {
        err << "mosk-solve: cannot find mosk"
            << (options.moskPath.empty()
                    ? " (looked beside mosk-solve, in the build tree and on PATH)"
                    : " at " + options.moskPath)
            << "; give its path with --mosk\n";
        return false;
    }
    std::string error;
    CountPasses(options.settings, passes, error);
    const std::string userPlenarHome = EnvironmentValue("PLENARHOME");
    const bool privateInstallation = userPlenarHome.empty();
    std::vector<WorkerLink> workers;
    for (const char* name : {"kiln_da", "ekiln"}) {
        const std::string found = FindWorker(name, selfDir, mosk);
        if (!found.empty()) workers.push_back({name, found});
    }
    std::string parent = EnvironmentValue("TMPDIR");
    if (parent.empty()) parent = "/tmp";
    if (!directory.Create(parent, privateInstallation,
                          PlenarFileText(HostName(), options.dropTolerance), workers,
                          EnvironmentValue("HOME"), userPlenarHome, error)) {
        err << "mosk-solve: " << error << "\n";
        return false;
    }
    if (options.keep) directory.Keep();
    netBase = NetBaseName(options.description);
    purename = PureName(netBase);
    std::error_code code;
    std::filesystem::copy_file(options.description,
                               directory.Paths().modelDir + "/" + netBase + ".table", code);
    if (code) {
        err << "mosk-solve: cannot copy " << options.description << ": " << code.message() << "\n";
        return false;
    }
    return true;
}

ChildOutcome Session::RunMosk(bool iterative, MoskOutput& output)
{
    const RunPaths& paths = directory.Paths();
    ChildOutcome outcome;
    std::error_code ignored;
    for (int pass = 0; pass <= passes; ++pass)
        std::filesystem::remove(ResultsFilePath(paths.modelDir, purename, pass), ignored);
    if (!WriteDelaysFiles(paths.modelDir, purename, options.settings, passes, outcome.startError))
        return outcome;
    ChildCommand command;
    command.arguments = {mosk,
                         "-N",
                         paths.modelDir + "/" + netBase,
                         "-S",
                         "BS",
                         "-E",
                         options.epsilon,
                         "-M",
                         options.maxIterations,
                         "-v"};
    if (iterative) command.arguments.push_back("-I");
    if (options.parallel) command.arguments.push_back("-P");
    for (const std::string& flag : options.moskFlags)
        if (flag != "-v") command.arguments.push_back(flag);
    command.environment = MoskEnvironment(paths);
    command.directory = paths.modelDir;
    command.timeoutSeconds = options.timeoutSeconds;
    if (options.verbose) {
        err << "running:";
        for (const std::string& argument : command.arguments) err << " " << argument;
        err << "\n";
    }
    const auto start = std::chrono::steady_clock::now();
    outcome = RunChild(command, [&output](std::string_view piece) { output.Add(piece); });
    output.Finish();
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return outcome;
}

void Session::ShowFailure(const MoskOutput& output) const
{
    if (output.Echoed()) return;
    if (output.Truncated()) err << "[... the beginning of mosk's output is left out ...]\n";
    err << output.Text();
    if (!output.Text().empty() && output.Text().back() != '\n') err << "\n";
}

int Session::Collect(bool iterative, const MoskOutput& output)
{
    SolveReport report;
    report.description = options.description;
    report.iterative = iterative;
    report.seconds = seconds;
    report.settings = options.settings;
    for (int pass = 0; pass < passes; ++pass) {
        std::optional<PassResults> results =
            ReadResultsFile(ResultsFilePath(directory.Paths().modelDir, purename, pass));
        if (!results || !results->complete) {
            ShowFailure(output);
            err << "mosk-solve: mosk ended normally but left no complete results for pass " << pass
                << " (" << purename << ".BSresults" << pass << "); rerun with --keep --verbose\n";
            return kNoResultsStatus;
        }
        report.passes.push_back({*results, output.Solver().Pass(static_cast<std::size_t>(pass))});
    }
    report.tangibleMarkings =
        ReadTangibleMarkings(directory.Paths().modelDir + "/" + netBase + ".AUX");
    out << FormatReport(report, options.format);
    out.flush();
    return 0;
}

int Session::Run()
{
    int status = 0;
    if (!Prepare(status)) return status;
    bool iterative = options.iterative;
    for (;;) {
        MoskOutput output(options.verbose ? &err : nullptr);
        const ChildOutcome outcome = RunMosk(iterative, output);
        if (!outcome.started) {
            err << "mosk-solve: " << outcome.startError << "\n";
            return kUsageStatus;
        }
        if (outcome.interrupt != 0) {
            err << "mosk-solve: interrupted; mosk was stopped"
                << (options.keep ? "" : " and the run directory removed") << "\n";
            status = 128 + outcome.interrupt;
            break;
        }
        if (outcome.timedOut) {
            ShowFailure(output);
            err << "mosk-solve: mosk did not finish within " << options.timeoutSeconds
                << " s and was stopped\n";
            status = kTimeoutStatus;
            break;
        }
        std::string reason;
        if (!iterative && DirectSolverGaveUp(outcome.status, output.Text(), reason)) {
            err << "mosk-solve: the direct solver stopped (" << reason
                << "); solving again with the iterative method (-I)\n";
            iterative = true;
            continue;
        }
        if (outcome.status != 0) {
            ShowFailure(output);
            err << "mosk-solve: " << FailureSummary(outcome.status, output.Text()) << "\n";
            status = outcome.status;
            break;
        }
        status = Collect(iterative, output);
        break;
    }
    if (options.keep) err << "mosk-solve: run directory kept: " << directory.Paths().root << "\n";
    return status;
}

}  // namespace

int RunSolveSession(const SolveOptions& options, std::ostream& out, std::ostream& err)
{
    Session session(options, out, err);
    return session.Run();
}
