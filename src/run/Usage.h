// The usage text of the command line.
#pragma once

// Prints the usage text and ends the run with the run-control status.
[[noreturn]] void Usage();
