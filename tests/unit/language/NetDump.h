// Test support: compact texts of what the reader built and the class listing
// does not show, so that tests compare it with one expected text.
// Expressions and multisets are written as the class listing writes them.
#pragma once

#include <string>

std::string DescribePlaces();
std::string DescribeTokens();
std::string DescribeCounts();
