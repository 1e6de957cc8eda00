// Intermediate markings of the modes with deterministic or general
// transitions. A deterministic or general firing must end in one stored
// marking, so that its delay leads to exactly one state; any random choice
// that follows it (activation of exclusive bindings, immediate firings)
// becomes probability edges out of that marking instead of being folded
// into the firing.
#pragma once

// Both do nothing and answer false unless LastD is deterministic or general.
// Otherwise the entry's marking (with the ata it came with) is interned and
// linked from LastMarking with LastD, one queue entry per branch of
// ExcStartMark / per tangible marking the immediate firings reached is appended
// from it, and the answer is true: the entry is done.
bool SavedExcDetOrGenMarks();
bool SavedImmDetOrGenMarks();
