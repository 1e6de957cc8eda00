// Combination of two consecutive edge values: a timed firing followed by a
// random choice (activation of exclusive bindings, or immediate firings).
#pragma once

class DelayVal;

// When `first` is exponential, or both are random choices (probability or
// immediate), and `second` is a random choice, `second` becomes the product
// with the code and transition of `first`: an exponential rate is split by
// the probabilities. Deterministic and general firings are never combined.
void CheckAndCorrectDelayVal(const DelayVal& first, DelayVal& second);
