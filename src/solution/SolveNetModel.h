// The solution of one pass: the embedded Markov chain of the examined graph
// is written to the chain files (by this program for the exponential
// markings, by the workers for the subordinated chains) and solved; the
// steady-state vector is left in pi_vector.
#pragma once

void SolveNetModel();
