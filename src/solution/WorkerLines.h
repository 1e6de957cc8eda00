// The text lines that workers send back: bytes up to a line end or a zero
// byte, at most 199 characters (a longer line goes on as the next one).
// "ready." ends a worker's analysis; "Elapsed CPU time" lines report its CPU
// time, as hours:minutes:seconds from kiln_da and as seconds from ekiln.
#pragma once

#include <string>

enum class LineResult { kLine, kClosed, kFailed };

constexpr std::size_t kLongestWorkerLine = 199;

// Reads one line byte by byte, so that nothing after it is taken from the
// socket. kClosed when the connection ends (or is reset) before the first
// byte.
LineResult ReadWorkerLine(int connection, std::string& line);

bool IsReadyLine(const std::string& line);
bool IsCpuTimeLine(const std::string& line);

// The seconds of a CPU time line: "Elapsed CPU time h:m:s" from a
// deterministic worker, "Elapsed CPU time: s" from a general one. 0 when the
// numbers cannot be read.
double KilnCpuSeconds(const std::string& line);
double EkilnCpuSeconds(const std::string& line);
