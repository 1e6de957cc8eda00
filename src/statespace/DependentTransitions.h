// The transitions whose enabling a firing may change, by class, in class
// order: the dependency records sorted once per generation, for the tests
// that follow a firing.
#pragma once

#include <vector>

// Sorts the records of every transition (`sorted`), or leaves every list
// empty; AllExclusives is filled in either case.
void SortDependents(bool sorted);

// Class indices, ascending, of the exclusive / immediate transitions that
// depend on transition number transNo.
const std::vector<unsigned short>& DependentExclusives(int transNo);
const std::vector<unsigned short>& DependentImmediates(int transNo);
// Every exclusive transition, in class order.
const std::vector<unsigned short>& AllExclusives();
