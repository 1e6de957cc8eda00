// mosk: steady-state analysis of stochastic Petri nets. main runs one fixed
// pipeline: command line and environment, the net description, parsing and
// class check, the reduced reachability graph and its examination, then one
// solution and evaluation pass per delays file.
#include "evaluation/NetEvaluation.h"
#include "foundation/RunState.h"
#include "language/ClassCheck.h"
#include "language/GlobalTables.h"
#include "language/PMFFile.h"
#include "language/Parser.h"
#include "netmodel/ShowClasses.h"
#include "run/CleanTmpD.h"
#include "run/CommandLine.h"
#include "run/Environment.h"
#include "run/GraphLimitSettings.h"
#include "run/ListingsRRGParams.h"
#include "run/NetRelease.h"
#include "run/OutOfMemoryReport.h"
#include "run/PathNames.h"
#include "run/Progress.h"
#include "run/ReadDelays.h"
#include "run/RunExit.h"
#include "run/RunStatistics.h"
#include "run/SetRates.h"
#include "run/ShowResults.h"
#include "run/StopSignals.h"
#include "run/TableString.h"
#include "solution/SolveNetModel.h"
#include "statespace/CreateRRG.h"
#include "statespace/ExamineRRG.h"
#include "statespace/RRGListing.h"
#include "statespace/RRGStores.h"
#include "statedata/NetCounts.h"

#include <iostream>

namespace {

void ReadNetDescription()
{
    AnnounceStep("getting tablestring ... ");
    GetTableString();
    FinishStep("getting tablestring finished !");

    AnnounceStep("deleting old tmp files ...");
    CleanTmpD();
    FinishStep("deleting old tmp files finished !");

    AnnounceStep("parsing transition table ...");
    yyparse();
    FinishStep("parsing transition table finished !");

    if (no_of_gen_transitions != 0) {
        AnnounceStep("writing .pmf-file ...");
        WritePMFFile();
        ForgetGeneralTransitions();
        FinishStep("writing .pmf-file finished !");
    }

    AnnounceStep("checking classes ...");
    ClassCheck();
    if (SHOW_CLASS) ShowClasses();
    DeleteDefinitions();
    FinishStep("checking classes finished !");
}

void GenerateRRG()
{
    if (SHOW_SIZE) ProcSize(rrg_start_size);
    if (SHOW_TIME) StartTime(rrg_start_time);
    CreateRRG();
    if (SHOW_TIME) StopTime(rrg_stop_time);
    if (SHOW_SIZE) ProcSize(rrg_stop_size);
    if (SHOW_TIME) DiffTime(rrg_start_time, rrg_stop_time, rrg_diff_time);
    if (SHOW_SIZE) DiffSize(rrg_start_size, rrg_stop_size, rrg_diff_size);
    if (DEBUG) ShowRRGParams(0);
}

void BuildAndExamineRRG()
{
    InitGlobalVars();
    if (SHOW_SIZE) MemInfo(free_ram, free_swap);
    CreateMarkingStores();
    GenerateRRG();
    FreeTransitionArrays();
    if (SHOW_HASH) ShowHashDistribution();

    AnnounceStep("examining rrg ... ");
    ExamineRRG();
    FinishStep("examining rrg finished!");
    if (SHOW_RRG)
        ShowRRG();
    else if (SPECIAL_DEBUG)
        ShowSmallRRG();
}

// Without complete delay tables a pass would solve with rates the
// coordinator never meant, so the run ends instead.
void ReadFirstDelays()
{
    if (ReadDelays(true)) return;
    std::cout << "\t no delay tables from " << DelaysFileName(callno).GetCChar()
              << " => abort !" << std::endl;
    AbortRun();
}

void SolvePasses()
{
    ReadFirstDelays();
    do {
        SetRates();
        SolveNetModel();
        WriteResults(ResultsFileName(callno));
        ++callno;
    } while (ReadDelays(false));
    FinishStep("calculating net parameters finished ! ");
}

void ShowRunStatistics()
{
    if (SHOW_SIZE) ShowRRGParams(1);
    if (SHOW_TIME) {
        StopTime(all_stop_time);
        DiffTime(all_start_time, all_stop_time, all_diff_time);
        ShowRRGParams(2);
    }
}

}  // namespace

int main(int argc, char* argv[])
{
    StartTime(all_start_time);
    InstallOutOfMemoryReport();
    InstallStopSignals();
    CheckOptions(argc, argv);

    AnnounceStep("checking environment ... ");
    CheckEnviron();
    ReadGraphLimits();
    FinishStep("checking environment finished !");

    ReadNetDescription();
    BuildAndExamineRRG();
    SolvePasses();
    ShowRunStatistics();
    ReleaseStores();
    if (SHOW_RES) ShowResults();
    return 0;
}
