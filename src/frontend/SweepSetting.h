// A `--set SUB/T=v1,v2,...` request: new mean delays for the exponential
// transition T on the sub-page SUB, one value per pass of a single mosk run.
#pragma once

#include <string>
#include <vector>

struct SweepValue {
    std::string text;  // as the user wrote it, for the output
    double delay = 0.0;
};

struct SweepSetting {
    std::string subModel;    // the sub-page, "A" or "A\B" for a deeper page
    std::string transition;  // the transition's name on that page
    std::vector<SweepValue> values;

    // "SUB/T", the column title of the setting.
    std::string Label() const { return subModel + "/" + transition; }
};

// Reads "SUB/T=v1,v2,..."; on failure `error` says what is wrong.
bool ParseSweepSetting(const std::string& text, SweepSetting& setting, std::string& error);

// The number of passes the settings ask for: the longest list of values.
// Every list must have that length or a single value (used in every pass);
// otherwise `error` names the setting that does not fit.
bool CountPasses(const std::vector<SweepSetting>& settings, int& passes, std::string& error);

// The value of a setting in pass `pass` (a single value serves every pass).
const SweepValue& ValueInPass(const SweepSetting& setting, int pass);
