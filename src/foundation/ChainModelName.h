// The name the chain files and the PMF file of a run are derived from: the
// model's file name without its directory. It is the net name itself once the description was
// read from a table file; a description given on the command line leaves
// the net name as a path, which must not be repeated below the directory.
#pragma once

#include <string>

std::string ChainModelName();
