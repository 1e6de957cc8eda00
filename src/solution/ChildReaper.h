// The child-termination handler: workers end on their own, each end is
// reaped as it is signalled so that none stays a zombie while others run.
#pragma once

// Installs the handler; false when the system refuses it.
bool InstallChildReaper();
