// Worker process control: reporting to the engine and to standard error.
#include "workers/WorkerSession.h"

#include <sys/resource.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace {

// The engine reads lines of at most 199 characters.
constexpr std::size_t kMaxLine = 199;

}  // namespace

WorkerSession::WorkerSession(std::string program) : program(std::move(program)) {}

void WorkerSession::Usage(const std::string& problem, const std::string& usage)
{
    std::fprintf(stderr, "%s: %s\nusage: %s\n", program.c_str(), problem.c_str(), usage.c_str());
    std::exit(2);
}

void WorkerSession::OwnChainFiles(std::string emcPath, std::string convPath)
{
    chainFiles[0] = std::move(emcPath);
    chainFiles[1] = std::move(convPath);
}

void WorkerSession::Fail(const std::string& message)
{
    std::fprintf(stderr, "%s: %s\n", program.c_str(), message.c_str());
    for (const std::string& path : chainFiles)
        if (!path.empty()) std::remove(path.c_str());
    if (connection.IsOpen()) {
        std::string ignored;
        connection.SendLine((program + " error: " + message).substr(0, kMaxLine), ignored);
        connection.Drain();
        connection.Close();
    }
    std::exit(1);
}

void WorkerSession::Connect(const std::string& host, const std::string& port)
{
    std::string error;
    if (!connection.Connect(host, port, error)) Fail(error);
}

void WorkerSession::Note(const std::string& line, bool alsoOnStandardError)
{
    if (alsoOnStandardError) std::fprintf(stderr, "%s: %s\n", program.c_str(), line.c_str());
    std::string error;
    if (!connection.SendLine(line.substr(0, kMaxLine), error)) Fail(error);
}

void WorkerSession::Finish(const std::string& cpuTimeLine)
{
    Note(cpuTimeLine, false);
    Note("ready.", false);
    connection.Close();
    std::exit(0);
}

double WorkerSession::CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

bool ParseEpsilon(const char* text, double& epsilon, std::string& error)
{
    char* end = nullptr;
    errno = 0;
    epsilon = std::strtod(text, &end);
    if (end == text || *end != '\0' || errno != 0 || !(epsilon > 0.0 && epsilon < 1.0)) {
        error = std::string("epsilon '") + text + "' is not a number between 0 and 1";
        return false;
    }
    return true;
}
