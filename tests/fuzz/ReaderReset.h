// Fuzzing support: puts every process-wide structure of the reader back to
// its state before the first description, releasing what it holds. The
// engine itself reads one description per process and never needs this.
#pragma once

void ResetReader();
