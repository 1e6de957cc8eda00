// Writing the data stream of a deterministic worker.
#include "solution/KilnDataStream.h"

#include "foundation/Reporters.h"
#include "foundation/RunState.h"
#include "solution/ChainWalk.h"
#include "solution/FiringRows.h"
#include "solution/Progress.h"
#include "statedata/GraphQueries.h"

#include <algorithm>
#include <iostream>
#include <vector>

namespace {

constexpr int kWriteLine = 1402;
constexpr int kNullChainLine = 1031;
constexpr int kEmptyChainLine = 1036;
constexpr int kNoTauLine = 1042;
constexpr int kNoFirstStateLine = 1047;
constexpr int kUnreachedLine = 1095;
constexpr int kPreemptingTargetLine = 1122;
constexpr int kQTypeLine = 1151;
constexpr int kDeltaTypeLine = 1251;
constexpr int kNoDetLine = 1262;
constexpr int kNoDetTargetLine = 1268;
constexpr int kNoBranchesLine = 1281;
constexpr int kNoBranchTargetLine = 1290;

[[noreturn]] void Fail(int line, const char* function, const char* description)
{
    ExRErr(function, description, nullptr, line);
}

void Echo(const char* label, double value)
{
    if (SHOW_COMM) std::cout << label << value << '\n';
}

void EchoHeader(const SMChain& chain, int class_id, double tau)
{
    if (!SHOW_COMM) return;
    std::cout << "\t\t\t SendDataToKiln : no_preempting_arcs = " << chain.GetNoOfPreemptingArcs()
              << "\n\t\t\t SendDataToKiln : first_state_no     = " << chain.GetFirstStateNumber()
              << "\n\t\t\t SendDataToKiln : no_states          = " << chain.GetNoOfStates()
              << "\n\t\t\t SendDataToKiln : class_id           = " << class_id
              << "\n\t\t\t SendDataToKiln : tau                = " << tau
              << "\n\t\t\t SendDataToKiln : md_tau             = " << 0
              << "\n\t\t\t SendDataToKiln : branch             = " << 0
              << "\n\t\t\t SendDataToKiln : acyclic            = " << 0
              << "\n\t\t\t SendDataToKiln : no_tau_csmcs       = " << 1
              << "\n\t\t\t SendDataToKiln : no_total_csmcs     = " << 1 << "\n\n";
}

void CheckChain(const SMChain* chain, double tau)
{
    if (!chain) ExRErr("SendDataToKiln()", "SMC is NULL-pointer", nullptr, kNullChainLine);
    if (!chain->GetMarkings().first || chain->GetNoOfStates() <= 0)
        ExRErr("SendDataToKiln()", "SMC is empty", nullptr, kEmptyChainLine);
    if (tau == 0.0) ExRErr("SendDataToKiln()", "no tau defined in SMC", nullptr, kNoTauLine);
    if (chain->GetFirstStateNumber() == 0)
        ExRErr("SendDataToKiln()", "first state number is 0", nullptr, kNoFirstStateLine);
}

// Pairs in ascending state order; pairs of equal states are summed.
void WritePairs(std::vector<FiringPair>& pairs, WorkerStream& out, const char* who)
{
    std::stable_sort(pairs.begin(), pairs.end(),
                     [](const FiringPair& a, const FiringPair& b) { return a.state < b.state; });
    if (SHOW_COMM) std::cout << who << " : no_n_states = " << pairs.size() << '\n';
    out.Int(static_cast<int>(pairs.size()));
    for (const FiringPair& p : pairs) {
        out.Unsigned(p.state);
        out.Double(p.value);
        if (SHOW_COMM)
            std::cout << who << " : state_no    = " << p.state << '\n'
                      << who << " : rate        = " << p.value << '\n';
    }
}

void WriteQRow(const Marking& m, WorkerStream& out)
{
    static const char* const kWho = "\t\t\t\t SendQMatrix";
    out.Int(0);
    Echo("\t\t\t\t SendQMatrix : last_of_scc = ", 0);
    std::vector<FiringPair> pairs;
    std::vector<double> preempting;
    const bool onlyFiring = !m.GetStt() || !m.GetStt().Next();
    pairs.push_back({m.GetKey(), onlyFiring ? 0.0 : -GetSumOfRates(m)});
    for (EdgeCursor s = m.GetStt(); s && !onlyFiring; s = s.Next()) {
        if (s->GetDelayType() == kDelayExponential)
            pairs.push_back({s->Target() ? s->Target()->GetKey() : 0u, s->GetDelayVal()});
        else if (s->GetDelayType() == kDelayPreempting)
            preempting.push_back(s->GetDelayVal());
    }
    WritePairs(pairs, out, kWho);
    out.Int(static_cast<int>(preempting.size()));
    Echo("\t\t\t\t SendQMatrix : no_p_states = ", static_cast<double>(preempting.size()));
    for (auto rate = preempting.rbegin(); rate != preempting.rend(); ++rate) {
        out.Double(*rate);
        Echo("\t\t\t\t SendQMatrix : rate        = ", *rate);
    }
}

void WriteDeltaRow(const Marking& m, WorkerStream& out)
{
    static const FiringRowReports kReports{
        "SendDeltaMatrix()",
        {kNoDetLine, kNoDetTargetLine, kNoBranchesLine, kNoBranchTargetLine},
        {"SMC member without det. statetransition",
         "det. statetransition without successor marking",
         "statetransition without successor markings",
         "statetransition without successor marking"}};
    std::vector<FiringPair> row = CheckedFiringRow(m, kDelayDeterministic, kReports, Fail);
    out.Int(1);
    // Equal states, which sorting brings together, make one entry.
    std::stable_sort(row.begin(), row.end(),
                     [](const FiringPair& a, const FiringPair& b) { return a.state < b.state; });
    std::vector<FiringPair> merged;
    for (const FiringPair& p : row) {
        if (!merged.empty() && merged.back().state == p.state)
            merged.back().value += p.value;
        else
            merged.push_back(p);
    }
    WritePairs(merged, out, "\t\t\t\t SendDeltaMatrix");
}

// The rows of one part; every member must be reached.
template <class WriteRow>
void SendRows(SMChain& chain, WorkerStream& out, unsigned mark, const char* function,
              const char* notDeterministic, int typeLine, WriteRow writeRow)
{
    WriteMemberRows(chain, kDelayDeterministic, mark,
                    {function, notDeterministic, typeLine, kUnreachedLine}, Fail,
                    [&](const Marking& m) { writeRow(m, out); });
}

void SendPreemptingTargets(const SMChain& chain, WorkerStream& out)
{
    for (const PLElement<Marking>* e = chain.GetMarkings().first; e; e = e->next)
        for (EdgeCursor s = e->item->GetStt(); s; s = s.Next()) {
            if (s->GetDelayType() != kDelayPreempting) continue;
            if (!s->Target())
                ExRErr("SendDataToKiln()", "exp. stt without successor marking", nullptr,
                       kPreemptingTargetLine);
            out.Unsigned(s->Target()->GetKey());
        }
}

}  // namespace

void my_fwrite(const char* data, unsigned size, std::FILE* stream)
{
    if (!SendAll(fileno(stream), data, size))
        ExRErr("my_fwrite()", "can't write to socket!", nullptr, kWriteLine);
}

void SendQMatrix(SMChain& chain, WorkerStream& out)
{
    SendRows(chain, out, kStatusQSended, "SendQMatrix()", "non det. marking in SendQMatrix",
             kQTypeLine, WriteQRow);
}

void SendDeltaMatrix(SMChain& chain, WorkerStream& out)
{
    SendRows(chain, out, kStatusDSended, "SendDeltaMatrix()", "non det. marking in SendDeltaMatrix",
             kDeltaTypeLine, WriteDeltaRow);
}

void SendDataToKiln(std::FILE* stream, SMChain*& chain, int& class_id)
{
    const double tau = chain ? chain->GetDetOrGenDelay() : 0.0;
    CheckChain(chain, tau);
    EchoHeader(*chain, class_id, tau);

    WorkerStream out(stream, my_fwrite);
    out.Int(class_id);
    out.Int(chain->GetNoOfStates());
    out.Unsigned(chain->GetFirstStateNumber());
    out.Int(chain->GetNoOfPreemptingArcs());
    out.Int(1);  // no_total_csmcs
    out.Int(0);  // acyclic
    out.Int(0);  // branch
    Progress("\t\t\t sending q-matrix ...");
    SendQMatrix(*chain, out);
    Progress("\t\t\t sending q-matrix finished !");
    out.Int(1);  // no_tau_csmcs
    out.Int(1);
    out.Double(tau);
    out.Int(0);  // md_tau
    out.Double(tau);
    Progress("\t\t\t sending delta-matrix ...");
    SendDeltaMatrix(*chain, out);
    Progress("\t\t\t sending delta-matrix finished !");
    Progress("\t\t\t sending preempting_exp info ...");
    SendPreemptingTargets(*chain, out);
    Progress("\t\t\t sending preempting_exp info finished !");
    out.Flush();
}
