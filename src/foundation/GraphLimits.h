// How far the reachability graph may grow, and what is said or done when it
// shows signs of growing without bound. The limits always hold: by default
// they are derived from the machine, so that a net without bound stops with
// a report instead of exhausting the memory. The checks of capped counts and
// of growing places are off unless the per-user file asks for them.
#pragma once

#include <cstdint>
#include <string>

// Off: nothing is checked; Warn: a warning line; Stop: a fatal report.
enum class GrowthCheck { Off, Warn, Stop };

struct GraphLimits {
    std::uint64_t maxMarkings = 0;  // tangible and intermediate markings stored
    std::uint64_t maxMemoryKB = 0;  // resident size of the process while generating
    std::string markingsSource;     // where the limit comes from, for the report
    std::string memorySource;
    GrowthCheck cappedCounts = GrowthCheck::Off;     // quantities at the largest count
    GrowthCheck unboundedPlaces = GrowthCheck::Off;  // markings that cover an ancestor
};

extern GraphLimits RunLimits;

// The largest token quantity a place can hold; one more wraps around to 0.
constexpr unsigned kLargestQuantity = 65535;

// Reads one line of the per-user file into `limits`: answers false for a
// line that is none of its keys ("MAX MARKINGS n", "MAX GRAPH MEMORY n" in
// megabytes, "CAPPED COUNTS WARN|STOP", "UNBOUNDED PLACES WARN|STOP"). A key
// with a value it cannot take sets `error` to the line.
bool ReadGraphLimitLine(const std::string& line, GraphLimits& limits, std::string& error);

// Prints a warning line of the graph checks; `midLine` starts it on a line
// of its own when the progress display has left one open.
void PrintGraphWarning(const std::string& text, bool midLine);
