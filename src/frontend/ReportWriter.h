// The three output formats of mosk-solve: an aligned table, CSV and JSON.
// A single pass prints one row per measure; a sweep prints one row per pass
// with the swept delays first.
#pragma once

#include <string>

#include "frontend/SolveOptions.h"
#include "frontend/SolveReport.h"

std::string FormatTable(const SolveReport& report);
std::string FormatCsv(const SolveReport& report);
std::string FormatJson(const SolveReport& report);

std::string FormatReport(const SolveReport& report, OutputFormat format);
