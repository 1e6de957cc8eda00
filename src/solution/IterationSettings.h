// The solver's choices that the per-user file can make beyond the drop
// tolerance: the iterative method, the stop test, and the budget within which
// the direct method may eliminate, and the size from which the graph leaves
// the memory while the solver runs. Without these lines the solver behaves
// as it always has: damped Jacobi, stopped on the largest absolute residual.
#pragma once

#include <istream>
#include <string>

enum class IterationMethod { kJacobi, kGaussSeidel, kBicgstab };

struct IterationSettings {
    IterationMethod method = IterationMethod::kJacobi;  // ITERATION ...
    double omega = 1.0;             // relaxation factor of SOR (1: Gauss-Seidel)
    bool backward = false;          // Gauss-Seidel/SOR sweeps from the last row
    bool trial = false;             // SOR AUTO: omega only where it beats Gauss-Seidel
    bool error_stop = false;        // STOP TEST ERROR: stop on the estimated relative error
    double direct_memory_mb = 0.0;  // DIRECT MEMORY <MB>; 0: derived from the machine
    double direct_work = 0.0;       // DIRECT WORK <multiply-adds>; 0: the default budget
    double park_graph_mb = 0.0;     // PARK GRAPH ABOVE <MB>; 0: the default size
};

// Reads the lines ITERATION, STOP TEST, DIRECT MEMORY, DIRECT WORK and PARK
// GRAPH ABOVE of the per-user file's text; a line whose value cannot be read keeps the default
// and is named in `complaints`, one line each.
void ParseIterationSettings(std::istream& file, IterationSettings& settings,
                            std::string& complaints);

// The settings of $HOME/.Plenar (the defaults when it cannot be read); the
// complaints go to standard error unless `quiet` (for a reader that comes
// before the solver, which complains).
IterationSettings read_iteration_settings(bool quiet = false);

// The method's name as the ITERATION line spells it.
std::string iteration_method_name(const IterationSettings& settings);
