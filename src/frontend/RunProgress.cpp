// The phases follow the order of mosk's pipeline. The generation's progress
// is the spinner: "\trunning rrg creation ... |\b" at the first marking, then
// one more character and a backspace for every further 200. The time left in
// the relaxation assumes its residual keeps falling geometrically, as it
// does once the iteration has settled.
#include "frontend/RunProgress.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr long kMarkingsPerSpin = 200;
constexpr std::size_t kLineStart = 80;  // of each line, enough to know it

bool Starts(const std::string& line, const char* text)
{
    return line.find(text) != std::string::npos;
}

std::optional<double> NumberAfter(const std::string& line, const char* key)
{
    const std::size_t at = line.find(key);
    if (at == std::string::npos) return std::nullopt;
    const char* start = line.c_str() + at + std::string(key).size();
    char* end = nullptr;
    const double value = std::strtod(start, &end);
    if (end == start) return std::nullopt;
    return value;
}

double Seconds(RunProgress::Clock::duration duration)
{
    return std::chrono::duration<double>(duration).count();
}

}  // namespace

RunProgress::RunProgress(double epsilon, Clock::time_point start)
    : epsilon(epsilon), phaseStart(start)
{
}

void RunProgress::EnterPhase(RunPhase phase, Clock::time_point now)
{
    if (phase == state.phase) return;
    state.phase = phase;
    phaseStart = now;
}

void RunProgress::Iteration(int k, double accuracy, Clock::time_point now)
{
    state.iteration = k;
    state.accuracy = accuracy;
    if (!(accuracy > 0.0) || !std::isfinite(accuracy)) return;
    const double logAccuracy = std::log10(accuracy);
    if (!firstIteration) {
        firstIteration = k;
        firstIterationTime = now;
        firstIterationLog = logAccuracy;
        return;
    }
    const double elapsed = Seconds(now - firstIterationTime);
    const double fallen = firstIterationLog - logAccuracy;
    if (elapsed <= 0.0 || fallen <= 0.0) {
        state.solveSecondsLeft.reset();
        return;
    }
    const double toGo = logAccuracy - std::log10(epsilon);
    state.solveSecondsLeft = toGo > 0.0 ? toGo / (fallen / elapsed) : 0.0;
}

void RunProgress::Line(const std::string& text, Clock::time_point now)
{
    if (Starts(text, "parsing transition table ...") || Starts(text, "checking classes ..."))
        EnterPhase(RunPhase::Reading, now);
    else if (const auto markings = NumberAfter(text, "rrg size  (markings)          :"))
        state.markings = static_cast<long>(*markings);
    else if (Starts(text, "examining rrg ..."))
        EnterPhase(RunPhase::Examining, now);
    else if (Starts(text, "writing CONV00-, EMC00- and AUX-files ..."))
        EnterPhase(RunPhase::WritingChain, now);
    else if (Starts(text, "starting kiln process execution ...") ||
             Starts(text, "starting ekiln process execution ..."))
        EnterPhase(RunPhase::Workers, now);
    else if (Starts(text, "solving LGS ...")) {
        EnterPhase(RunPhase::Solving, now);
        state.directSolver = false;
        state.iteration.reset();
        state.accuracy.reset();
        state.solveSecondsLeft.reset();
        firstIteration.reset();
    } else if (Starts(text, "solution with sparse Gaussian-Elimination"))
        state.directSolver = true;
    else if (Starts(text, "solution with sor") || Starts(text, "iterative refinement of solution"))
        state.directSolver = false;
    else if (Starts(text, "solving LGS finished !"))
        EnterPhase(RunPhase::Evaluating, now);
    else if (Starts(text, "calculating net parameters finished !"))
        EnterPhase(RunPhase::Done, now);
    else if (const auto reached = NumberAfter(text, "\t\t iteration ")) {
        if (const auto accuracy = NumberAfter(text, " accuracy "))
            Iteration(static_cast<int>(*reached), *accuracy, now);
    }
}

void RunProgress::CreationCharacter(char c, Clock::time_point now)
{
    if (c == '\b') {
        if (spins++ > 0) state.markings = (spins - 1) * kMarkingsPerSpin;
    } else if (c >= '0' && c <= '9') {
        count = readingCount ? count * 10 + (c - '0') : c - '0';
        readingCount = true;
    } else {
        if (readingCount && c == '.') state.markings = count;
        readingCount = false;
    }
    const double seconds = Seconds(now - phaseStart);
    if (seconds > 0.0) state.markingsPerSecond = static_cast<double>(state.markings) / seconds;
}

void RunProgress::Feed(std::string_view piece, Clock::time_point now)
{
    for (char c : piece) {
        if (c == '\n') {
            Line(line, now);
            line.clear();
            inCreation = false;
            continue;
        }
        if (inCreation) {
            CreationCharacter(c, now);
            continue;
        }
        if (line.size() < kLineStart) line.push_back(c);
        if (Starts(line, "running rrg creation ...")) {
            inCreation = true;
            EnterPhase(RunPhase::Generating, now);
            state.markings = 1;
        }
    }
}

RunProgressState RunProgress::State(Clock::time_point now) const
{
    RunProgressState current = state;
    current.phaseSeconds = Seconds(now - phaseStart);
    return current;
}

std::string GroupedNumber(long number)
{
    std::string digits = std::to_string(number < 0 ? -number : number);
    for (std::size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, ",");
    return (number < 0 ? "-" : "") + digits;
}

std::string RoughDuration(double seconds)
{
    char text[32];
    if (seconds < 90)
        std::snprintf(text, sizeof text, "%.0f s", std::ceil(seconds));
    else if (seconds < 5400)
        std::snprintf(text, sizeof text, "%.0f min", seconds / 60);
    else
        std::snprintf(text, sizeof text, "%.1f h", seconds / 3600);
    return text;
}

std::string DescribeProgress(const RunProgressState& state)
{
    const std::string markings = GroupedNumber(state.markings) + " markings";
    char rate[64] = "";
    switch (state.phase) {
        case RunPhase::Starting:
            return "starting mosk";
        case RunPhase::Reading:
            return "reading the description";
        case RunPhase::Generating:
            if (state.markingsPerSecond > 0)
                std::snprintf(rate, sizeof rate, " (%s/s)",
                              GroupedNumber(std::lround(state.markingsPerSecond)).c_str());
            return "generating: " + markings + rate;
        case RunPhase::Examining:
            return "examining " + markings;
        case RunPhase::WritingChain:
            return "writing the chain of " + markings;
        case RunPhase::Workers:
            return "transient analysis of the deterministic and general markings";
        case RunPhase::Solving: {
            std::string text = "solving " + markings;
            if (state.directSolver) return text + " by elimination";
            if (!state.iteration) return text;
            char figures[96];
            std::snprintf(figures, sizeof figures, ": iteration %d, accuracy %.1e",
                          *state.iteration, state.accuracy.value_or(0.0));
            text += figures;
            if (state.solveSecondsLeft)
                text += ", ~" + RoughDuration(*state.solveSecondsLeft) + " left";
            return text;
        }
        case RunPhase::Evaluating:
            return "evaluating the measures";
        case RunPhase::Done:
            break;
    }
    return "done";
}
