// Test support: compact texts of what the reader built and the class listing
// does not show, so that tests compare it with one expected text. Expressions
// are fully parenthesised: (a+(b*c)); multisets list token:quantity by token
// number.
#pragma once

#include <string>

class Cell;
struct Tms;

std::string CellText(const Cell* cell);
std::string TmsText(const Tms* tms);

std::string DescribeMeasures();
std::string DescribePages();
std::string DescribePlaces();
std::string DescribeTokens();
std::string DescribePairs();
std::string DescribeCounts();
