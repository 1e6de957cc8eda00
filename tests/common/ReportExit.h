// Death tests of the fatal reports: the program writes its error block on
// standard output and ends with the status of the failing stage. The
// statement runs with standard output joined to the standard error that the
// death test matches against `pattern`; `status` is given as the program
// passes it (a negative status is seen modulo 256).
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>

#define EXPECT_REPORT_EXIT(statement, status, pattern)                                \
    EXPECT_EXIT((std::fflush(stdout), dup2(STDERR_FILENO, STDOUT_FILENO), statement), \
                testing::ExitedWithCode((status)&0xff), pattern)
