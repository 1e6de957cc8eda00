// kiln_da: the worker that analyses one deterministic subordinated chain.
// The engine starts it as
//   kiln_da <host> <port> <netname> debug|nodebug <TmpD> <epsilon>
// and it connects back to host:port, reads the chain, writes
// <TmpD>/<netname>.EMC<nn> and .CONV<nn> (nn the class number) and reports
// "Elapsed CPU time h:m:s" and "ready.". docs/workers.md has the details.
#include <cstdio>
#include <string>

#include "workers/ChainAnalysis.h"
#include "workers/ChainFile.h"
#include "workers/KilnStream.h"
#include "workers/MemberOrder.h"
#include "workers/WorkerSession.h"

namespace {

constexpr const char* kUsage = "kiln_da <host> <port> <netname> debug|nodebug <tmpdir> <epsilon>";

// Hours and minutes as whole numbers, then seconds: the engine reads the
// three with "%lf:%lf:%lf" from the 18th character on.
std::string CpuTimeLine(double seconds)
{
    const long hours = static_cast<long>(seconds / 3600.0);
    const long minutes = static_cast<long>((seconds - hours * 3600.0) / 60.0);
    char line[80];
    std::snprintf(line, sizeof line, "Elapsed CPU time %ld:%ld:%.3f", hours, minutes,
                  seconds - hours * 3600.0 - minutes * 60.0);
    return line;
}

void ShowHeader(const KilnInput& input)
{
    std::fprintf(stderr, "kiln_da: class %d, %zu states from %u, %lld preempting arcs, tau %g\n",
                 input.chain.classNumber, input.chain.states.size(), input.chain.firstState,
                 static_cast<long long>(input.preemptingArcs), input.delay);
}

}  // namespace

int main(int argc, char** argv)
{
    WorkerSession session("kiln_da");
    if (argc != 7) session.Usage("expected 6 arguments", kUsage);
    const std::string mode = argv[4];
    if (mode != "debug" && mode != "nodebug")
        session.Usage("the 4th argument must be debug or nodebug", kUsage);
    const bool debug = mode == "debug";
    const std::string netName = argv[3];
    const std::string tmpDir = argv[5];
    double epsilon = 0.0;
    std::string error;
    if (!ParseEpsilon(argv[6], epsilon, error)) session.Usage(error, kUsage);

    session.Connect(argv[1], argv[2]);
    StreamDecoder in(session.Connection());
    KilnInput input;
    if (!ReadKilnStream(in, input)) session.Fail(in.Error());
    const int classNumber = input.chain.classNumber;
    const std::string modelPath = tmpDir + "/" + netName;
    const std::string emcPath = ChainFilePath(modelPath, ".EMC", classNumber);
    const std::string convPath = ChainFilePath(modelPath, ".CONV", classNumber);
    session.OwnChainFiles(emcPath, convPath);
    if (debug) ShowHeader(input);

    if (input.preemptingArcs > 0) {
        std::vector<std::uint32_t> order;
        if (!ReadMemberOrder(MemberOrderPath(tmpDir, netName, classNumber), order, error) ||
            !PairPreemptingArcs(input, order, error))
            session.Fail(error);
    }

    ChainSummary summary;
    if (!AnalyseChain(input.chain, FixedDelay(input.delay), epsilon, emcPath, convPath, summary,
                      error))
        session.Fail(error);
    session.Note("kiln_da " + DescribeSummary(classNumber, summary), debug);
    session.Finish(CpuTimeLine(WorkerSession::CpuSeconds()));
}
