// Conversion of the embedded chain's solution into time-based steady-state
// probabilities, and the steady-state file.
#pragma once

// Reads lgs::nprob and the conversion files; fills lgs::mprob and pi_vector
// and writes TmpDir/<model>.PROBMARK.
void renormal();
