// Watches the reachability graph while it is generated: the number of
// markings and the memory of the process against the run's limits, token
// quantities that reach the largest count, and markings that show the net
// growing without bound (GrowthWitness). What the run's settings ask for is
// said in a warning line, or ends the run with a fatal report.
#pragma once

class Marking;
struct Pms;

// At the start and at the end of a generation.
void StartGraphWatch();
void EndGraphWatch();

// `stored` has just been stored, first reached from `from`; `pms` is its
// vector where the caller has it at hand (else it is decoded). Called for
// every stored marking, one at a time, by whichever thread stores it; on
// the generating thread it also checks at once (CheckGraphGrowth).
void WatchStoredMarking(const Marking& from, const Marking& stored, const Pms* pms = nullptr);

// On the generating thread, once for every marking it fires: ends the run
// when a limit is passed, says what the watch found since the last call.
void CheckGraphGrowth();
