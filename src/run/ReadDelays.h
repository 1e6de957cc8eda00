// The delays file of each pass: waited for, read into the delay tables and
// removed, so that the coordinating process sees it was consumed.
#pragma once

// Waits for the delays file of pass `callno` until it is complete, reads it
// and removes it. With `first` it builds the delay tables and returns false
// (keeping the file) when they cannot be built; otherwise it returns false
// when the file says "EXIT". True means a pass is to follow.
bool ReadDelays(bool first);
