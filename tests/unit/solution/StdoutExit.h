// Expectations on statements that end the process with an error report on
// standard output: the output is joined to standard error, where the death
// test matches it.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdio>

// `status` is the exit status as the program passes it (a negative module
// status is seen modulo 256).
#define EXPECT_STDOUT_EXIT(statement, status, pattern) \
    EXPECT_EXIT(                                       \
        {                                              \
            std::fflush(stdout);                       \
            dup2(STDERR_FILENO, STDOUT_FILENO);        \
            statement;                                 \
        },                                             \
        testing::ExitedWithCode((status)&0xff), pattern)
