// The session of mosk-solve: plan the runs a command line asks for, run
// them (several at once when a sweep needs a graph per value), and print
// one report. A single run shows a failure as mosk reported it; a sweep
// keeps going and gives a failed value a row with its error.
#include "frontend/SolveSession.h"

#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "frontend/DescriptionOutline.h"
#include "frontend/FailureAdvice.h"
#include "frontend/InterruptFlag.h"
#include "frontend/MeasureWarnings.h"
#include "frontend/ModelNames.h"
#include "frontend/MoskRun.h"
#include "frontend/ParallelRuns.h"
#include "frontend/Pictures.h"
#include "frontend/ProgressDisplay.h"
#include "frontend/ProgramLocator.h"
#include "frontend/ReaderProbe.h"
#include "frontend/ReportWriter.h"
#include "frontend/SourceDiagnosis.h"
#include "frontend/SteadyStateFile.h"
#include "frontend/SweepNameCheck.h"
#include "frontend/SweepPlan.h"
#include "frontend/ThroughputOffer.h"
#include "frontend/WorkerCheck.h"

namespace {

constexpr int kUsageStatus = 2;
constexpr int kPictureStatus = 4;
constexpr std::size_t kLongestReport = 4000;

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

bool ReadDescription(const std::string& path, std::string& text, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in || std::filesystem::is_directory(path)) {
        error = "cannot read " + path + ": " + (in ? "it is a directory" : std::strerror(errno));
        return false;
    }
    std::ostringstream content;
    content << in.rdbuf();
    text = content.str();
    return true;
}

// mosk's error report in its output (from the last "ERROR occured"), or the
// output's end; bounded, for a row of a sweep.
std::string ErrorReportOf(const std::string& output)
{
    const std::size_t at = output.rfind("ERROR occured");
    std::string report = at == std::string::npos ? output : output.substr(at);
    if (report.size() > kLongestReport) report.erase(0, report.size() - kLongestReport);
    while (!report.empty() && (report.back() == '\n' || report.back() == ' ')) report.pop_back();
    return report;
}

// What a single run says: everything at once, as it comes.
class LiveObserver : public RunObserver {
public:
    LiveObserver(const SolveOptions& options, std::ostream& err, ProgressDisplay& display,
                 GraphListingReader* listing)
        : options(options), err(err), display(display), listing(listing),
          slot(display.Begin("the run"))
    {
    }
    ~LiveObserver() override { display.End(slot); }

    void Output(std::string_view piece) override
    {
        display.Feed(slot, piece);
        if (listing != nullptr) listing->Feed(piece.data(), piece.size());
        if (options.verbose)
            err.write(piece.data(), static_cast<std::streamsize>(piece.size())).flush();
    }
    void Note(const std::string& line) override { display.Write("mosk-solve: " + line + "\n"); }
    void Starting(const std::vector<std::string>& arguments) override
    {
        if (!options.verbose) return;
        std::string line = "running:";
        for (const std::string& argument : arguments) line += " " + argument;
        display.Write(line + "\n");
    }

private:
    const SolveOptions& options;
    std::ostream& err;
    ProgressDisplay& display;
    GraphListingReader* listing;
    const std::size_t slot;
};

// What one of several concurrent runs says: notes at once, named by the
// run's values; with --verbose its output as one piece when it ends.
class SweepRunObserver : public RunObserver {
public:
    SweepRunObserver(const SolveOptions& options, ProgressDisplay& display, std::string name)
        : options(options), display(display), name(std::move(name)), slot(display.Begin(this->name))
    {
    }
    ~SweepRunObserver() override
    {
        if (!buffered.empty()) {
            if (buffered.back() != '\n') buffered += "\n";
            display.Write("--- mosk's output for " + name + " ---\n" + buffered);
        }
        display.End(slot);
    }

    void Output(std::string_view piece) override
    {
        display.Feed(slot, piece);
        if (options.verbose) buffered.append(piece);
    }
    void Note(const std::string& line) override
    {
        display.Write("mosk-solve: " + name + ": " + line + "\n");
    }
    void Starting(const std::vector<std::string>& arguments) override
    {
        if (!options.verbose) return;
        buffered += "running:";
        for (const std::string& argument : arguments) buffered += " " + argument;
        buffered += "\n";
    }

private:
    const SolveOptions& options;
    ProgressDisplay& display;
    const std::string name;
    const std::size_t slot;
    std::string buffered;
};

class Session {
public:
    Session(const SolveOptions& options, std::ostream& out, std::ostream& err)
        : options(options), out(out), err(err)
    {
    }

    int Run();

private:
    bool Prepare();
    bool CheckBeforeRun(const DescriptionOutline& outline);
    void ShowOfferedValues() const;
    int RunAlone(ProgressDisplay& display);
    int RunSweep(ProgressDisplay& display);
    std::size_t Width() const;
    std::string RunName(const PlannedRun& run) const;
    void AddRows(const PlannedRun& run, const RunOutcome& outcome);
    void ShowFailure(const RunOutcome& outcome) const;
    int DrawPlot(int status);
    int Finish(int status);

    const SolveOptions& options;
    std::ostream& out;
    std::ostream& err;
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    std::string description;
    std::vector<ThroughputOffer> offers;
    std::vector<std::vector<std::string>> offeredValues;  // per offer, per row
    std::string netBase;
    RunContext context;
    SweepPlan plan;
    SolveReport report;
    std::vector<std::string> keptDirectories;
    int prepareStatus = kUsageStatus;  // the exit status when Prepare fails
};

bool Session::Prepare()
{
    std::string error;
    if (!ReadDescription(options.description, description, error)) {
        err << "mosk-solve: " << error << "\n";
        return false;
    }
    const DescriptionOutline outline = OutlineDescription(description);
    offers = ThroughputOffers(outline);
    const std::string forMosk = WithOfferedMeasures(description, outline, offers);
    if (!PlanSweep(forMosk, options.description, options.settings, plan, error) ||
        !CheckPictureRequests(options, plan, description, error)) {
        err << "mosk-solve: " << error << "\n";
        return false;
    }
    if (!CheckBeforeRun(outline)) return false;
    // The graph comes from mosk's class and graph listings.
    if (!options.graphPath.empty()) context.extraFlags = {"-C", "-r"};
    const std::string selfDir = SelfDirectory();
    context.options = &options;
    context.mosk = FindMosk(options.moskPath, selfDir, EnvironmentValue("PATH"));
    if (context.mosk.empty()) {
        err << "mosk-solve: cannot find mosk"
            << (options.moskPath.empty()
                    ? " (looked beside mosk-solve, in the build tree and on PATH)"
                    : " at " + options.moskPath)
            << "; give its path with --mosk\n";
        return false;
    }
    for (const char* name : {"kiln_da", "ekiln"}) {
        const std::string found = FindWorker(name, selfDir, context.mosk);
        if (!found.empty()) context.workers.push_back({name, found});
    }
    context.userPlenarHome = EnvironmentValue("PLENARHOME");
    if (const std::string missing =
            MissingWorker(description, context.workers, context.userPlenarHome, prepareStatus);
        !missing.empty()) {
        err << "mosk-solve: " << missing << "\n";
        return false;
    }
    // A user's installation keeps the user's .Plenar, with the safeguards of
    // mosk-solve added in the run's own home.
    if (!context.userPlenarHome.empty() &&
        !ReadDescription(EnvironmentValue("HOME") + "/.Plenar", context.userPlenar, error)) {
        err << "mosk-solve: " << error << " (PLENARHOME is set, so mosk needs it)\n";
        return false;
    }
    context.temporaryParent = EnvironmentValue("TMPDIR");
    if (context.temporaryParent.empty()) context.temporaryParent = "/tmp";
    context.hostName = HostName();
    netBase = NetBaseName(options.description);
    report.description = options.description;
    report.settings = options.settings;
    report.passes.resize(plan.rows);
    offeredValues.assign(offers.size(), std::vector<std::string>(plan.rows));
    report.runs = static_cast<int>(plan.runs.size());
    return true;
}

// What can be told from the description and the command line alone, before
// mosk generates anything: SUB/T settings that mosk would not find are
// errors; measures that do not measure what they seem get a warning.
bool Session::CheckBeforeRun(const DescriptionOutline& outline)
{
    const std::vector<std::string> sweepable = SweepableTransitions(outline);
    for (const SweepSetting& setting : options.settings) {
        if (setting.target != SweepTarget::TransitionDelay) continue;
        const std::string error =
            UnknownNameError(setting.subModel + "/" + setting.transition, sweepable,
                             "a single-server timed transition of a sub-page");
        if (!error.empty()) {
            err << "mosk-solve: --set " << error << "\n";
            return false;
        }
    }
    for (const std::string& warning : MeasureWarnings(outline, offers))
        err << "mosk-solve: " << warning << "\n";
    return true;
}

// The throughputs over all markings that stand in for TP[...], one line
// each, after the results.
void Session::ShowOfferedValues() const
{
    for (std::size_t k = 0; k < offers.size(); ++k)
        if (!offers[k].addedName.empty())
            err << "mosk-solve: " << OfferedValueNote(offers[k], offeredValues[k]) << "\n";
}

// The values that make a run of a sweep, "K=3, arrival=0.5".
std::string Session::RunName(const PlannedRun& run) const
{
    const std::vector<std::size_t> position = GridPosition(options.settings, run.rows.front());
    std::string name;
    for (std::size_t i = 0; i < plan.settings.size(); ++i) {
        if (plan.settings[i].inPasses) continue;
        name += (name.empty() ? "" : ", ") + plan.settings[i].setting.Label() + "=" +
                plan.settings[i].setting.values[position[i]].text;
    }
    return name.empty() ? "the run" : name;
}

void Session::AddRows(const PlannedRun& run, const RunOutcome& outcome)
{
    if (!outcome.keptDirectory.empty()) keptDirectories.push_back(outcome.keptDirectory);
    for (std::size_t pass = 0; pass < run.rows.size(); ++pass) {
        PassReport& row = report.passes[run.rows[pass]];
        row.tangibleMarkings = outcome.tangibleMarkings;
        row.seconds = outcome.seconds;
        row.iterative = outcome.iterative;
        if (outcome.end == RunEnd::Done) {
            row.results = outcome.passes[pass].results;
            row.solution = outcome.passes[pass].solution;
            const std::vector<std::string> values = TakeOfferedValues(row.results, offers);
            for (std::size_t k = 0; k < offers.size(); ++k)
                offeredValues[k][run.rows[pass]] = values[k];
        } else {
            row.error = outcome.summary;
            row.report = ErrorReportOf(outcome.output);
        }
    }
}

void Session::ShowFailure(const RunOutcome& outcome) const
{
    const bool showsOutput = outcome.end == RunEnd::Failed || outcome.end == RunEnd::TimedOut ||
                             outcome.end == RunEnd::NoResults;
    if (showsOutput && !options.verbose) {
        if (outcome.outputTruncated) err << "[... the beginning of mosk's output is left out ...]\n";
        err << outcome.output;
        if (!outcome.output.empty() && outcome.output.back() != '\n') err << "\n";
    }
    if (outcome.end == RunEnd::Failed) {
        // The line of the description the report points at; mosk's reader
        // is asked about cut copies of it to find the word.
        ReaderProbe probe(context);
        err << DiagnoseReport(options.description, description, FindErrorReport(outcome.output),
                              probe.Reader());
    }
    err << "mosk-solve: " << outcome.summary << "\n";
}

// Draws the sweep's plot after the results are out; a picture that cannot
// be drawn does not take the results back, but the exit status says so.
int Session::DrawPlot(int status)
{
    if (options.plotPath.empty()) return status;
    std::string error;
    if (DrawSweepPlot(options, report, error)) return status;
    err << "mosk-solve: --plot " << options.plotPath << ": " << error << "\n";
    if (const int signal = ReceivedInterrupt(); signal != 0) return 128 + signal;
    return status == 0 ? kPictureStatus : status;
}

int Session::Finish(int status)
{
    for (const std::string& kept : keptDirectories)
        err << "mosk-solve: run directory kept: " << kept << "\n";
    return status;
}

std::size_t Session::Width() const
{
    return options.parallelRuns > 0 ? options.parallelRuns : DefaultParallelRuns();
}

int Session::RunAlone(ProgressDisplay& display)
{
    const PlannedRun& run = plan.runs.front();
    RunOutcome outcome;
    GraphListingReader listing(kLargestDrawnGraph);
    std::vector<double> probabilities;
    {
        LiveObserver observer(options, err, display, options.graphPath.empty() ? nullptr : &listing);
        outcome = RunMoskOnce(context, run.description, netBase, run.passes, observer,
                              [&](const std::string& modelDir) {
                                  if (options.graphPath.empty()) return;
                                  probabilities = ReadSteadyState(modelDir + "/" + netBase +
                                                                  ".PROBMARK")
                                                      .value_or(std::vector<double>{});
                              });
    }
    display.Stop();
    AddRows(run, outcome);
    if (outcome.end != RunEnd::Done) {
        ShowFailure(outcome);
        return Finish(outcome.status);
    }
    report.tangibleMarkings = outcome.tangibleMarkings;
    report.iterative = outcome.iterative;
    report.seconds = outcome.seconds;
    out << FormatReport(report, options.format);
    out.flush();
    ShowOfferedValues();
    int status = DrawPlot(0);
    if (!options.graphPath.empty()) {
        std::string error;
        if (!DrawGraph(options, listing.Graph(), probabilities, error)) {
            err << "mosk-solve: --graph " << options.graphPath << ": " << error << "\n";
            const int signal = ReceivedInterrupt();
            status = signal != 0 ? 128 + signal : kPictureStatus;
        }
    }
    return Finish(status);
}

int Session::RunSweep(ProgressDisplay& display)
{
    RunOutcome notStarted;
    notStarted.end = RunEnd::Interrupted;
    notStarted.summary = "not run: interrupted";
    std::vector<RunOutcome> outcomes(plan.runs.size(), notStarted);
    RunInParallel(
        plan.runs.size(), Width(),
        [&](std::size_t i) {
            SweepRunObserver observer(options, display, RunName(plan.runs[i]));
            outcomes[i] = RunMoskOnce(context, plan.runs[i].description, netBase,
                                      plan.runs[i].passes, observer);
        },
        [] { return ReceivedInterrupt() != 0; });
    display.Stop();
    for (std::size_t i = 0; i < plan.runs.size(); ++i) AddRows(plan.runs[i], outcomes[i]);
    if (const int signal = ReceivedInterrupt(); signal != 0) {
        err << "mosk-solve: interrupted; mosk was stopped"
            << (options.keep ? "" : " and the run directories removed") << "\n";
        return Finish(128 + signal);
    }
    int status = 0;
    for (std::size_t i = 0; i < plan.runs.size(); ++i) {
        const RunOutcome& outcome = outcomes[i];
        if (outcome.end == RunEnd::Done) {
            if (!report.tangibleMarkings) {
                report.tangibleMarkings = outcome.tangibleMarkings;
                report.iterative = outcome.iterative;
            }
            continue;
        }
        err << "mosk-solve: " << RunName(plan.runs[i]) << ": " << outcome.summary << "\n";
        if (status == 0) status = outcome.status;
    }
    report.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    out << FormatReport(report, options.format);
    out.flush();
    ShowOfferedValues();
    return Finish(DrawPlot(status));
}

int Session::Run()
{
    if (!Prepare()) return prepareStatus;
    const ProgressMode mode =
        ChooseProgressMode(options.progress, options.verbose, isatty(STDERR_FILENO) != 0);
    context.solverProgress = mode != ProgressMode::Off;
    ProgressDisplay display(mode, err, std::strtod(options.epsilon.c_str(), nullptr),
                            plan.runs.size(), Width());
    return plan.runs.size() == 1 ? RunAlone(display) : RunSweep(display);
}

}  // namespace

int RunSolveSession(const SolveOptions& options, std::ostream& out, std::ostream& err)
{
    Session session(options, out, err);
    return session.Run();
}
