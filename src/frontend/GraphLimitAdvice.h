// What to say when mosk stopped a graph that grew too far, or a count that
// passed the largest a place holds: which places, why the net is probably
// unbounded, and what to change (a capacity, a guard, or a limit).
#pragma once

#include <string>

#include "frontend/FailureAdvice.h"

// The summary of a report of mosk's graph limits (exit status 239).
std::string GraphLimitSummary(const ErrorReport& report);

// Whether the description was rejected for a written token quantity above
// 65535, and the summary for it.
bool IsCappedQuantity(const ErrorReport& report);
std::string CappedQuantitySummary(const ErrorReport& report);
