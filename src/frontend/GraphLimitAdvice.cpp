// Summaries of the graph limits' reports, by their descriptions.
#include "frontend/GraphLimitAdvice.h"

namespace {

bool Starts(const std::string& text, const char* words)
{
    return text.rfind(words, 0) == 0;
}

// "; places \P \Q grow, so the net is probably unbounded" when mosk named
// growing places.
std::string GrowingPlaces(const std::string& places)
{
    return places.empty() ? "" : "; " + places + ", so the net is probably unbounded";
}

constexpr const char* kBound = "give the growing places a capacity, or a guard that stops them";

}  // namespace

std::string GraphLimitSummary(const ErrorReport& report)
{
    const std::string& what = report.description;
    if (what == "the net is unbounded")
        return report.info1 +
               " without bound (a marking covers an earlier one on its path with "
               "more tokens there): give it a capacity, or a guard that stops it";
    if (Starts(what, "token quantity reached"))
        return "place " + report.info1 +
               " reached 65535 tokens, the most a place holds (one more wraps around to 0), so "
               "it probably grows without bound: give it a capacity or a guard, or accept such "
               "counts with --accept-capped-counts";
    const std::string limit = what.substr(what.rfind(' ') + 1);
    if (Starts(what, "number of markings exceeds the limit of"))
        return "the reachability graph has more than " + limit + " markings (" + report.info1 +
               ")" + GrowingPlaces(report.info2) + ": " + kBound +
               ", or raise the limit with --max-markings";
    if (Starts(what, "memory of the reachability graph exceeds"))
        return "the reachability graph needs more than " + what.substr(what.rfind("of ") + 3) +
               " (" + report.info1 + ")" + GrowingPlaces(report.info2) + ": " + kBound +
               ", or raise the limit with --max-memory";
    if (what == "out of memory")
        return "mosk ran out of memory: lower --max-memory (or raise ulimit -v), or make the "
               "model smaller";
    return "mosk stopped the reachability graph (" + what + ")";
}

bool IsCappedQuantity(const ErrorReport& report)
{
    return Starts(report.description, "token quantity above 65535");
}

std::string CappedQuantitySummary(const ErrorReport& report)
{
    return "line " + report.line +
           " writes a token quantity above 65535, the most a place holds: write a smaller one, "
           "or have it read as 65535 with --accept-capped-counts";
}
