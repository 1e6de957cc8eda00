// The transitions whose enabling a firing may change, by class, in class
// order: the dependency records sorted once per generation, for the tests
// that follow a firing.
#pragma once

#include <vector>

// An exclusive transition that depends on a firing, and whether the firing
// can enable it where it was disabled, and disable it where it was enabled.
// A successor needs to test one the firing cannot enable only where it was
// active before, and one it cannot disable only where it was not.
struct DependentExclusive {
    unsigned short exclusive;  // class index
    bool mayEnable;
    bool mayDisable;
};

// Sorts the records of every transition (`sorted`), or leaves every list
// empty; AllExclusives is filled in either case.
void SortDependents(bool sorted);

// The exclusive transitions that depend on transition number transNo, and
// the immediate ones its firing may enable, by class index, ascending.
const std::vector<DependentExclusive>& DependentExclusives(int transNo);
const std::vector<unsigned short>& DependentImmediates(int transNo);
// By transition number - 1, the exclusive transitions (class indices,
// ascending) whose enabling each firing may take away: those of its
// dependents it may disable, every one for a transition without records.
// None where the records were not sorted.
std::vector<std::vector<unsigned short>> DisablableExclusives();
// Every exclusive transition, in class order, each as one a firing may
// enable and disable.
const std::vector<DependentExclusive>& AllExclusives();
// The dependents of two firings, one after the other: the union of the
// lists `a` and `b` into `into`, each transition one that may be enabled
// (disabled) where either firing may enable (disable) it.
void MergeDependents(const std::vector<DependentExclusive>& a, const std::vector<DependentExclusive>& b,
                     std::vector<DependentExclusive>& into);
