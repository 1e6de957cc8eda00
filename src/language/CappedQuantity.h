// Token quantities written in the description above the largest count a
// place can hold. They are read as that count; where the run asks for it,
// the reader says so in a warning line or stops.
#pragma once

// The quantity as read: at most 65535.
int CappedTokenQuantity(int quantity);
