// The two text inputs of the linear solver: the drop tolerance of the
// per-user file ".Plenar" and the dimension from the chain's ".AUX" file.
#pragma once

// The default drop tolerance is epsilon times this factor.
constexpr double kDefaultDropFactor = 0.1;
// A larger drop tolerance is refused: the direct solution would be too coarse.
constexpr double kLargestDropTolerance = 0.01;

// The multiply-adds the direct solver may spend when the per-user file sets
// no budget: about a minute of elimination.
constexpr double kDirectWorkBudget = 5e10;
// Chains above this many states are not even forecast: the ordering alone
// takes a minute on the chain of kanban N=4 (454,475 states), whose
// elimination would need a hundred gigabytes; every net we measured was far
// beyond the budgets from 36,000 states on.
constexpr int kLargestForecastStates = 200000;

double get_drop_tolerance(double epsilon);
int get_dimension(const char* model);
