// The tangible reachability graph as a Graphviz DOT text: one node per
// marking, labelled with its non-empty places and its steady-state
// probability (exponential markings as ellipses, deterministic ones as
// boxes, general ones as hexagons, others as diamonds), one edge per state
// transition labelled with the transition and its rate, delay or
// probability.
#pragma once

#include <string>
#include <vector>

#include "frontend/GraphListing.h"

// `probabilities[k - 1]` belongs to state k (may be shorter: then no
// probability is shown for the missing states). `title` heads the drawing.
std::string GraphDot(const TangibleGraph& graph, const std::vector<double>& probabilities,
                     const std::string& title);

// "P=2  Jobs: [0]:1 [1]:2", or "empty" for a marking without tokens.
std::string MarkingLabel(const TangibleGraph& graph, const ListedMarking& marking);
