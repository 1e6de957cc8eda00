// The --help text of mosk-solve.
#include "frontend/SolveOptions.h"

std::string HelpText()
{
    return R"(usage: mosk-solve [options] model.table

Analyses a net description with mosk and prints its measures.

options:
  -E EPS                 relative error allowed in the probabilities (and the
                         workers' precision; default 1e-9)
  -M N                   iteration limit of the linear solver (default 100000)
  -I, --iterative        solve by iteration only (default: direct elimination
                         where it takes about a second, else iteration)
  --method NAME          the iteration: sor:auto (default), gauss-seidel,
                         gauss-seidel-backward, sor:OMEGA, bicgstab or jacobi
  -P, --parallel         let mosk run the deterministic workers in parallel
  --set NAME=v1,v2,...   sweep: solve once per value of the definition NAME
                         of the Definition section; a value may be a range
                         FROM:TO:COUNT (0.1:2:20 is 20 evenly spaced values);
                         given twice or more, every combination (a grid)
  --set SUB/T=v1,v2,...  sweep the mean delay of the exponential transition T
                         on the sub-page SUB
  --jobs N               runs of a sweep to keep going at once (default: one
                         per core)
  --plot FILE            draw the sweep into FILE (.svg, .png or .pdf): one
                         panel per measure against the first setting with
                         several values, a line per value of the others
  --plot-measures A,B    only these measures' panels
  --graph FILE           draw the tangible reachability graph of a small model
                         (up to 300 markings) into FILE (.svg, .png, .pdf, or
                         .dot for the Graphviz text), with the steady-state
                         probability of each marking
  --format FMT           table (default), csv or json
  --verbose              show mosk's output while it runs
  --progress             show the progress line also when standard error is
                         not a terminal (then one line at most every second)
  --no-progress          no progress line (default: one on a terminal)
  --keep                 keep the run directory (its path is printed)
  --timeout SECONDS      stop mosk after this time
  --max-markings N       stop when the graph has more than N markings (default:
                         derived from the memory of the machine)
  --max-memory MB        stop when building the graph takes more than MB
                         megabytes (default: half of the memory)
  --accept-capped-counts let token counts reach 65535, the largest a place can
                         hold (one more wraps around to 0), with a warning;
                         by default such a count, or a place proven to grow
                         without bound, ends the run
  --strict               with --accept-capped-counts: still stop at a place
                         proven to grow without bound
  --drop-tolerance X     DROPTOLERANCE of the direct solver: AUTO, NONE or a
                         number up to 0.01 (private environment only)
  --mosk PATH            the mosk to run (default: $MOSK, then beside
                         mosk-solve, then the build tree, then PATH)
  --mosk-flags "FLAGS"   diagnostic switches for mosk, e.g. "-r -t"
  -c -C -e -H -i -l -p -r -R -s -t -v -x -y
                         the same switches, given directly; each one also
                         shows mosk's output
  --version              the version of mosk-solve (and the git commit of
                         the sources it was built from)
  -h, --help             this text

Sweeps: a definition that is only the mean delay of exponential,
single-server transitions on sub-pages, in a net without immediate,
deterministic or general transitions, is swept by solving one graph again
with new rates (as is every SUB/T setting). Any other definition (a rate on
the root page, a delay, weight, capacity, initial marking, a value a measure
uses) is swept by one run per value, up to --jobs runs at once. Rows come in
the order of the values, the first --set varying slowest; a value whose run
fails gets a row with its error, and the exit status is that of the first
failed value.

Environment: when PLENARHOME is set, mosk uses it and $HOME/.Plenar as they
are; otherwise mosk-solve makes a private environment (a .Plenar naming this
host and links to the workers kiln_da and ekiln). Either way the model is
analysed in a fresh directory under $TMPDIR (default /tmp), removed at the
end unless --keep is given.

exit status: 0 success; mosk's own status when it fails (the error report is
shown with a one-line summary); 2 a wrong command line or an unreadable
description; 3 mosk wrote no results; 4 the results were printed but a
picture could not be drawn; 124 the time limit was reached; 128+n
mosk-solve was stopped by signal n.
)";
}
