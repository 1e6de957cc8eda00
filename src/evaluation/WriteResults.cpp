// The results file of a pass: one line per measure with its value to 16
// significant digits, then the end mark that tells the front end the file
// is complete.
#include "evaluation/NetEvaluation.h"

#include "foundation/Reporters.h"
#include "foundation/RunState.h"
#include "netmodel/Definition.h"
#include "netmodel/Registries.h"
#include "solution/SolveLGS.h"

#include <fcntl.h>
#include <unistd.h>
#include <cmath>
#include <cstdio>
#include <string>

namespace {

constexpr int kOpenLine = 85;
constexpr int kWriteLine = 101;
constexpr mode_t kResultsFileMode = 0664;

std::FILE* CreateResultsFile(const char* path)
{
    int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC, kResultsFileMode);
    std::FILE* file = fd < 0 ? nullptr : fdopen(fd, "w");
    if (!file) {
        if (fd >= 0) close(fd);
        NEError(kOpenLine, "WriteResults()", "can't open file", path);
    }
    return file;
}

// The largest relative error bound over the measures. A measure of value
// zero has no relative error and is left out (a throughput of a transition
// that never fires is an exact zero).
class LargestRelativeError {
public:
    void Add(double value, double error)
    {
        if (value == 0.0 || !std::isfinite(value)) return;
        double relative = error / std::fabs(value);
        if (!found || !(relative <= largest)) largest = relative;
        found = true;
    }
    bool Found() const { return found; }
    double Value() const { return largest; }

private:
    bool found = false;
    double largest = 0.0;
};

// One measure's error bound, absolute and, where its value is not zero,
// relative to it.
std::string ErrorLine(const char* name, double value, double error)
{
    char line[128];
    if (value == 0.0 || !std::isfinite(value))
        std::snprintf(line, sizeof line, ": %g absolute\n", error);
    else
        std::snprintf(line, sizeof line, ": %g absolute, %g relative\n", error,
                      error / std::fabs(value));
    return std::string("\t\t estimated error of ") + name + line;
}

}  // namespace

void WriteResults(Str fileName)
{
    const char* path = fileName.IsNull() ? "" : fileName.GetCChar();
    std::FILE* file = CreateResultsFile(path);
    std::vector<Cell*> measures;
    for (PLElement<Definition>* d = EvalRefs.first; d; d = d->next) measures.push_back(d->item->GetVal());
    RatingErrors errors;
    RatingValues values = EvaluateRatingCells(measures, errors);
    LargestRelativeError largest;
    std::string each;
    for (PLElement<Definition>* d = EvalRefs.first; d; d = d->next) {
        double value = SubstitudeRatingCells(d->item->GetVal(), values);
        Str name = d->item->GetNameT().StripOffRoot();
        const char* text = name.IsNull() ? "" : name.GetCChar();
        std::fprintf(file, "%s %.16g\n", text, value);
        if (pi_error.empty()) continue;
        double error = MeasureError(d->item->GetVal(), value, values, errors) +
                       RoundingError(value, pi_error.size());
        largest.Add(value, error);
        each += ErrorLine(text, value, error);
    }
    std::fputs("*#END#*\n", file);
    bool written = !std::ferror(file);
    if (std::fclose(file) != 0 || !written)
        NEError(kWriteLine, "WriteResults()", "can't write to file", path);
    if (!DEBUG) return;
    std::fputs(each.c_str(), stdout);
    if (largest.Found())
        std::printf("\t\t estimated relative error of the measures: %g\n", largest.Value());
}
