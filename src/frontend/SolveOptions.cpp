// Command-line parsing of mosk-solve. Long options take their value as the
// next argument or after "="; mosk's own diagnostic switches are passed
// through and may be bundled ("-vr").
#include "frontend/SolveOptions.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <sstream>

namespace {

// mosk's switches that only add output; each makes mosk-solve show it.
constexpr const char* kDiagnosticSwitches = "cCeHilprRstvxy";

bool IsPositiveNumber(const std::string& text, double& value)
{
    errno = 0;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0' && errno != ERANGE && std::isfinite(value) && value > 0.0;
}

bool IsWholeNumber(const std::string& text)
{
    if (text.empty() || text.size() > 9) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

bool AddMoskSwitches(const std::string& word, SolveOptions& options, std::string& error)
{
    if (word.size() < 2 || word[0] != '-') {
        error = "'" + word + "' is not a mosk switch";
        return false;
    }
    for (std::size_t i = 1; i < word.size(); ++i) {
        const char letter = word[i];
        if (letter == 'I') {
            options.iterative = true;
        } else if (letter == 'P') {
            options.parallel = true;
        } else if (std::strchr(kDiagnosticSwitches, letter) != nullptr) {
            options.moskFlags.push_back(std::string("-") + letter);
            options.verbose = true;
        } else {
            error = std::string("-") + letter +
                    " is not a switch mosk-solve passes to mosk (see --help)";
            return false;
        }
    }
    return true;
}

bool SetFormat(const std::string& value, SolveOptions& options, std::string& error)
{
    if (value == "table")
        options.format = OutputFormat::Table;
    else if (value == "csv")
        options.format = OutputFormat::Csv;
    else if (value == "json")
        options.format = OutputFormat::Json;
    else {
        error = "--format " + value + ": expected table, csv or json";
        return false;
    }
    return true;
}

// --method names and the ITERATION words of mosk's .Plenar they stand for.
struct MethodName {
    const char* option;
    const char* iteration;
};
constexpr MethodName kMethods[] = {{"sor:auto", "SOR AUTO"},
                                   {"gauss-seidel", "GAUSS-SEIDEL"},
                                   {"gauss-seidel-backward", "GAUSS-SEIDEL BACKWARD"},
                                   {"bicgstab", "BICGSTAB"},
                                   {"jacobi", "JACOBI"}};

// "sor:OMEGA" for over-relaxation with a factor between 0 and 2.
bool IsSor(const std::string& value, std::string& omega)
{
    double number = 0.0;
    if (value.compare(0, 4, "sor:") != 0) return false;
    omega = value.substr(4);
    return IsPositiveNumber(omega, number) && number < 2.0;
}

bool SetMethod(const std::string& value, SolveOptions& options, std::string& error)
{
    std::string omega;
    bool known = IsSor(value, omega);
    for (const MethodName& method : kMethods) known = known || value == method.option;
    if (known) {
        options.method = value;
        return true;
    }
    error = "--method " + value +
            ": expected sor:auto, gauss-seidel, gauss-seidel-backward, sor:OMEGA (0 < OMEGA < 2), "
            "bicgstab or jacobi";
    return false;
}

bool SetDropTolerance(const std::string& value, SolveOptions& options, std::string& error)
{
    double number = 0.0;
    if (value == "AUTO" || value == "auto" || value == "NONE" || value == "none" ||
        (IsPositiveNumber(value, number) && number <= 0.01)) {
        options.dropTolerance = value;
        return true;
    }
    error = "--drop-tolerance " + value + ": expected AUTO, NONE or a number up to 0.01";
    return false;
}

// One option that takes a value; false with `error` set when it is wrong.
bool TakeValue(const std::string& name, const std::string& value, SolveOptions& options,
               std::string& error)
{
    double number = 0.0;
    if (name == "-E" || name == "--epsilon") {
        if (!IsPositiveNumber(value, number)) {
            error = name + " " + value + ": expected a positive precision such as 1e-10";
            return false;
        }
        options.epsilon = value;
    } else if (name == "-M" || name == "--max-iterations") {
        if (!IsWholeNumber(value)) {
            error = name + " " + value + ": expected a whole number of iterations";
            return false;
        }
        options.maxIterations = value;
    } else if (name == "--set") {
        SweepSetting setting;
        if (!ParseSweepSetting(value, setting, error)) return false;
        options.settings.push_back(setting);
    } else if (name == "--format") {
        return SetFormat(value, options, error);
    } else if (name == "--mosk") {
        options.moskPath = value;
    } else if (name == "--mosk-flags") {
        std::istringstream words(value);
        std::string word;
        while (words >> word)
            if (!AddMoskSwitches(word, options, error)) return false;
    } else if (name == "--timeout") {
        if (!IsPositiveNumber(value, number)) {
            error = "--timeout " + value + ": expected a number of seconds";
            return false;
        }
        options.timeoutSeconds = number;
    } else if (name == "--max-markings" || name == "--max-memory") {
        if (!IsWholeNumber(value) || value.find_first_not_of('0') == std::string::npos) {
            error = name + " " + value + ": expected a positive whole number";
            return false;
        }
        (name == "--max-markings" ? options.maxMarkings : options.maxMemory) = value;
    } else if (name == "--drop-tolerance") {
        return SetDropTolerance(value, options, error);
    } else if (name == "--method") {
        return SetMethod(value, options, error);
    } else if (name == "--plot") {
        options.plotPath = value;
        return PictureFormatOf(name, value,
                               {PictureFormat::Svg, PictureFormat::Png, PictureFormat::Pdf},
                               options.plotFormat, error);
    } else if (name == "--plot-measures") {
        std::istringstream names(value);
        std::string measure;
        while (std::getline(names, measure, ','))
            if (!measure.empty()) options.plotMeasures.push_back(measure);
        if (options.plotMeasures.empty()) {
            error = "--plot-measures " + value + ": expected measure names separated by commas";
            return false;
        }
    } else if (name == "--graph") {
        options.graphPath = value;
        return PictureFormatOf(
            name, value,
            {PictureFormat::Svg, PictureFormat::Png, PictureFormat::Pdf, PictureFormat::Dot},
            options.graphFormat, error);
    } else if (name == "--jobs") {
        if (!IsWholeNumber(value) || std::stoul(value) == 0) {
            error = name + " " + value + ": expected the number of runs to keep going at once";
            return false;
        }
        options.parallelRuns = std::stoul(value);
    }
    return true;
}

bool TakesValue(const std::string& name)
{
    for (const char* option : {"-E", "-M", "--epsilon", "--max-iterations", "--set", "--format",
                               "--mosk", "--mosk-flags", "--timeout", "--drop-tolerance",
                               "--max-markings", "--max-memory", "--method", "--jobs", "--plot",
                               "--plot-measures", "--graph"})
        if (name == option) return true;
    return false;
}

}  // namespace

std::string SolverSettingLines(const SolveOptions& options)
{
    std::string iteration;
    std::string omega;
    if (IsSor(options.method, omega)) iteration = "SOR " + omega;
    for (const MethodName& method : kMethods)
        if (options.method == method.option) iteration = method.iteration;
    // Elimination pays only up to about 1e8 multiply-adds (a twentieth of a
    // second): on the bench nets the iteration, stopped on its error
    // estimate, was faster from kanban N=2 (5.5e8) on, the elimination below
    // (a coloured net at 3.9e7: 0.08 against 0.21 s CPU).
    return "ITERATION " + iteration + "\nSTOP TEST ERROR\nDIRECT WORK 1e8\n";
}

ParseOutcome ParseSolveOptions(int argc, const char* const* argv, SolveOptions& options,
                               std::string& error)
{
    if (const char* mosk = std::getenv("MOSK")) options.moskPath = mosk;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if (optionsEnded || argument.empty() || argument[0] != '-' || argument == "-") {
            if (!options.description.empty()) {
                error = "more than one description given ('" + options.description + "' and '" +
                        argument + "')";
                return ParseOutcome::Error;
            }
            options.description = argument;
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (argument == "-h" || argument == "--help") return ParseOutcome::Help;
        if (argument == "--version") return ParseOutcome::Version;
        std::string name = argument;
        std::string value;
        bool hasValue = false;
        const std::size_t equals = argument.find('=');
        if (argument.compare(0, 2, "--") == 0 && equals != std::string::npos) {
            name = argument.substr(0, equals);
            value = argument.substr(equals + 1);
            hasValue = true;
        } else if ((name.compare(0, 2, "-E") == 0 || name.compare(0, 2, "-M") == 0) &&
                   name.size() > 2) {
            // mosk's own spelling, -E1e-10 and -M5000, works here too.
            value = name.substr(2);
            name = name.substr(0, 2);
            hasValue = true;
        }
        if (TakesValue(name)) {
            if (!hasValue) {
                if (i + 1 >= argc) {
                    error = name + " needs a value";
                    return ParseOutcome::Error;
                }
                value = argv[++i];
            }
            if (!TakeValue(name, value, options, error)) return ParseOutcome::Error;
        } else if (hasValue) {
            error = name + " takes no value";
            return ParseOutcome::Error;
        } else if (name == "--iterative") {
            options.iterative = true;
        } else if (name == "--parallel") {
            options.parallel = true;
        } else if (name == "--accept-capped-counts") {
            options.acceptCappedCounts = true;
        } else if (name == "--strict") {
            options.strict = true;
        } else if (name == "--keep") {
            options.keep = true;
        } else if (name == "--verbose") {
            options.verbose = true;
        } else if (name == "--progress") {
            options.progress = 1;
        } else if (name == "--no-progress") {
            options.progress = 0;
        } else if (name.compare(0, 2, "--") == 0) {
            error = "unknown option " + name + " (see --help)";
            return ParseOutcome::Error;
        } else if (!AddMoskSwitches(name, options, error)) {
            return ParseOutcome::Error;
        }
    }
    if (options.description.empty()) {
        error = "no description given (usage: mosk-solve [options] model.table)";
        return ParseOutcome::Error;
    }
    std::size_t rows = 0;
    if (!CountSweepRows(options.settings, rows, error)) return ParseOutcome::Error;
    if (!options.plotMeasures.empty() && options.plotPath.empty()) {
        error = "--plot-measures chooses the panels of --plot; give --plot FILE too";
        return ParseOutcome::Error;
    }
    return ParseOutcome::Run;
}
