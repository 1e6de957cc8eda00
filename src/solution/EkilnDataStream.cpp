// Writing the data stream of a general worker.
#include "solution/EkilnDataStream.h"

#include "foundation/Reporters.h"
#include "netmodel/Registries.h"
#include "netmodel/Textual.h"
#include "netmodel/Transition.h"
#include "solution/ChainWalk.h"
#include "solution/FiringRows.h"
#include "statedata/GraphQueries.h"

#include <cstring>
#include <vector>

namespace {

constexpr unsigned char kEntryFlag = 2;
constexpr int kWriteLine = 731;
constexpr int kNoNameLine = 207;
constexpr int kMdetTypeLine = 246;
constexpr int kQTypeLine = 291;
constexpr int kDeltaTypeLine = 343;
constexpr int kUnreachedLine = 262;
constexpr int kNoGenLine = 351;
constexpr int kNoGenTargetLine = 356;
constexpr int kNoBranchesLine = 372;
constexpr int kNoBranchTargetLine = 378;

bool IsRate(const EdgeCursor& s)
{
    return s->GetDelayType() == kDelayExponential || s->GetDelayType() == kDelayPreempting;
}

const Transition* FindTransition(const PtrList<Transition>& list, int number)
{
    for (const PLElement<Transition>* e = list.first; e; e = e->next)
        if (e->item->GetNo() == number) return e->item;
    return nullptr;
}

// The name the transition's distribution is filed under in the PMF file.
// The name list may also hold the names of sub-transitions, so the
// transition itself is looked up first.
const char* TransitionName(int number)
{
    const Transition* t = FindTransition(ExclusiveTransitions, number);
    if (!t) t = FindTransition(InfiniteTransitions, number);
    if (t) return t->GetName().GetCChar();
    const Textual* name = TransitionNames.GetLE(number);
    return name ? name->GetString().GetCChar() : nullptr;
}

[[noreturn]] void Fail(int line, const char* function, const char* description)
{
    ExError(line, function, description);
}

// The rows of one part; every member must be reached.
template <class WriteRow>
void SendRows(SMChain& chain, WorkerStream& out, unsigned mark, const char* function,
              const char* notGeneral, int typeLine, WriteRow writeRow)
{
    WriteMemberRows(chain, kDelayGeneral, mark, {function, notGeneral, typeLine, kUnreachedLine},
                    Fail, [&](const Marking& m) { writeRow(m, out); });
}

void WriteMemberRecord(const Marking& m, WorkerStream& out)
{
    out.Unsigned(m.GetKey());
    out.Byte(m.GetStatus() == kStatusInitial ? kEntryFlag : 0);
}

void WriteQRow(const Marking& m, WorkerStream& out)
{
    out.Double(-GetSumOfRates(m));
    out.Unsigned(m.GetKey());
    out.Unsigned(static_cast<unsigned>(GetNoOfExpPaths(m)));
    for (EdgeCursor s = m.GetStt(); s; s = s.Next())
        if (IsRate(s)) {
            out.Double(s->GetDelayVal());
            out.Unsigned(s->Target() ? s->Target()->GetKey() : 0u);
        }
}

void WriteDeltaRow(const Marking& m, WorkerStream& out)
{
    static const FiringRowReports kReports{
        "send_delta()",
        {kNoGenLine, kNoGenTargetLine, kNoBranchesLine, kNoBranchTargetLine},
        {"SMC member without gen. statetransition",
         "gen. statetransition without successor marking",
         "statetransition without successor markings",
         "statetransition without successor marking"}};
    const std::vector<FiringPair> row = CheckedFiringRow(m, kDelayGeneral, kReports, Fail);
    out.Unsigned(m.GetKey());
    out.Unsigned(static_cast<unsigned>(row.size()));
    for (const FiringPair& p : row) {
        out.Double(p.value);
        out.Unsigned(p.state);
    }
}

}  // namespace

void Fwrite(const char* data, unsigned size, std::FILE* stream)
{
    if (!SendAll(fileno(stream), data, size))
        ExError(kWriteLine, "Fwrite()", "pipe broken; can't write to socket");
}

void SendMDET(WorkerStream& out, SMChain& chain, int index, int detCount)
{
    const char* name = TransitionName(chain.GetTransitionRef());
    if (!name || !*name) ExError(kNoNameLine, "send_mdet()", "SMC transition without name");
    out.Int(index + detCount + 1);
    out.Int(static_cast<int>(std::strlen(name)));
    out.Bytes(name, std::strlen(name));
    SendRows(chain, out, kStatusUnknown, "send_mdet()", "non gen. marking in while sending data",
             kMdetTypeLine, WriteMemberRecord);
    out.Int(0);
}

void SendQ(WorkerStream& out, SMChain& chain)
{
    SendRows(chain, out, kStatusQSended, "send_q()", "non gen. marking in while sending Q-mat.",
             kQTypeLine, WriteQRow);
}

void SendDELTA(WorkerStream& out, SMChain& chain)
{
    SendRows(chain, out, kStatusDSended, "send_delta()", "non gen. marking in while sending Q-mat.",
             kDeltaTypeLine, WriteDeltaRow);
}
