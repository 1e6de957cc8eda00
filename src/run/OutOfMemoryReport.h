// A process that can get no more memory ends with a report of its own
// instead of an abort: the limits of the graph are derived from the
// machine, but a lower limit of the address space, a solver's fill-in or
// other processes can still exhaust it.
#pragma once

// Sets the handler of failed allocations for the rest of the process.
void InstallOutOfMemoryReport();
