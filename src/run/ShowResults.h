// The echo of the results listing file MODELDIR/<net>.RESULTS at the end of
// a run (-R).
#pragma once

// Copies the file byte for byte inside a "RESULTS" frame, or prints
// "can't open resultfile : " and the path.
void ShowResults();
