// The chain files that the solution driver writes itself: the embedded-chain
// rows and sojourn times of the exponential markings (files 00) and the
// dimension file that tells the solver how many tangible markings there are.
#pragma once

// EMC file 00 and conversion file 00 from the exponential markings of MLists.
void WriteFilesForMExp();
// The dimension file: "TANGIBLE MARKINGS <n>".
void WriteAux();
