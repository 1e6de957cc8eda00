// Death tests of the fatal reports, which go to standard output: the
// statement runs with standard output sent to the error stream that the
// death test reads.
#pragma once

#include <unistd.h>

#include <gtest/gtest.h>
#include <string>

// `text` as a pattern that matches it literally.
inline std::string Literally(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (std::string("\\^$.|?*+()[]{}").find(c) != std::string::npos) out += '\\';
        out += c;
    }
    return out;
}

// The lines of an error block from "file" to "description".
inline std::string ErrorBlock(const std::string& file, int line, const std::string& function,
                              const std::string& description)
{
    return "file\t\t : " + file + "\nline\t\t : " + std::to_string(line) +
           "\nfunction \t : " + function + "\ndescription\t : " + description + "\n";
}

#define EXPECT_FATAL(statement, status, text)                                              \
    EXPECT_EXIT(                                                                           \
        {                                                                                  \
            dup2(2, 1);                                                                    \
            statement;                                                                     \
        },                                                                                 \
        testing::ExitedWithCode(status), Literally(text))

// Exit statuses as the parent sees them.
constexpr int kGenerationStatus = 246;   // -10
constexpr int kExaminationStatus = 245;  // -11
