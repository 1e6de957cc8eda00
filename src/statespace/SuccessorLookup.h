// Interning of successors when they are fired. Most successors of a large
// graph are markings stored before; and where the activation of a successor
// can be told from the firing alone, storing it and adding its edge right
// away gives the store and the edge lists what handling its queue entry
// would: the queue is first-in first-out, so a marking's first firing is its
// first entry, and the entries of one source follow each other. Only a
// marking stored now takes the queue, as itself: its successors are fired
// in its turn.
#pragma once

class DelayVal;
class Marking;
class MDMSet;

// Switches the interning at firing time on for a generation where the
// activation of every successor can be told when it is fired (see
// ActivationKnownWhenFired), off otherwise and after the generation.
void InternSuccessorsWhenFired(bool on);

// For the successor just fired by exclusive transition number transNo from
// SavedMarking, while the new contents still hold it (`fired` is the
// firing's value): the activated successor is to be interned with its edge
// from SavedMarking, and queued when it is new. That happens, in firing
// order, by InternBatchedSuccessors, which must come before anything else
// touches the store, the edges or the queue. False (and nothing done) when
// the interning is off or the activation cannot be told this early.
bool InternFiredSuccessor(int transNo, const DelayVal& fired);
void InternBatchedSuccessors();

// Fires the successors of a marking queued by InternFiredSuccessor.
void HandleStoredEntry(const MDMSet& entry);
