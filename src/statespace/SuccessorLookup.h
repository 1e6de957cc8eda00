// Interning of successors when they are fired. Most successors of a large
// graph are markings stored before; and where the activation of a successor
// can be told from the firing alone, storing it right away gives the store
// the same markings in the same order as handling its queue entry would (the
// queue is first-in first-out, so a marking's first firing is its first
// entry). The entry then carries the stored marking alone instead of a copy
// of the successor with its enabling set: handling it adds the edge, and
// fires the successors of a marking the firing stored.
#pragma once

class DelayVal;
class Marking;
class MDMSet;

// Switches the interning at firing time on for a generation where the
// activation of every successor can be told when it is fired (see
// ActivationKnownWhenFired), off otherwise and after the generation.
void InternSuccessorsWhenFired(bool on);

// For the successor just fired by exclusive transition number transNo from a
// marking with array `ata`, while the new contents still hold it (`fired` is
// the firing's value): the activated successor is looked up or stored;
// answers the stored marking, the edge value its entry adds and whether it
// was stored now. Null when the interning is off or the activation cannot be
// told this early.
Marking* InternFiredSuccessor(const short* ata, int transNo, const DelayVal& fired,
                              DelayVal& edge, bool& storedNow);

// Handles a queue entry made for a successor interned when fired.
void HandleStoredEntry(const MDMSet& entry);
