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

double get_drop_tolerance(double epsilon);
int get_dimension(const char* model);
