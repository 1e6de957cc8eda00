// Fuzzing support: records the heap blocks allocated and not yet released
// while it is on. The reader ends on every error with exit(); the fuzzer
// turns that exit into a jump back, which abandons whatever the interrupted
// calls held. Those blocks are found here and released, so that every input
// leaves the heap as it found it and a block that stays behind after a
// successful read is a real leak.
#pragma once

#include <cstddef>

namespace AllocationTracker {

void Install();  // once, before the first input
// Starts recording with an empty record.
void Start();
// Stops recording and releases (with free) every recorded block that is
// still live: the blocks abandoned by an interrupted read.
void StopAndRelease();
// Stops recording and forgets the record: what is still live after a
// complete read is left for the leak check.
void StopAndForget();

}  // namespace AllocationTracker
