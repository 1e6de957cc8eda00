// Option processing with getopt and the checks of the required parameters.
// All messages go to standard output; every failure ends in the usage text.
#include "run/CommandLine.h"

#include "foundation/RunState.h"
#include "run/Printable.h"
#include "run/Usage.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <iostream>
#include <unistd.h>

namespace {

const char* const kOptionString = "E:M:N:T:D:S:cCehHiIlpPrRstvxy";

struct DebugSwitch {
    int option;
    int* flag;
};

const DebugSwitch kDebugSwitches[] = {
    {'c', &SHOW_COMM}, {'C', &SHOW_CLASS}, {'e', &SHOW_ENV},  {'H', &SHOW_HASH},
    {'i', &SHOW_INFOS}, {'l', &SHOW_LGS},  {'p', &SHOW_PI},   {'r', &SHOW_RRG},
    {'R', &SHOW_RES},  {'s', &SHOW_SIZE},  {'t', &SHOW_TIME}, {'v', &DEBUG},
    {'x', &SPECIAL_DEBUG}, {'y', &SHOW_COUNT},
};

bool SetDebugSwitch(int option)
{
    for (const DebugSwitch& s : kDebugSwitches) {
        if (s.option != option) continue;
        *s.flag = 1;
        return true;
    }
    return false;
}

[[noreturn]] void RejectParameter(int blankLinesBefore, const Str& message)
{
    for (int i = 0; i < blankLinesBefore; ++i) std::cout << '\n';
    std::cout << message.GetCChar() << "\n\n\n";
    Usage();
}

void EchoDefaultMode()
{
    std::cout << "\t net name   : " << Printable(netname) << '\n'
              << "\t sub name   : " << Printable(subname) << '\n'
              << "\t epsilon    : " << epsilon << '\n'
              << "\t maxiter    : " << maxiter << '\n'
              << "\t execmode   : sequential\n"
              << "\t solvemode  : iterativ" << std::endl;
}

void EchoParameters()
{
    std::cout << "\t netname  = " << Printable(netname) << '\n'
              << "\t subname  = " << Printable(subname) << '\n'
              << "\t epsilon  = " << epsilon << '\n'
              << "\t maxiter  = " << maxiter << '\n'
              << (execmode == 0 ? "\t execmode = parallel" : "\t execmode = sequential")
              << std::endl;
}

}  // namespace

void CheckOptions(int argc, char* argv[])
{
    // Unknown options end in the usage text on standard output; getopt's own
    // complaint would go to standard error.
    opterr = 0;
    int option;
    while ((option = getopt(argc, argv, kOptionString)) != -1) {
        switch (option) {
        case 'E': p_epsilon = optarg; break;
        case 'M': p_maxiter = optarg; break;
        case 'N': netname = optarg; break;
        case 'S': subname = optarg; break;
        case 'T': TableString = optarg; break;
        case 'D': default_mode = 1; break;
        case 'I': auto_iter = "-i"; break;
        case 'P': execmode = 0; break;
        default:
            if (!SetDebugSwitch(option)) Usage();
        }
    }
    if (default_mode && SHOW_ENV)
        EchoDefaultMode();
    else
        CheckParameters();
}

void CheckParameters()
{
    if (netname.IsNull()) RejectParameter(2, "\t no netname given => abort !");
    if (subname.IsNull()) RejectParameter(2, "\t no subname given => abort !");
    if (p_maxiter.IsNull()) RejectParameter(4, "\t no maxiter given => abort !");

    // maxiter is a 32-bit count: a value beyond it is as much out of range as
    // one beyond long.
    errno = 0;
    long iterations = std::strtol(p_maxiter.GetCChar(), nullptr, 10);
    if (errno == ERANGE || iterations < INT_MIN || iterations > INT_MAX)
        RejectParameter(2, Str("\t error while converting string to long int (strtod()) : ") +
                               p_maxiter);
    maxiter = static_cast<int>(iterations);

    if (p_epsilon.IsNull()) RejectParameter(2, "\t no epsilon given => abort !");
    epsilon = std::strtod(p_epsilon.GetCChar(), nullptr);
    if (epsilon == 0.0)
        RejectParameter(2, Str("\t error while converting string to double (strtod()) : ") +
                               p_epsilon);

    if (SHOW_ENV) EchoParameters();
}
