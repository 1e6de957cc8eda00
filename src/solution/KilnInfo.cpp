// Planning data of the deterministic chains. The effort grows with the number
// of exponential edges and the fastest exit rate, because the transient
// analysis over the deterministic delay needs more steps for stiffer chains.
#include "solution/KilnInfo.h"

#include "statedata/GraphQueries.h"
#include "statedata/StateSpaceGlobals.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>
#include <vector>

namespace {

constexpr double kEffortPerEdgeAndRate = 0.00261;
constexpr std::uint32_t kMostStepsPerSecond = 150;

// Truncation that saturates instead of overflowing.
std::uint32_t TruncateToUnsigned(double x)
{
    if (!(x > 0.0)) return 0;
    return static_cast<std::uint32_t>(std::min(x, 4294967295.0));
}

void AddEdgesOf(const Marking& m, int& eta, double& max)
{
    eta += GetNoOfExpPaths(m);
    max = std::max(max, GetSumOfRates(m));
}

void Plan(kilninfo& info)
{
    if (info.max_qii == 0.0) {
        info.effort = 0.0;
        info.kb_p_sec = 0;
        return;
    }
    info.effort = info.eta * info.max_qii * kEffortPerEdgeAndRate;
    info.kb_p_sec = TruncateToUnsigned(std::sqrt(info.eta / info.max_qii));
    if (info.effort < 1.0)
        info.kb_p_sec = TruncateToUnsigned(std::sqrt(info.kb_p_sec * info.effort));
    info.kb_p_sec = std::min(info.kb_p_sec, kMostStepsPerSecond);
}

}  // namespace

// The examination leaves the exponential paths of a chain as a tree of
// "visited" markings below each entry marking: a member whose edge closed a
// cycle became "last of succ" and is not descended from. The walk keeps its
// own stack because chains can be long. An edge back to a marking on the
// walk's own path is not followed: where the examination left such a cycle
// unmarked (exponential moves between the chains of two transitions and
// back), following it would never end.
void GetInfosAboutSMC(Marking*& m, int& eta, double& max)
{
    struct Frame {
        const Marking* marking;
        EdgeCursor next;  // its edges still to follow
    };
    std::vector<Frame> path;
    std::unordered_set<const Marking*> onPath;
    auto enter = [&](const Marking* marking) {
        AddEdgesOf(*marking, eta, max);
        const bool descend = marking->GetStatus() != kStatusLastOfSucc;
        path.push_back(Frame{marking, descend ? marking->GetStt() : EdgeCursor()});
        onPath.insert(marking);
    };
    enter(m);
    while (!path.empty()) {
        Frame& top = path.back();
        if (!top.next) {
            onPath.erase(top.marking);
            path.pop_back();
            continue;
        }
        const stt& s = *top.next;
        top.next = top.next.Next();
        const Marking* target = s.Target();
        if (s.GetDelayType() == kDelayExponential && target && target->GetStatus() == kStatusVisited &&
            !onPath.count(target))
            enter(target);
    }
}

void ObtainKilnInfos(kilninfo*& infos, double& total)
{
    kilninfo* info = infos;
    for (PLElement<SMChain>* c = MLists.det_smcs.first; c; c = c->next, ++info) {
        *info = kilninfo{};
        info->SMCs = c->item;
        int eta = 0;
        for (PLElement<Marking>* e = c->item->GetMarkings().first; e; e = e->next) {
            if (e->item->GetStatus() != kStatusInitial) continue;
            double max = 0.0;
            GetInfosAboutSMC(e->item, eta, max);
            info->max_qii = std::max(info->max_qii, max);
        }
        info->eta = static_cast<std::uint32_t>(eta);
    }
    for (kilninfo* planned = infos; planned != info; ++planned) {
        Plan(*planned);
        total += planned->effort;
    }
}
