// The solution driver: chain files of the exponential markings, workers for
// the deterministic and then the general subordinated chains, and the linear
// solver over all chain files.
#include "solution/SolveNetModel.h"

#include "foundation/ChainModelName.h"
#include "foundation/ParkablePages.h"
#include "foundation/Reporters.h"
#include "foundation/RunState.h"
#include "solution/ChildReaper.h"
#include "solution/ExecEkiln.h"
#include "solution/ExecKiln.h"
#include "solution/ExpChainFiles.h"
#include "solution/IterationSettings.h"
#include "solution/KilnInfo.h"
#include "solution/Progress.h"
#include "solution/SolveLGS.h"
#include "statedata/StateSpaceGlobals.h"

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr int kSignalLine = 322;
// Below this the parking file and the page faults that bring the graph back
// cost more than the memory is worth.
constexpr std::size_t kWorthParking = std::size_t{16} << 20;
constexpr std::size_t kStreamBuffer = 1024;

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

const char* ModelKind(int detCount, int genCount)
{
    if (genCount != 0) return "\t EDSPN TO EVALUATE";
    if (detCount != 0) return "\t DSPN TO EVALUATE";
    return "\t GSPN TO EVALUATE";
}

// The solver does not read the graph but needs the room: the graph waits in
// a file beside the chain files, and what is read of it afterwards comes
// back page by page. A PARK GRAPH ABOVE line sets the size in MB from which
// it does (so that a small graph can be made to take this path), and then
// the verbose switch says whether it left.
void ParkGraph()
{
    const double megabytes = read_iteration_settings(true).park_graph_mb;
    const std::size_t worth =
        megabytes > 0.0 ? static_cast<std::size_t>(std::min(megabytes, 1e12) * 1048576.0)
                        : kWorthParking;
    if (ParkablePages::Bytes() < worth) return;
    const char* directory = TmpDir ? TmpDir : ".";
    const bool parked = ParkablePages::Park(directory) > 0;
    if (megabytes <= 0.0 || !DEBUG) return;
    if (parked)
        std::cout << "\t graph parked in a file beside the chain files" << std::endl;
    else
        std::cout << "\t graph stays in memory: no file could be made in " << directory << std::endl;
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
    if (!InstallChildReaper()) ATTError(kSignalLine, "SolveNetModel()", "signal()");

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
    ParkGraph();
    std::cout << "\t solving LGS ..." << std::endl;
    SolveLGS(auto_iter.GetCChar(), model.c_str(), maxiter, epsilon);
    std::cout << "\t solving LGS finished !" << std::endl;
}
