// The pictures a command line asks for: the plot of a sweep (--plot) and the
// drawing of the reachability graph (--graph). Their requests are checked
// before mosk runs, so a missing renderer or a wrong measure costs nothing.
#pragma once

#include <string>
#include <vector>

#include "frontend/GraphListing.h"
#include "frontend/SolveOptions.h"
#include "frontend/SolveReport.h"
#include "frontend/SweepPlan.h"

// The largest graph --graph draws, in tangible markings.
constexpr std::size_t kLargestDrawnGraph = 300;

// False with `error` set when a picture cannot be made for this run: no
// renderer, nothing to plot, a measure the description does not define, a
// graph asked for several models.
bool CheckPictureRequests(const SolveOptions& options, const SweepPlan& plan,
                          const std::string& description, std::string& error);

// Draws the sweep into options.plotPath.
bool DrawSweepPlot(const SolveOptions& options, const SolveReport& report, std::string& error);

// Draws the graph into options.graphPath (refused when the listing went
// beyond kLargestDrawnGraph markings).
bool DrawGraph(const SolveOptions& options, const TangibleGraph& graph,
               const std::vector<double>& probabilities, std::string& error);
