// Reading and decoding the workers' text lines.
#include "solution/WorkerLines.h"

#include <unistd.h>
#include <cerrno>
#include <cstdio>

namespace {

constexpr std::size_t kKilnTimeColumn = 17;   // after "Elapsed CPU time "
constexpr std::size_t kEkilnTimeColumn = 18;  // after "Elapsed CPU time: "

const char* From(const std::string& line, std::size_t column)
{
    return column <= line.size() ? line.c_str() + column : "";
}

}  // namespace

LineResult ReadWorkerLine(int connection, std::string& line)
{
    line.clear();
    while (line.size() < kLongestWorkerLine) {
        char c = 0;
        ssize_t n = read(connection, &c, 1);
        if (n < 0 && errno == EINTR) continue;
        // A worker killed before it read all its data resets the connection:
        // it has ended all the same.
        if (n < 0 && errno != ECONNRESET) return LineResult::kFailed;
        if (n <= 0) return line.empty() ? LineResult::kClosed : LineResult::kLine;
        if (c == '\n' || c == '\0') return LineResult::kLine;
        line += c;
    }
    return LineResult::kLine;
}

bool IsReadyLine(const std::string& line)
{
    return line.compare(0, 6, "ready.") == 0;
}

bool IsCpuTimeLine(const std::string& line)
{
    return line.compare(0, 16, "Elapsed CPU time") == 0;
}

double KilnCpuSeconds(const std::string& line)
{
    double hours = 0.0, minutes = 0.0, seconds = 0.0;
    if (std::sscanf(From(line, kKilnTimeColumn), "%lf:%lf:%lf", &hours, &minutes, &seconds) != 3)
        return 0.0;
    return hours * 3600.0 + minutes * 60.0 + seconds;
}

double EkilnCpuSeconds(const std::string& line)
{
    double seconds = 0.0;
    if (std::sscanf(From(line, kEkilnTimeColumn), "%lf", &seconds) != 1) return 0.0;
    return seconds;
}
