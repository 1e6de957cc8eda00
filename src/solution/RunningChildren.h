// The programs this process started that have not ended yet: workers,
// remote shells and load queries. A run stopped by a signal stops them too;
// they would otherwise run on without it, writing chain files for nobody.
// Every function is safe in a signal handler.
#pragma once

#include <sys/types.h>

void NoteChildStarted(pid_t pid);
void NoteChildEnded(pid_t pid);

// Sends SIGTERM to every program started and not yet ended.
void StopRunningChildren();
