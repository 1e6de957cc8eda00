// The lines of ".Plenar" by which mosk-solve has mosk guard every run: the
// limits of the graph, and what ends it. A count that reaches 65535 (the
// largest a place holds; one more wraps around to 0) ends the run unless the
// user accepts such counts; a place proven to grow without bound then ends
// it too, at once, since it would reach that count or the limits anyway. A
// worker that ends without its results ends the run with its own account.
#pragma once

#include <string>

#include "frontend/SolveOptions.h"

std::string SafeguardLines(const SolveOptions& options);
