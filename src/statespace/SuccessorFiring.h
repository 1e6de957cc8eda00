// Successors of a newly stored marking (SavedMarking, whose vector the
// places hold): every active exclusive binding and every enabled
// infinite-server binding fires once, and each successor is appended to the
// queue of pending successors with its enabling set.
#pragma once

// Fires the active binding of each exclusive transition named by the
// marking's ata; `active` tells whether there was any. Without
// infinite-server transitions the appended entries get their sets here.
void FireExcTransitions(short& active);
// Fires the infinite-server transitions (after loading the places from
// NewMarking when `reload` is set) and gives every entry appended since
// LastMDMSet its enabling set.
void FireInfTransitions(short reload);
// Infinite-server transition i: its recorded bindings, or all its enabled
// bindings when its enabling is unknown.
void FireInf(unsigned short i);
void ChkAndFireInf(unsigned short i);
