// Starting the programs that run beside this one: the workers and the load
// queries on other hosts. They end on their own; the child-termination
// handler of the solution driver reaps them.
#pragma once

#include "foundation/RRGError.h"

#include <sys/types.h>
#include <string>
#include <vector>

// Runs `path` with the arguments `argv` (argv[0] the name it runs under) in a
// child process. A child that cannot execute the program prints `failure`
// and ends with `status`. Returns the child's id, or -1 when fork failed.
pid_t StartProgram(const std::string& path, const std::vector<std::string>& argv,
                   const RRGError& failure, int status);

// The same with the child's standard output on the descriptor `output` and
// its standard error discarded; a child that cannot execute the program ends
// silently with status 127.
pid_t StartQuietProgram(const std::string& path, const std::vector<std::string>& argv, int output);
