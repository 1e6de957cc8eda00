// The command line: options into the run parameters, then the check and
// conversion of the required parameters.
#pragma once

// Processes the options in the order given; an unknown option, -h or -?
// prints the usage text and ends the run. Then either echoes the parameters
// of the default working mode (-D with -e) or calls CheckParameters.
void CheckOptions(int argc, char* argv[]);

// Requires net name, sub name, maxiter and epsilon and converts the last two;
// any failure prints its message and the usage text and ends the run.
void CheckParameters();
