// Benchmark of the linear solvers over a scaling series of synthetic chains:
// writes the chain files of a tandem queue (two bounded queues in series,
// (K+1)^2 states) or of M/M/1/K (K+1 states, with its closed form), then
// runs each solving mode in a child process of its own and reports
// dimension, nonzeros, time, iterations, accuracy and peak memory.
//
//   solver_bench [--kind tandem|mm1k] [--sizes K1,K2,...] [--modes -a,-i,read]
//                [--epsilon E] [--maxiter M] [--limit-mb MB] [--droptol WORD]
#include "foundation/RunState.h"
#include "solution/ChainMatrixReader.h"
#include "solution/Nspiv.h"
#include "solution/SolveLGS.h"
#include "solution/SolveLGSState.h"
#include "solution/SolverSettings.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Options {
    std::string kind = "tandem";
    std::vector<long> sizes = {100, 316};
    std::vector<std::string> modes = {"-a", "-i"};
    double epsilon = 1e-10;
    int maxiter = 1000000;
    long limit_mb = 0;
    std::string droptol;  // the DROPTOLERANCE word; empty: no line
};

struct Chain {
    long states = 0;
    long entries = 0;           // entries of A = P - I (P entries plus the diagonals)
    std::vector<double> exact;  // closed form when known
};

struct Outcome {
    double seconds = 0;
    std::string iterations = "-";
    std::string accuracy = "-";
    std::string u_entries = "-";
    std::string dropped = "-";
    std::string note;
    long peak_kb = 0;
    std::vector<double> pi;
};

std::vector<std::string> parse_words(const char* text)
{
    std::vector<std::string> words;
    std::stringstream in(text);
    std::string item;
    while (std::getline(in, item, ',')) words.push_back(item);
    return words;
}

std::vector<long> parse_list(const char* text)
{
    std::vector<long> values;
    for (const std::string& word : parse_words(text)) values.push_back(std::atol(word.c_str()));
    return values;
}

// Writes one exponential state: its EMC row and its sojourn time.
class ChainWriter {
public:
    explicit ChainWriter(const std::string& dir)
        : emc_(std::fopen((dir + "/bench.EMC00").c_str(), "wb")),
          conv_(std::fopen((dir + "/bench.CONV00").c_str(), "wb"))
    {
    }
    ~ChainWriter()
    {
        std::fclose(emc_);
        std::fclose(conv_);
    }

    void State(std::uint32_t state, const std::vector<std::pair<double, std::uint32_t>>& rates)
    {
        double total = 0;
        for (const auto& r : rates) total += r.first;
        std::uint32_t header[2] = {state, static_cast<std::uint32_t>(rates.size())};
        std::fwrite(header, 4, 2, emc_);
        for (const auto& [rate, target] : rates) {
            double p = rate / total;
            std::fwrite(&p, 8, 1, emc_);
            std::fwrite(&target, 4, 1, emc_);
        }
        double sojourn = 1.0 / total;
        std::fwrite(&sojourn, 8, 1, conv_);
        std::fwrite(&state, 4, 1, conv_);
        entries += static_cast<long>(rates.size()) + 1;
    }

    long entries = 0;

private:
    std::FILE* emc_;
    std::FILE* conv_;
};

Chain write_tandem(const std::string& dir, long k)
{
    const double lambda = 1.0, mu1 = 1.5, mu2 = 2.0;
    ChainWriter writer(dir);
    auto number = [k](long i, long j) { return static_cast<std::uint32_t>(i * (k + 1) + j + 1); };
    for (long i = 0; i <= k; ++i)
        for (long j = 0; j <= k; ++j) {
            std::vector<std::pair<double, std::uint32_t>> rates;
            if (i < k) rates.push_back({lambda, number(i + 1, j)});
            if (i > 0 && j < k) rates.push_back({mu1, number(i - 1, j + 1)});
            if (j > 0) rates.push_back({mu2, number(i, j - 1)});
            writer.State(number(i, j), rates);
        }
    return {(k + 1) * (k + 1), writer.entries, {}};
}

Chain write_mm1k(const std::string& dir, long k)
{
    const double lambda = 1.0, mu = 2.0, rho = lambda / mu;
    ChainWriter writer(dir);
    Chain chain;
    for (long i = 0; i <= k; ++i) {
        std::vector<std::pair<double, std::uint32_t>> rates;
        if (i < k) rates.push_back({lambda, static_cast<std::uint32_t>(i + 2)});
        if (i > 0) rates.push_back({mu, static_cast<std::uint32_t>(i)});
        writer.State(static_cast<std::uint32_t>(i + 1), rates);
        chain.exact.push_back(std::pow(rho, i) * (1 - rho) / (1 - std::pow(rho, k + 1)));
    }
    chain.states = k + 1;
    chain.entries = writer.entries;
    return chain;
}

// Only the setup: dimension and reading into rows.
void read_only(const char* model)
{
    lgs::toptan = get_dimension(model);
    read_chain_rows(model, &lgs::a, &lgs::ia, &lgs::ja);
}

[[noreturn]] void run_child(const Options& o, const std::string& dir, const std::string& mode)
{
    std::freopen((dir + "/log").c_str(), "w", stdout);
    TmpDir = const_cast<char*>(dir.c_str());
    setenv("HOME", dir.c_str(), 1);
    direct_storage_limit = static_cast<std::size_t>(o.limit_mb) << 20;
    DEBUG = 1;
    auto start = std::chrono::steady_clock::now();
    if (mode == "read")
        read_only("bench");
    else
        SolveLGS(mode.c_str(), "bench", o.maxiter, o.epsilon);
    std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::printf("BENCH-TIME %.3f\n", took.count());
    std::fflush(stdout);
    _exit(0);
}

// The figures the solver prints under DEBUG.
void read_log(const std::string& path, Outcome& r)
{
    std::ifstream log(path);
    std::string line;
    while (std::getline(log, line)) {
        int count;
        double value;
        char word[64];
        if (std::sscanf(line.c_str(), "BENCH-TIME %lf", &value) == 1) r.seconds = value;
        if (std::sscanf(line.c_str(), " convergence in %d iterations with accuracy %lf", &count,
                        &value) == 2) {
            r.iterations = std::to_string(count);
            r.accuracy = line.substr(line.rfind(' ') + 1);
            r.accuracy.pop_back();
        }
        if (std::sscanf(line.c_str(), " no convergence within %d", &count) == 1)
            r.iterations = ">" + std::to_string(count);
        if (std::sscanf(line.c_str(), " achieved accuracy:%63s", word) == 1) r.accuracy = word;
        if (std::sscanf(line.c_str(), " achieved accuracy: %63s", word) == 1) r.accuracy = word;
        if (std::sscanf(line.c_str(), " number of off-diagonal elements of U: %d", &count) == 1)
            r.u_entries = std::to_string(count);
        if (std::sscanf(line.c_str(), " number of dropped elements: %d", &count) == 1)
            r.dropped = std::to_string(count);
        if (line.find("retrying solution with drop-tolerance") != std::string::npos)
            r.note = "retry " + line.substr(line.rfind(' ') + 1);
        if (line.find("not enough memory") != std::string::npos) r.note += " fallback";
        if (line.find("iterative refinement of solution") != std::string::npos)
            r.note += " refined";
    }
}

std::vector<double> read_probmark(const std::string& path, long n)
{
    std::vector<double> values(n + 2);
    std::ifstream file(path, std::ios::binary);
    file.read(reinterpret_cast<char*>(values.data()), (n + 2) * sizeof(double));
    if (file.gcount() != static_cast<std::streamsize>((n + 2) * sizeof(double))) return {};
    return std::vector<double>(values.begin() + 2, values.end());
}

Outcome run(const Options& o, const std::string& dir, const std::string& mode, long n)
{
    std::remove((dir + "/bench.PROBMARK").c_str());
    std::fflush(stdout);
    pid_t pid = fork();
    if (pid == 0) run_child(o, dir, mode);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    Outcome r;
    r.peak_kb = usage.ru_maxrss;
    read_log(dir + "/log", r);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) r.note += " FAILED";
    if (mode != "read") r.pi = read_probmark(dir + "/bench.PROBMARK", n);
    return r;
}

double largest_difference(const std::vector<double>& x, const std::vector<double>& y)
{
    if (x.empty() || x.size() != y.size()) return NAN;
    double largest = 0;
    for (std::size_t i = 0; i < x.size(); ++i) largest = std::max(largest, std::fabs(x[i] - y[i]));
    return largest;
}

}  // namespace

int main(int argc, char** argv)
{
    Options o;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string option = argv[i];
        const char* value = argv[i + 1];
        if (option == "--kind")
            o.kind = value;
        else if (option == "--sizes")
            o.sizes = parse_list(value);
        else if (option == "--modes")
            o.modes = parse_words(value);
        else if (option == "--epsilon")
            o.epsilon = std::atof(value);
        else if (option == "--maxiter")
            o.maxiter = std::atoi(value);
        else if (option == "--limit-mb")
            o.limit_mb = std::atol(value);
        else if (option == "--droptol")
            o.droptol = value;
        else {
            std::fprintf(stderr, "unknown option %s\n", argv[i]);
            return 2;
        }
    }

    std::printf("%-7s %6s %9s %10s %5s %9s %9s %10s %11s %9s %8s %10s  %s\n", "kind", "K", "n",
                "nnz(A)", "mode", "time[s]", "iter", "accuracy", "U entries", "dropped", "peak[MB]",
                "max|dpi|", "notes");
    for (long k : o.sizes) {
        char pattern[] = "/tmp/mosk-bench-XXXXXX";
        std::string dir = mkdtemp(pattern);
        Chain chain = o.kind == "mm1k" ? write_mm1k(dir, k) : write_tandem(dir, k);
        std::ofstream(dir + "/bench.AUX") << "TANGIBLE MARKINGS " << chain.states << "\n";
        std::ofstream plenar(dir + "/.Plenar");
        if (!o.droptol.empty()) plenar << "DROPTOLERANCE " << o.droptol << "\n";
        plenar.close();

        std::vector<double> reference = chain.exact;
        for (const std::string& mode : o.modes) {
            Outcome r = run(o, dir, mode, chain.states);
            if (reference.empty()) reference = r.pi;
            double error = mode == "read" ? NAN : largest_difference(r.pi, reference);
            std::printf("%-7s %6ld %9ld %10ld %5s %9.3f %9s %10s %11s %9s %8.1f %10.2e %s\n",
                        o.kind.c_str(), k, chain.states, chain.entries, mode.c_str(), r.seconds,
                        r.iterations.c_str(), r.accuracy.c_str(), r.u_entries.c_str(),
                        r.dropped.c_str(), r.peak_kb / 1024.0, error, r.note.c_str());
            std::fflush(stdout);
        }
        std::system(("rm -rf " + dir).c_str());
    }
    return 0;
}
