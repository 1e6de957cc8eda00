// The usage text, printed line by line on standard output.
#include "run/Usage.h"

#include "run/RunExit.h"

#include <iostream>

namespace {

const char* const kUsageLines[] = {
    "",
    "usage : mosk [-?cCDehHiIlpPrRstvxy] [-T{tablestring}] -E{epsilon} -M{maxiter} "
    "-N{netname} -S{subname}",
    "",
    "        {epsilon}     = double  (value for evaluation precision)",
    "        {maxiter}     = int     (max. iterations for solving the LGS)",
    "        {netname}     = string  (name of the net)",
    "        {subname}     = string  (name of Subtransition or BS for Basic Skeleton)",
    "        {tablestring} = string  (table string of the net)",
    "",
    "MODE SWITCHES",
    "",
    "\t-D = switches working mode to default",
    "\t-I = switches solving mode to iterativ (default: automated)",
    "\t-P = switches execution mode to parallel (default: sequential)",
    "",
    "DEBUG OPTIONS",
    "",
    "\t-? = shows this usage information",
    "\t-c = shows information about communication between main- and (e)kiln-process",
    "\t-C = shows information about allocated classes",
    "\t-e = shows information about some environment parameters",
    "\t-h = shows this usage information",
    "\t-H = shows information about hash distribution",
    "\t-i = shows information about host- and kilnprocess-parameters (.Plenar)",
    "\t-l = shows information about the LGS evaluation",
    "\t-p = shows pi-vector",
    "\t-r = shows reduced reachability graph",
    "\t-R = shows results",
    "\t-s = shows information about used memory",
    "\t-t = shows information about used time",
    "\t-v = shows general debug information (verbose mode)",
    "\t-x = shows reduced reachability graph (sparse output)",
    "\t-y = shows no. of markings while creating the rrg",
    "",
};

}  // namespace

void Usage()
{
    for (const char* line : kUsageLines) std::cout << line << '\n';
    AbortRun();
}
