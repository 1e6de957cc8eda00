// The statistics block of the reduced reachability graph: its size in
// markings and memory and the time its generation took (mode 0, after the
// generation), the size again at the end of the run (mode 1), and the times
// of the generation and of the whole run (mode 2). Other modes print nothing.
#pragma once

void ShowRRGParams(int mode);
