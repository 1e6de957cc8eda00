// The end of a run that failed in the command line, the environment or the
// table string: the message has been printed; stdout is flushed and the
// process exits with the run-control status.
#pragma once

[[noreturn]] void AbortRun();
