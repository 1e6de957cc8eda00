// What mosk-solve has mosk guard, what it says when mosk stopped a graph,
// and the workers a description needs before mosk starts.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "TempDir.h"
#include "frontend/FailureAdvice.h"
#include "frontend/RunSafeguards.h"
#include "frontend/WorkerCheck.h"

namespace {

TEST(RunSafeguards, CappedCountsAndProvenGrowthStopUnlessAccepted)
{
    SolveOptions options;
    const std::string workers = "WORKER FAILURES STOP\n";
    EXPECT_EQ(SafeguardLines(options), "CAPPED COUNTS STOP\nUNBOUNDED PLACES STOP\n" + workers);
    options.acceptCappedCounts = true;
    EXPECT_EQ(SafeguardLines(options), "CAPPED COUNTS WARN\nUNBOUNDED PLACES WARN\n" + workers);
    options.strict = true;
    options.maxMarkings = "5000";
    options.maxMemory = "300";
    EXPECT_EQ(SafeguardLines(options), "CAPPED COUNTS WARN\nUNBOUNDED PLACES STOP\n" + workers +
                                           "MAX MARKINGS 5000\nMAX GRAPH MEMORY 300\n");
}

std::string Report(const std::string& line, const std::string& description,
                   const std::string& info1, const std::string& info2 = "")
{
    return "\trunning rrg creation ... |\nERROR occured\n\nfile\t\t : Pendra/src/GraphLimits\n"
           "line\t\t : " +
           line + "\nfunction \t : CreateRRG()\ndescription\t : " + description +
           "\nadditional info1 : " + info1 + "\n" +
           (info2.empty() ? "" : "additional info2 : " + info2 + "\n") + "\n";
}

void ExpectHolds(const std::string& summary, const std::string& words)
{
    EXPECT_NE(summary.find(words), std::string::npos) << summary;
    EXPECT_EQ(summary.find('\n'), std::string::npos) << summary;
}

TEST(RunSafeguards, SummariesNameThePlacesAndWhatToChange)
{
    ExpectHolds(FailureSummary(239, Report("104", "the net is unbounded", "place \\P grows",
                                           "a marking covers an earlier marking")),
                "place \\P grows without bound (a marking covers an earlier one on its path with "
                "more tokens there): give it a capacity, or a guard that stops it");
    ExpectHolds(FailureSummary(239, Report("103", "token quantity reached the largest count 65535",
                                           "\\Q", "one more token wraps around to 0")),
                "place \\Q reached 65535 tokens");
    const std::string markings =
        FailureSummary(239, Report("101", "number of markings exceeds the limit of 1000",
                                   "limit MAX MARKINGS in .Plenar", "places \\P \\Q grow"));
    ExpectHolds(markings, "the reachability graph has more than 1000 markings");
    ExpectHolds(markings, "places \\P \\Q grow, so the net is probably unbounded");
    ExpectHolds(markings, "--max-markings");
    ExpectHolds(FailureSummary(239, Report("102",
                                           "memory of the reachability graph exceeds the limit of "
                                           "40 MB",
                                           "after 9 markings, limit derived from ulimit -v")),
                "needs more than 40 MB (after 9 markings, limit derived from ulimit -v): give the "
                "growing places a capacity");
    ExpectHolds(FailureSummary(250,
                               "\nERROR occured\n\nfile\t\t : pars\nline\t\t : 12\nfunction \t : "
                               "yyparse()\ndescription\t : token quantity above 65535, the "
                               "largest count\n\n"),
                "line 12 writes a token quantity above 65535");
}

TEST(WorkerCheck, DelaysOfTheDescriptionNameTheWorkers)
{
    EXPECT_EQ(WorkersNeeded("T [ in#P = e ; Exponential(1) ]"), std::vector<std::string>{});
    EXPECT_EQ(WorkersNeeded("/* Deterministic */ T [ in#P = e ; Uniform(1, 2) ]"),
              std::vector<std::string>{"ekiln"});
    EXPECT_EQ(WorkersNeeded("U [ ; General(I[1]) ] T [ ; Deterministic(d) ]"),
              (std::vector<std::string>{"kiln_da", "ekiln"}));
}

TEST(WorkerCheck, MissingWorkersAreNamedWithTheStatusOfTheirStage)
{
    const std::string dspn = "T [ in#P = e ; Deterministic(0.5) ]";
    int status = 0;
    EXPECT_EQ(MissingWorker(dspn, {{"kiln_da", "/x/kiln_da"}}, "", status), "");
    const std::string missing = MissingWorker(dspn, {{"ekiln", "/x/ekiln"}}, "", status);
    EXPECT_NE(missing.find("need the worker kiln_da"), std::string::npos) << missing;
    EXPECT_EQ(status, 243);

    TempDir installation;
    const std::string bin = installation.path + "/Pendra/bin";
    std::filesystem::create_directories(bin);
    const std::string general = "T [ ; General(I[1]) ]";
    EXPECT_NE(MissingWorker(general, {}, installation.path, status).find(bin + "/ekiln is not"),
              std::string::npos);
    EXPECT_EQ(status, 242);
    std::ofstream(bin + "/ekiln") << "#!/bin/sh\n";
    std::filesystem::permissions(bin + "/ekiln", std::filesystem::perms::owner_all);
    EXPECT_EQ(MissingWorker(general, {}, installation.path, status), "");
}

}  // namespace
