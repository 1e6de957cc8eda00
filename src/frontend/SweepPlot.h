// The picture of a sweep, drawn by gnuplot: one panel per measure, the
// measure against the first swept setting with several values, one line per
// combination of the other settings with several values.
#pragma once

#include <string>
#include <vector>

#include "frontend/PictureRenderer.h"
#include "frontend/SolveReport.h"

struct SweepPlotFiles {
    std::string script;  // the gnuplot commands
    std::string data;    // the data file they read
};

// The files that draw `measures` (all measures when empty) of `report` into
// `output` in `format`, reading the data from `dataPath`. False with `error`
// set when there is nothing to draw (no setting with several values, or a
// measure the results do not have).
bool SweepPlotFor(const SolveReport& report, const std::vector<std::string>& measures,
                  const std::string& output, PictureFormat format, const std::string& dataPath,
                  SweepPlotFiles& files, std::string& error);
