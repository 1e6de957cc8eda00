// The progress lines of the pipeline, printed only in verbose mode (-v).
// A line that announces a step is preceded by an empty line; a line that
// reports a finished step is not.
#pragma once

void AnnounceStep(const char* line);
void FinishStep(const char* line);
