// Definitions of the three kinds of sections: the global definitions, the
// parameters of a page block and the performance measures. Where a
// definition lands is decided by the section the scanner is in when the
// parser completes it.
#pragma once

#include "foundation/PtrList.h"
#include "foundation/Str.h"
#include "netmodel/Definition.h"
#include "netmodel/Page.h"

Definition* NewDefinition(Str* name, Cell* value);
// Multisets are not measures: not in an evaluation section.
Definition* NewMultisetDefinition(Str* name, Cell* value);
// Measures only in an evaluation section.
Definition* NewMeasureDefinition(Str* name, Cell* value);
// A definition whose value is the text of another name (not its own).
Definition* NewTextDefinition(Str* name, Str* text);

// The parameters of the block being read, until its page takes them.
extern PtrList<Definition>* pending_parameters;

// Files the definition as a global definition, a parameter of the block
// being read or a measure.
void FileDefinition(Definition* d);

// The parameters collected for the block being read (null when none); the
// next block starts a new list.
PtrList<Definition>* TakeParameters();
// Gives the page its parameters.
void AttachParameters(Page* page, PtrList<Definition>* parameters);
