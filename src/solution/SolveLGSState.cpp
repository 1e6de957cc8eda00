// Definitions of the linear solver's module-wide state.
#include "solution/SolveLGSState.h"

namespace lgs {

int method = 1;
int max_iter = 0;
double epsilon = 0.0;
double drop_tolerance = 0.0;
int drop_flag = 0;
const char* model = nullptr;

int toptan = 0;
int nonnull = 0;

double* a = nullptr;
int* ia = nullptr;
int* ja = nullptr;

int* min_ci = nullptr;
int structure = 0;
double* nprob = nullptr;
double* mprob = nullptr;
double abs_min = 0.0;

IterationSettings iteration;
double error_estimate = -1.0;
std::vector<double> error_bounds;
std::vector<std::vector<double>> error_steps;

}  // namespace lgs
