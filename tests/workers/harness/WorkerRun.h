// Runs a worker program the way the engine does: listen on a local port,
// start the program with that port on its command line, accept its
// connection, send the data stream, collect its text lines until it closes
// the connection, and wait for its exit. Standard output and standard error
// of the worker are captured.
#pragma once

#include <map>
#include <string>
#include <vector>

struct WorkerResult {
    int status = -1;  // exit status; -1 when killed or not exited normally
    bool connected = false;
    std::vector<std::string> lines;
    std::string output;  // its standard output
    std::string errors;  // its standard error
};

// Every argument "{port}" is replaced by the listening port.
WorkerResult RunWorker(const std::string& program, std::vector<std::string> arguments,
                       const std::string& stream);

// Runs a worker with nothing listening for it (it must give up by itself).
WorkerResult RunUnconnected(const std::string& program, std::vector<std::string> arguments);

// A port on which nothing listens.
int UnusedPort();

// A chain file read back: row state -> column state -> value. False when the
// file does not exist; a malformed file fails the calling test.
using ChainRows = std::map<unsigned, std::map<unsigned, double>>;
bool ReadChainFile(const std::string& path, ChainRows& rows);

bool FileExists(const std::string& path);
