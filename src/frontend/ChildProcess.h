// Runs mosk as a child in a process group of its own, with its standard
// output and error read through one pipe. The group holds mosk and the
// workers it starts, so stopping the group leaves no process behind.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct ChildCommand {
    std::vector<std::string> arguments;    // arguments[0] is the executable's path
    std::vector<std::string> environment;  // NAME=value, the whole environment
    std::string directory;                 // working directory
    double timeoutSeconds = 0.0;           // 0: no limit
};

struct ChildOutcome {
    bool started = false;
    std::string startError;  // why the child could not be started
    int status = 0;          // exit status, or 128 + signal when killed
    int interrupt = 0;       // the signal that stopped mosk-solve, 0 if none
    bool timedOut = false;
};

// Runs the command; every piece of output is handed to `onOutput` as it
// arrives. Stops the group on an interrupt (see InterruptFlag) or when the
// time limit has passed, and in any case once mosk has ended.
ChildOutcome RunChild(const ChildCommand& command,
                      const std::function<void(std::string_view)>& onOutput);
