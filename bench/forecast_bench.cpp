// The direct solver's forecast against the elimination it forecasts, on the
// chain files a mosk run leaves behind (run_bench.py --keep DIR keeps them in
// DIR/<name>/models): the time of the fill-reducing ordering and symbolic
// count, the entries of U and multiply-adds forecast, and with --eliminate
// the elimination in that order (no drop tolerance), with the entries of U it
// really stored, its time and the largest residual of the balance equations.
//
//   forecast_bench DIR NAME [--work W] [--eliminate] [--droptol T]
//
// W is the work budget (default 2e9), T the elimination's drop tolerance
// (default 0; mosk's own default is a tenth of its epsilon).
#include "foundation/RunState.h"
#include "solution/ChainMatrixReader.h"
#include "solution/DirectSolver.h"
#include "solution/EliminationForecast.h"
#include "solution/NormalisationRow.h"
#include "solution/Nspiv.h"
#include "solution/SolveLGSState.h"
#include "solution/SolverSettings.h"

#include <sys/resource.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

double seconds_since(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double cpu_seconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           1e-6 * (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec);
}

// max_i |(A x)_i| over the balance equations (the rows of A as read).
double largest_imbalance(int n, const std::vector<double>& x)
{
    double largest = 0.0;
    for (int i = 1; i <= n; ++i) {
        double sum = 0.0;
        for (int e = lgs::ia[i - 1]; e < lgs::ia[i]; ++e) sum += lgs::a[e] * x[lgs::ja[e]];
        largest = std::max(largest, std::fabs(sum));
    }
    return largest;
}

void eliminate(int n, int k, const EliminationForecast& forecast, double droptol)
{
    KeptRow kept;
    if (!insert_normalisation_row(k, kept)) return;
    std::vector<int> r(forecast.order), c(n + 1), ic(n + 1), iu(n + 2), p(2 * (n + 1));
    std::vector<double> x(n + 1), y(n + 1);
    for (int i = 1; i <= n; ++i) c[i] = ic[i] = i;
    long storage = lgs::nonnull;
    int* ju = static_cast<int*>(std::malloc((storage + 1) * sizeof(int)));
    double* u = static_cast<double*>(std::malloc((storage + 1) * sizeof(double)));
    int dropped = 0, code = 0;
    auto start = std::chrono::steady_clock::now();
    double cpu = cpu_seconds();
    dnspiv1_mod(n, lgs::ia, lgs::ja, lgs::a, k, storage, r.data(), c.data(), ic.data(), x.data(),
                y.data(), iu.data(), p.data(), &ju, &u, droptol, &dropped, &code);
    double wall = seconds_since(start);
    cpu = cpu_seconds() - cpu;
    std::free(ju);
    std::free(u);
    restore_row(kept);
    std::printf("elimination: %d entries of U (%.3f of the forecast), %d dropped, %.3f s wall, "
                "%.3f s CPU, largest imbalance %.2e\n",
                code, code / forecast.u_entries, dropped, wall, cpu, largest_imbalance(n, x));
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: forecast_bench DIR NAME [--work W] [--eliminate] [--droptol T]\n");
        return 2;
    }
    double work = 2e9;
    double droptol = 0.0;
    bool run_elimination = false;
    for (int i = 3; i < argc; ++i) {
        if (std::strcmp(argv[i], "--eliminate") == 0)
            run_elimination = true;
        else if (std::strcmp(argv[i], "--work") == 0 && i + 1 < argc)
            work = std::atof(argv[++i]);
        else if (std::strcmp(argv[i], "--droptol") == 0 && i + 1 < argc)
            droptol = std::atof(argv[++i]);
    }
    TmpDir = argv[1];
    const char* name = argv[2];
    lgs::toptan = get_dimension(name);
    read_chain_rows(name, &lgs::a, &lgs::ia, &lgs::ja);
    int n = lgs::toptan;
    int k = get_nrnbr(n, lgs::ia);

    EliminationBudget budget{static_cast<double>(direct_storage_entries()), work};
    auto start = std::chrono::steady_clock::now();
    double cpu = cpu_seconds();
    EliminationForecast forecast = forecast_elimination(n, lgs::ia, lgs::ja, k, budget);
    double wall = seconds_since(start);
    cpu = cpu_seconds() - cpu;
    std::printf("%s: %d states, %d entries; forecast over %d states: %.0f entries of U, "
                "%.3g multiply-adds%s; %.3f s wall, %.3f s CPU\n",
                name, n, lgs::ia[n] - 1, forecast.states, forecast.u_entries, forecast.work,
                forecast.Within(budget, n) ? "" : " (beyond the budget)", wall, cpu);
    if (run_elimination && forecast.states == n) eliminate(n, k, forecast, droptol);
    return 0;
}
