// A `--set` request. `NAME=v1,v2,...` gives a definition of the description
// other values; `SUB/T=v1,...` gives the exponential transition T on the
// sub-page SUB other mean delays. A value list may hold ranges `a:b:n`, n
// evenly spaced values from a to b. Several settings form a grid.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct SweepValue {
    std::string text;  // as the user wrote it, or as a range produced it
    double number = 0.0;
};

enum class SweepTarget { Definition, TransitionDelay };

struct SweepSetting {
    SweepTarget target = SweepTarget::Definition;
    std::string name;        // Definition: the name as given
    std::string subModel;    // TransitionDelay: the sub-page, "A" or "A\B"
    std::string transition;  // TransitionDelay: the transition on that page
    std::vector<SweepValue> values;

    // The column title: NAME, or SUB/T.
    std::string Label() const;
};

// Reads "NAME=..." or "SUB/T=..."; on failure `error` says what is wrong.
bool ParseSweepSetting(const std::string& text, SweepSetting& setting, std::string& error);

// The number of rows of the grid the settings span (1 without settings);
// refuses a name given twice and grids beyond kLargestSweep rows.
constexpr std::size_t kLargestSweep = 100000;
bool CountSweepRows(const std::vector<SweepSetting>& settings, std::size_t& rows,
                    std::string& error);

// The value index of each setting in row `row` of the grid: the first
// setting varies slowest, the last fastest.
std::vector<std::size_t> GridPosition(const std::vector<SweepSetting>& settings, std::size_t row);
