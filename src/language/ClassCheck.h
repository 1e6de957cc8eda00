// The class check: turns the parsed net into a checked, linked net. It binds
// every place reference of an expression to the place header it names
// (through the socket/port pairs of the page hierarchy), binds throughput
// measures to their transitions, checks the colours of arcs and initial
// markings against their places and the initial markings against the
// capacities, gives every place its colour slots and computes for every
// transition the transitions whose enabling its firing may change
// (RefTDep). Every error ends the process through SubErr.
#pragma once

void ClassCheck();

// Steps of the check, run by ClassCheck in this order.
void ChkSubAndEvalTransitions();
void Tms2PTms();
void SetTransitionDependencies();
