// Test support: compact texts of the parsed net, so that tests compare what
// the reader built with one expected text. Expressions are fully
// parenthesised: (a+(b*c)); multisets list token:quantity by token number.
#pragma once

#include <string>

class Cell;
struct Tms;

std::string CellText(const Cell* cell);
std::string TmsText(const Tms* tms);

std::string DescribeDefinitions();
std::string DescribeMeasures();
std::string DescribePages();
std::string DescribePlaces();
std::string DescribeTokens();
std::string DescribeTransitions();
std::string DescribePairs();
std::string DescribeCounts();
