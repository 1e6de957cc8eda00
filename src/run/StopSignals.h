// mosk stopped from outside (SIGTERM, SIGHUP, SIGINT) stops the programs it
// started, says so, and ends by the signal; a file-size limit makes writes
// fail with an error that the writing step reports, instead of killing the
// process in the middle of a file.
#pragma once

void InstallStopSignals();
