// Failure summaries by exit status. mosk's modules end with fixed negative
// statuses, which the shell sees modulo 256 (-3 as 253 and so on).
#include "frontend/FailureAdvice.h"

#include <sstream>

#include "frontend/GraphLimitAdvice.h"

namespace {

std::string Trimmed(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    const std::size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// The first line of `output` that holds `words`, trimmed; "" when none.
std::string LineWith(const std::string& output, const std::string& words)
{
    const std::size_t at = output.find(words);
    if (at == std::string::npos) return "";
    const std::size_t start = output.rfind('\n', at);
    const std::size_t end = output.find('\n', at);
    const std::size_t from = start == std::string::npos ? 0 : start + 1;
    return Trimmed(output.substr(from, end == std::string::npos ? end : end - from));
}

bool Holds(const std::string& output, const char* words)
{
    return output.find(words) != std::string::npos;
}

// " (what)" or "" when there is nothing to say.
std::string Detail(const ErrorReport& report)
{
    std::string detail = report.description;
    if (!report.info1.empty() && report.info1 != "Unknown" && report.info1 != "unknown")
        detail += (detail.empty() ? "" : ": ") + report.info1;
    return detail.empty() ? "" : " (" + detail + ")";
}

std::string AtLine(const ErrorReport& report)
{
    return report.line.empty() ? "" : " at line " + report.line;
}

std::string DescriptionError(int status, const ErrorReport& report)
{
    std::string where = AtLine(report);
    std::string near;
    if (!report.info2.empty()) near = " near '" + report.info2 + "'";
    std::string section =
        report.info1.empty() || report.info1 == "Unknown" || report.info1 == "unknown"
            ? ""
            : ", section " + report.info1;
    const std::string what = "(" + report.description + section + near + ")";
    if (status == 251)
        return "lexical error in the description" + where + " " + what +
               ": check the spelling of names and keywords, write numbers as 2, 2.5 or 0.0, and "
               "see docs/language.md";
    return "syntax error in the description" + where + " " + what +
           ": check the order of the sections (Definition, Parameter, Page, ElementaryPlace, "
           "ProductPlace, Transition, Evaluate) and the separators ';' ',' '|'";
}

// A file that cannot be written in the run directory: most often the disk
// (or a file-size limit) is full.
std::string RoomAdvice(const ErrorReport& report)
{
    const bool writing = report.description.find("can't write") != std::string::npos ||
                         report.description.find("can't open file") != std::string::npos;
    return writing ? ": check the room left where the run directory is ($TMPDIR, default /tmp) "
                     "and any file-size limit (ulimit -f)"
                   : "";
}

bool WorkerEnded(const ErrorReport& report)
{
    return report.description.find("ended without its results") != std::string::npos;
}

// The worker's own account comes last: it is what the user has to act on.
std::string WorkerEndedSummary(const char* kind, const ErrorReport& report)
{
    std::string account = report.info1;
    for (std::size_t at; (at = account.find("\\__ROOT__")) != std::string::npos;)
        account.erase(at, 9);
    return std::string("the ") + kind + "-delay worker stopped without its results: " + account;
}

}  // namespace

ErrorReport FindErrorReport(const std::string& output)
{
    ErrorReport report;
    const std::size_t at = output.rfind("ERROR occured");
    if (at == std::string::npos) return report;
    std::istringstream lines(output.substr(at));
    std::string line;
    auto field = [&](const char* label, std::string& target) {
        if (line.compare(0, std::string(label).size(), label) == 0)
            target = Trimmed(line.substr(std::string(label).size()));
    };
    while (std::getline(lines, line)) {
        field("line\t\t : ", report.line);
        field("function \t : ", report.function);
        field("description\t : ", report.description);
        field("additional info1 : ", report.info1);
        field("additional info2 : ", report.info2);
    }
    return report;
}

bool DirectSolverGaveUp(int status, const std::string& output, std::string& reason)
{
    if (status != 1) return false;
    for (const char* words :
         {"has a zero pivot", "zero matrix dimension"}) {
        reason = LineWith(output, words);
        if (!reason.empty()) return true;
    }
    return false;
}

std::string FailureSummary(int status, const std::string& output)
{
    const ErrorReport report = FindErrorReport(output);
    switch (status) {
        case 253:
            if (Holds(output, "couldn't find transition"))
                return "a --set names no exponential single-server transition of that sub-page (" +
                       LineWith(output, "couldn't find transition") +
                       "): check SUB/T against the description";
            if (Holds(output, "can't get transitiontable"))
                return "mosk could not read the description file";
            return "mosk rejected its command line or run environment: check -E and -M, or unset "
                   "PLENARHOME to let mosk-solve prepare a private environment";
        case 252:
            return "the net model rejected a value" + Detail(report) +
                   ": check the delays, weights, capacities and expressions of the object named "
                   "above";
        case 251:
        case 250:
            if (IsCappedQuantity(report)) return CappedQuantitySummary(report);
            return DescriptionError(status, report);
        case 249:
            return "the description does not fit together" + Detail(report) +
                   ": check the colours, capacities, arcs and transition names it names";
        case 248:
            return "the distributions of the general transitions could not be written" +
                   Detail(report) + ": check that the run directory is writable";
        case 247:
            return "mosk stopped" + Detail(report);
        case 246:
            return "the reachability graph could not be built" + Detail(report) +
                   ": give every place that can grow a capacity, and check loops of immediate "
                   "transitions";
        case 245:
            return "the reachability graph could not be examined" + Detail(report);
        case 244:
            return "the solution of the model failed" + Detail(report) + RoomAdvice(report);
        case 243:
            if (WorkerEnded(report)) return WorkerEndedSummary("deterministic", report);
            return "a deterministic-delay worker (kiln_da) failed" + Detail(report) +
                   ": check that kiln_da is installed beside mosk (see docs/running.md)";
        case 242:
            if (WorkerEnded(report)) return WorkerEndedSummary("general", report);
            return "a general-delay worker (ekiln) failed" + Detail(report) +
                   ": check the General(...) distributions (their mass must be 1) and that ekiln "
                   "is "
                   "installed";
        case 241:
            return "the measures could not be evaluated" + Detail(report) + RoomAdvice(report);
        case 240:
            return "mosk ran out of memory while receiving the workers' results";
        case 239:
            return GraphLimitSummary(report);
        case 1: {
            std::string reason = LineWith(output, "ERROR");
            if (reason.empty()) reason = "see its message above";
            return "the linear solver stopped (" + reason +
                   "): try --iterative, a larger -M or a larger -E";
        }
        case 2:
            return "mosk's description scanner failed (out of memory?)";
        case 127:
            return "mosk could not be started: check --mosk or $MOSK";
        default:
            break;
    }
    if (status > 128 && status < 160) {
        const int signal = status - 128;
        if (signal == 15 || signal == 1 || signal == 2)
            return "mosk was stopped from outside by signal " + std::to_string(signal) +
                   " (it stopped its workers too)";
        return "mosk was killed by signal " + std::to_string(signal) +
               (signal == 9 ? " (out of memory?)" : "");
    }
    return "mosk ended with status " + std::to_string(status);
}
