// The life of a worker process as the engine sees it: connect back, receive
// the chain, write its chain files, report over the connection and finish
// with "ready.". Every failure ends in Fail(), which makes it unmistakable:
// the message goes to standard error and, as a line, to the engine; the
// connection is closed without "ready."; no chain file of the chain is left,
// not even one of an earlier pass; the exit status is 1 (2 for a wrong
// command line). Standard output stays untouched: it is the engine's listing.
// The workers do not use the engine's reporters: their failure has to reach
// the engine over the connection, not the engine's listing.
#pragma once

#include <string>

#include "workers/EngineConnection.h"

class WorkerSession {
public:
    explicit WorkerSession(std::string program);

    [[noreturn]] void Usage(const std::string& problem, const std::string& usage);
    [[noreturn]] void Fail(const std::string& message);

    // The chain files of the chain being analysed, removed by Fail().
    void OwnChainFiles(std::string emcPath, std::string convPath);

    // Connects to the engine, or fails.
    void Connect(const std::string& host, const std::string& port);
    EngineConnection& Connection() { return connection; }

    // An informative line for the engine (and standard error when debugging).
    void Note(const std::string& line, bool alsoOnStandardError);
    // Sends the CPU time line and "ready.", and ends the process with status 0.
    [[noreturn]] void Finish(const std::string& cpuTimeLine);

    // User and system CPU time of this process so far.
    static double CpuSeconds();

private:
    std::string program;
    EngineConnection connection;
    std::string chainFiles[2];
};

// "0.8" -> 0.8 when it is a number in (0, 1); otherwise false and why.
bool ParseEpsilon(const char* text, double& epsilon, std::string& error);
