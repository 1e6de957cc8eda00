// Parsing of sweep requests. A delay must be a positive finite number: the
// engine turns it into the rate 1/delay.
#include "frontend/SweepSetting.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace {

bool IsNameCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// A page or transition name of the description: a letter or "_" first, then
// name characters; a page path may join such names with "\".
bool IsName(const std::string& text, bool pathAllowed)
{
    if (text.empty()) return false;
    bool atStart = true;
    for (char c : text) {
        if (pathAllowed && c == '\\' && !atStart) {
            atStart = true;
            continue;
        }
        if (!IsNameCharacter(c) || (atStart && c >= '0' && c <= '9')) return false;
        atStart = false;
    }
    return !atStart;
}

bool ParseDelay(const std::string& text, SweepValue& value, std::string& error)
{
    errno = 0;
    char* end = nullptr;
    const double delay = std::strtod(text.c_str(), &end);
    if (text.empty() || end == text.c_str() || *end != '\0' || errno == ERANGE ||
        !std::isfinite(delay) || delay <= 0.0) {
        error = "'" + text + "' is not a positive mean delay";
        return false;
    }
    value.text = text;
    value.delay = delay;
    return true;
}

}  // namespace

bool ParseSweepSetting(const std::string& text, SweepSetting& setting, std::string& error)
{
    const std::size_t equals = text.find('=');
    const std::size_t slash = text.rfind('/', equals);
    if (equals == std::string::npos || slash == std::string::npos) {
        error = "--set " + text + ": expected SUB/T=v1,v2,...";
        return false;
    }
    setting = SweepSetting{};
    setting.subModel = text.substr(0, slash);
    setting.transition = text.substr(slash + 1, equals - slash - 1);
    if (!IsName(setting.subModel, true)) {
        error = "--set " + text + ": '" + setting.subModel + "' is not a sub-page name";
        return false;
    }
    if (!IsName(setting.transition, false)) {
        error = "--set " + text + ": '" + setting.transition + "' is not a transition name";
        return false;
    }
    std::size_t start = equals + 1;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        SweepValue value;
        if (!ParseDelay(text.substr(start, comma - start), value, error)) {
            error = "--set " + text + ": " + error;
            return false;
        }
        setting.values.push_back(value);
        if (comma == std::string::npos) return true;
        start = comma + 1;
    }
}

bool CountPasses(const std::vector<SweepSetting>& settings, int& passes, std::string& error)
{
    std::size_t longest = 1;
    for (const SweepSetting& setting : settings)
        if (setting.values.size() > longest) longest = setting.values.size();
    for (const SweepSetting& setting : settings) {
        if (setting.values.size() != 1 && setting.values.size() != longest) {
            error = "--set " + setting.Label() + " has " + std::to_string(setting.values.size()) +
                    " values where the other settings have " + std::to_string(longest) +
                    " (give each setting the same number of values, or one)";
            return false;
        }
    }
    passes = static_cast<int>(longest);
    return true;
}

const SweepValue& ValueInPass(const SweepSetting& setting, int pass)
{
    return setting.values.size() == 1 ? setting.values.front()
                                      : setting.values[static_cast<std::size_t>(pass)];
}
