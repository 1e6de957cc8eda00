// ekiln: the worker that analyses one general subordinated chain. The engine
// starts it as
//   ekiln <host> <port> <epsilon> <modelpath>
// (modelpath = TmpD/netname) and it connects back to host:port, reads the
// chain, takes the firing-time distribution of its transition from
// <modelpath>.pmf, writes <modelpath>.EMC<nn> and .CONV<nn> and reports
// "Elapsed CPU time: <seconds>" and "ready.". docs/workers.md has the details.
#include <cstdio>
#include <string>

#include "workers/ChainAnalysis.h"
#include "workers/ChainFile.h"
#include "workers/DistributionCheck.h"
#include "workers/EkilnStream.h"
#include "workers/PmfFile.h"
#include "workers/WorkerSession.h"

namespace {

constexpr const char* kUsage = "ekiln <host> <port> <epsilon> <modelpath>";

// The engine reads the seconds with "%lf" from the 19th character on.
std::string CpuTimeLine(double seconds)
{
    char line[80];
    std::snprintf(line, sizeof line, "Elapsed CPU time: %.3f", seconds);
    return line;
}

}  // namespace

int main(int argc, char** argv)
{
    WorkerSession session("ekiln");
    if (argc != 5) session.Usage("expected 4 arguments", kUsage);
    double epsilon = 0.0;
    std::string error;
    if (!ParseEpsilon(argv[3], epsilon, error)) session.Usage(error, kUsage);
    const std::string modelPath = argv[4];

    session.Connect(argv[1], argv[2]);
    StreamDecoder in(session.Connection());
    EkilnInput input;
    if (!ReadEkilnStream(in, input)) session.Fail(in.Error());
    const int classNumber = input.chain.classNumber;
    const std::string emcPath = ChainFilePath(modelPath, ".EMC", classNumber);
    const std::string convPath = ChainFilePath(modelPath, ".CONV", classNumber);
    session.OwnChainFiles(emcPath, convPath);

    std::string text;
    Distribution firing;
    if (!FindPmfText(modelPath + ".pmf", input.transition, text, error)) session.Fail(error);
    if (!LoadDistribution(text, firing, error))
        session.Fail("the distribution of transition " + input.transition +
                     " is rejected: " + error);

    ChainSummary summary;
    if (!AnalyseChain(input.chain, firing, epsilon, emcPath, convPath, summary, error))
        session.Fail(error);
    session.Note("ekiln " + DescribeSummary(classNumber, summary), false);
    session.Finish(CpuTimeLine(WorkerSession::CpuSeconds()));
}
