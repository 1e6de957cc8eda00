// The settings of the graph checks in the per-user file, and their warnings.
#include "foundation/GraphLimits.h"

#include <cerrno>
#include <cstdlib>
#include <iostream>

GraphLimits RunLimits;

namespace {

bool TakeKey(const std::string& line, const char* key, std::string& value)
{
    const std::string k(key);
    if (line.compare(0, k.size(), k) != 0) return false;
    if (line.size() > k.size() && line[k.size()] != ' ' && line[k.size()] != '\t') return false;
    std::size_t begin = line.find_first_not_of(" \t", k.size());
    std::size_t end = line.find_last_not_of(" \t\r");
    value = begin == std::string::npos ? "" : line.substr(begin, end + 1 - begin);
    return true;
}

// A whole positive decimal number.
bool PositiveNumber(const std::string& text, std::uint64_t& number)
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
    errno = 0;
    unsigned long long n = std::strtoull(text.c_str(), nullptr, 10);
    if (errno == ERANGE || n == 0) return false;
    number = n;
    return true;
}

bool CheckMode(const std::string& text, GrowthCheck& mode)
{
    if (text == "WARN")
        mode = GrowthCheck::Warn;
    else if (text == "STOP")
        mode = GrowthCheck::Stop;
    else if (text == "OFF")
        mode = GrowthCheck::Off;
    else
        return false;
    return true;
}

}  // namespace

bool ReadGraphLimitLine(const std::string& line, GraphLimits& limits, std::string& error)
{
    std::string value;
    bool ok = true;
    if (TakeKey(line, "MAX MARKINGS", value)) {
        ok = PositiveNumber(value, limits.maxMarkings);
        limits.markingsSource = "MAX MARKINGS in .Plenar";
    } else if (TakeKey(line, "MAX GRAPH MEMORY", value)) {
        std::uint64_t megabytes = 0;
        ok = PositiveNumber(value, megabytes) && megabytes < (std::uint64_t{1} << 40);
        limits.maxMemoryKB = megabytes * 1024;
        limits.memorySource = "MAX GRAPH MEMORY in .Plenar";
    } else if (TakeKey(line, "CAPPED COUNTS", value)) {
        ok = CheckMode(value, limits.cappedCounts);
    } else if (TakeKey(line, "UNBOUNDED PLACES", value)) {
        ok = CheckMode(value, limits.unboundedPlaces);
    } else {
        return false;
    }
    if (!ok) error = line;
    return true;
}

void PrintGraphWarning(const std::string& text, bool midLine)
{
    std::cout << (midLine ? "\n" : "") << "WARNING : " << text << std::endl;
}
