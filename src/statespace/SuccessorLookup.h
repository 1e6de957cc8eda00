// Interning of successors when they are fired. Most successors of a large
// graph are markings stored before; and where the activation of a successor
// can be told from the firing alone, storing it and adding its edge right
// away gives the store and the edge lists what handling its queue entry
// would: the queue is first-in first-out, so a marking's first firing is its
// first entry, and the entries of one source follow each other. Only a
// marking stored now is queued, as itself: its successors are fired in its
// turn. Firing does not depend on the store, so the interning can run in a
// second thread, as long as it keeps to the order of the firings.
#pragma once

class DelayVal;

// Switches the interning at firing time on for a generation where the
// activation of every successor can be told when it is fired (see
// ActivationKnownWhenFired), off otherwise and after the generation.
void InternSuccessorsWhenFired(bool on);
// Whether the interning may have a thread of its own (where the machine has
// a second core and the net is not too wide); without, it runs inline, as
// on a machine with one core. Allowed unless said otherwise.
void AllowInterningThread(bool allowed);

// For the successor just fired by exclusive transition number transNo from
// SavedMarking, while the new contents still hold it (`fired` is the
// firing's value): the activated successor is to be interned with its edge
// from SavedMarking, and queued when it is new. False (and nothing done)
// when the interning is off.
bool InternFiredSuccessor(int transNo, const DelayVal& fired);
// Hands the successors of the marking whose firings are done to the
// interning.
void InternBatchedSuccessors();

// After the generation's queue has run dry: fires the markings the
// interning stores, in the order it stores them, until there are no more.
void FireInternedMarkings();
