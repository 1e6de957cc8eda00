// Line-by-line reading of the per-user file. Keys are matched at the start of
// a line and their values read from a fixed column, one blank after the key;
// a value that cannot be read leaves the setting as it was.
#include "solution/PlenarFile.h"

#include <strings.h>
#include <cstdio>
#include <cstring>

namespace {

constexpr std::size_t kLongestLine = 297;

bool StartsWith(const std::string& line, const char* key)
{
    return line.compare(0, std::strlen(key), key) == 0;
}

bool StartsWithAnyCase(const std::string& line, const char* key)
{
    std::size_t n = std::strlen(key);
    return line.size() >= n && strncasecmp(line.c_str(), key, n) == 0;
}

// The text after the key and the blank that follows it.
const char* ValueOf(const std::string& line, const char* key)
{
    std::size_t at = std::strlen(key) + 1;
    return at <= line.size() ? line.c_str() + at : "";
}

std::string Trimmed(const char* text)
{
    std::string s(text);
    std::size_t begin = s.find_first_not_of(" \t");
    if (begin == std::string::npos) return "";
    return s.substr(begin, s.find_last_not_of(" \t") + 1 - begin);
}

void ReadSetting(const std::string& line, PlenarSettings& settings)
{
    if (StartsWith(line, "MAX PROCESSES PER HOST")) {
        unsigned n = 0;
        if (std::sscanf(ValueOf(line, "MAX PROCESSES PER HOST"), "%u", &n) == 1)
            settings.max_processes = n == 0 ? 1 : n;  // 0 still lets one worker run
    } else if (StartsWith(line, "START DISTRIBUTION AT")) {
        double at = 0.0;
        if (std::sscanf(ValueOf(line, "START DISTRIBUTION AT"), "%lf", &at) == 1)
            settings.start_distribution_at = at < 0.0 ? kDefaultDistributionThreshold : at;
    } else if (Trimmed(line.c_str()) == "WORKER FAILURES STOP") {
        settings.stop_on_worker_failure = true;
    } else if (StartsWith(line, "REMOTE SHELL")) {
        std::string shell = Trimmed(ValueOf(line, "REMOTE SHELL"));
        if (!shell.empty()) settings.remote_shell = shell;
    }
}

}  // namespace

void ParsePlenarFile(std::istream& file, PlenarSettings& settings)
{
    bool inHostList = false;
    int priority = 1;
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() > kLongestLine) line.resize(kLongestLine);
        if (line.empty() || line[0] == '#' || line[0] == '!') continue;
        if (StartsWithAnyCase(line, "HOSTLISTSTART")) {
            inHostList = true;
        } else if (StartsWithAnyCase(line, "HOSTLISTEND")) {
            inHostList = false;
        } else if (!inHostList) {
            ReadSetting(line, settings);
        } else if (StartsWith(line, "PRIORITY")) {
            std::sscanf(ValueOf(line, "PRIORITY"), "%d", &priority);
        } else {
            hostinfo host;
            host.name = line;
            host.priority = priority;
            settings.hosts.push_back(host);
        }
    }
}
