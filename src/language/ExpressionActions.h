// Grammar actions that build expression cells. Every function takes over the
// values it is given: operands become part of the new cell, anything else
// it only reads is deleted. The operators are held to the expression limits.
#pragma once

#include "foundation/Str.h"
#include "netmodel/BinaerOp.h"
#include "netmodel/ConstVal.h"
#include "netmodel/Function.h"
#include "netmodel/RatingCell.h"
#include "netmodel/UnaerOp.h"

Cell* NewUnary(Operator op, Cell* operand);
Cell* NewBinary(Operator op, Cell* left, Cell* right);

// The place name after "#" or "@": outside the definition section a port of
// the current sub-transition stands for its socket place.
Str* PlaceReference(Str* name);
// A "#" or "@" function of a place, with the colours of `filter` (a
// multiset expression evaluated once) when given.
Cell* NewPlaceFunction(Operator op, Str* place, Cell* filter);

// The name after its last backslash.
Str* StrippedName(Str* name);
// Enters the colour into TokenRefs unless an equal one is there; returns its
// token number.
int RegisterColour(Str* name, Str* version, Str* step);
// A constant multiset of `quantity` tokens (at most 65535) of one colour.
Cell* NewTokenCell(int token, int quantity);

Cell* NewMeasure(RatingType type, Cell* first, Cell* second);
