// The solution driver: chain files of the exponential markings, workers for
// the deterministic and then the general subordinated chains, and the linear
// solver over all chain files.
#include "solution/SolveNetModel.h"

#include "foundation/Reporters.h"
#include "foundation/RunState.h"
#include "solution/ChainModelName.h"
#include "solution/ExecEkiln.h"
#include "solution/ExecKiln.h"
#include "solution/ExpChainFiles.h"
#include "solution/KilnInfo.h"
#include "solution/SolveLGS.h"
#include "statespace/data/StateSpaceGlobals.h"

#include <sys/wait.h>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr int kSignalLine = 322;
constexpr std::size_t kStreamBuffer = 1024;

// Workers end on their own; each end is reaped as it is signalled so that
// none is left as a zombie while the others still run.
extern "C" void ReapOneChild(int)
{
    int saved = errno;
    waitpid(-1, nullptr, WNOHANG);
    errno = saved;
}

// Progress and worker traces must reach a watching front end line by line.
void LineBufferOutput()
{
    static char out[kStreamBuffer];
    static char err[kStreamBuffer];
    std::fflush(stdout);
    std::fflush(stderr);
    std::setvbuf(stdout, out, _IOLBF, sizeof out);
    std::setvbuf(stderr, err, _IOLBF, sizeof err);
}

void Progress(const char* line)
{
    if (DEBUG) std::cout << line << std::endl;
}

const char* ModelKind(int detCount, int genCount)
{
    if (genCount != 0) return "\t EDSPN TO EVALUATE";
    if (detCount != 0) return "\t DSPN TO EVALUATE";
    return "\t GSPN TO EVALUATE";
}

}  // namespace

void SolveNetModel()
{
    int detCount = MLists.det_smcs.count;
    int genCount = MLists.gen_smcs.count;
    double total = 0.0;
    std::vector<kilninfo> records(static_cast<std::size_t>(detCount) + 1);
    kilninfo* infos = records.data();

    LineBufferOutput();
    if (std::signal(SIGCHLD, ReapOneChild) == SIG_ERR)
        ATTError(kSignalLine, "SolveNetModel()", "signal()");

    Progress("\t writing CONV00-, EMC00- and AUX-files ...");
    WriteFilesForMExp();
    WriteAux();
    Progress("\t writing CONV00-, EMC00- and AUX-files finished !");

    if (DEBUG) std::cout << "\n" << ModelKind(detCount, genCount) << "\n" << std::endl;

    if (detCount != 0 || genCount != 0) {
        ObtainKilnInfos(infos, total);
        if (SHOW_INFOS) ShowKilnInfo(infos, detCount + 1);
    }
    if (detCount != 0) {
        Progress("\t starting kiln process execution ...");
        ExecuteKilnProcesses(infos, detCount, total);
        Progress("\t starting kiln process execution finished !");
    }
    if (genCount != 0) {
        Progress("\t starting ekiln process execution ...");
        ExecuteEkilnProcesses(genCount, detCount, MLists.gen_smcs);
        Progress("\t starting ekiln process execution finished !");
    }

    std::string model = ChainModelName();
    std::cout << "\t solving LGS ..." << std::endl;
    SolveLGS(auto_iter.GetCChar(), model.c_str(), maxiter, epsilon);
    std::cout << "\t solving LGS finished !" << std::endl;
}
