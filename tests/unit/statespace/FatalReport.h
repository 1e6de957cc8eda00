// Death tests of the graph stages: their reports go to standard output and
// end the run with -10 (generation) or -11 (examination). The statement
// runs with standard output sent to the error stream the death test reads.
#pragma once

#include "../netmodel/FatalReport.h"

#define EXPECT_FATAL(statement, status, pattern) \
    EXPECT_EXIT((dup2(2, 1), statement), testing::ExitedWithCode(status), pattern)

// Exit statuses as the parent sees them.
constexpr int kGenerationStatus = 246;   // -10
constexpr int kExaminationStatus = 245;  // -11
