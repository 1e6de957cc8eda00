// Death tests of the graph stages: their reports end the run with -10
// (generation) or -11 (examination).
#pragma once

#include "../netmodel/FatalReport.h"

constexpr int kGenerationStatus = -10;
constexpr int kExaminationStatus = -11;
