// Parsing of sweep requests. A mean delay of the SUB/T form must be a
// positive finite number (mosk turns it into the rate 1/delay); a
// definition's value may be any finite number, mosk judges it in context.
#include "frontend/SweepSetting.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>


namespace {

bool IsNameCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// A name of the description: a letter or "_" first, then name characters; a
// path joins such names with "\" (and may start with one when allowed).
bool IsName(const std::string& text, bool pathAllowed)
{
    std::size_t from = pathAllowed && !text.empty() && text.front() == '\\' ? 1 : 0;
    if (from == text.size()) return false;
    bool atStart = true;
    for (std::size_t i = from; i < text.size(); ++i) {
        const char c = text[i];
        if (pathAllowed && c == '\\' && !atStart) {
            atStart = true;
            continue;
        }
        if (!IsNameCharacter(c) || (atStart && c >= '0' && c <= '9')) return false;
        atStart = false;
    }
    return !atStart;
}

bool ReadNumber(const std::string& text, double& number)
{
    errno = 0;
    char* end = nullptr;
    number = std::strtod(text.c_str(), &end);
    return !text.empty() && end != text.c_str() && *end == '\0' && errno != ERANGE &&
           std::isfinite(number);
}

bool ReadCount(const std::string& text, std::size_t& count)
{
    if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    count = static_cast<std::size_t>(std::stoul(text));
    return count >= 1;
}

// A value of a range to 15 significant digits: 0.1 + 0.8 * 0.6 is the
// 0.58 a user means, not 0.5800000000000001.
std::string RangeValueText(double number)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.15g", number);
    return text;
}

// "a:b:n": n values from a to b, the ends exact.
bool AddRange(const std::string& item, std::vector<SweepValue>& values, std::string& error)
{
    const std::size_t first = item.find(':');
    const std::size_t second = item.find(':', first + 1);
    double from = 0.0;
    double to = 0.0;
    std::size_t count = 0;
    if (second == std::string::npos || item.find(':', second + 1) != std::string::npos ||
        !ReadNumber(item.substr(0, first), from) ||
        !ReadNumber(item.substr(first + 1, second - first - 1), to) ||
        !ReadCount(item.substr(second + 1), count)) {
        error = "'" + item + "' is not a range FROM:TO:COUNT (such as 0.1:2:20)";
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        double number = from;
        if (count > 1)
            number = i + 1 == count ? to
                                    : from + (to - from) * static_cast<double>(i) /
                                                 static_cast<double>(count - 1);
        values.push_back({RangeValueText(number), 0.0});
        ReadNumber(values.back().text, values.back().number);
    }
    return true;
}

bool AddItem(const std::string& item, std::vector<SweepValue>& values, std::string& error)
{
    if (item.find(':') != std::string::npos) return AddRange(item, values, error);
    double number = 0.0;
    if (!ReadNumber(item, number)) {
        error = "'" + item + "' is not a number";
        return false;
    }
    values.push_back({item, number});
    return true;
}

bool CheckDelays(const std::vector<SweepValue>& values, std::string& error)
{
    for (const SweepValue& value : values)
        if (value.number <= 0.0) {
            error = "'" + value.text + "' is not a positive mean delay";
            return false;
        }
    return true;
}

}  // namespace

std::string SweepSetting::Label() const
{
    return target == SweepTarget::Definition ? name : subModel + "/" + transition;
}

bool ParseSweepSetting(const std::string& text, SweepSetting& setting, std::string& error)
{
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos) {
        error = "--set " + text + ": expected NAME=v1,v2,... (or SUB/T=v1,v2,...)";
        return false;
    }
    setting = SweepSetting{};
    const std::string left = text.substr(0, equals);
    const std::size_t slash = left.rfind('/');
    if (slash == std::string::npos) {
        setting.target = SweepTarget::Definition;
        setting.name = left;
        if (!IsName(left, true)) {
            error = "--set " + text + ": '" + left + "' is not a definition name";
            return false;
        }
    } else {
        setting.target = SweepTarget::TransitionDelay;
        setting.subModel = left.substr(0, slash);
        setting.transition = left.substr(slash + 1);
        if (!IsName(setting.subModel, true) || setting.subModel.front() == '\\') {
            error = "--set " + text + ": '" + setting.subModel + "' is not a sub-page name";
            return false;
        }
        if (!IsName(setting.transition, false)) {
            error = "--set " + text + ": '" + setting.transition + "' is not a transition name";
            return false;
        }
    }
    std::size_t start = equals + 1;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        if (!AddItem(text.substr(start, comma - start), setting.values, error)) {
            error = "--set " + text + ": " + error;
            return false;
        }
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    if (setting.target == SweepTarget::TransitionDelay && !CheckDelays(setting.values, error)) {
        error = "--set " + text + ": " + error;
        return false;
    }
    return true;
}

bool CountSweepRows(const std::vector<SweepSetting>& settings, std::size_t& rows, std::string& error)
{
    rows = 1;
    for (std::size_t i = 0; i < settings.size(); ++i) {
        for (std::size_t j = 0; j < i; ++j)
            if (settings[j].Label() == settings[i].Label()) {
                error = "--set " + settings[i].Label() + " is given twice";
                return false;
            }
        rows *= settings[i].values.size();
        if (rows > kLargestSweep) {
            error = "the --set values span more than " + std::to_string(kLargestSweep) +
                    " combinations";
            return false;
        }
    }
    return true;
}

std::vector<std::size_t> GridPosition(const std::vector<SweepSetting>& settings, std::size_t row)
{
    std::vector<std::size_t> position(settings.size(), 0);
    for (std::size_t i = settings.size(); i-- > 0;) {
        position[i] = row % settings[i].values.size();
        row /= settings[i].values.size();
    }
    return position;
}
