// The graph listings. A marking is listed when first met; the markings
// listed are remembered (ShowedMarkings) and their listed flags cleared
// again afterwards, so that the next listing starts afresh.
#include "statespace/RRGListing.h"

#include <iostream>
#include <vector>

#include "foundation/Framing.h"
#include "statespace/GraphWalk.h"
#include "statedata/MarkingListing.h"
#include "statedata/StateSpaceGlobals.h"

namespace {

const char* const kStarLine = "********************* rrg statistiks *********************";
const char* const kSumLine = "----------------------------------------------------------";

void ShowCounters()
{
    std::cout << kStarLine << "\n"
              << "   no. det. markings  : " << MCount[kCountDet] << "\n"
              << " + no. exp. markings  : " << MCount[kCountExp] << "\n"
              << " + no. gen. markings  : " << MCount[kCountGen] << "\n"
              << " + no. imm. markings  : " << MCount[kCountImm] << "\n"
              << " + no. abs. markings  : " << MCount[kCountAbs] << "\n"
              << kSumLine << "\n"
              << " = no tang. markings  : " << MCount[kCountTangible] << "\n\n"
              << " + no pro. markings   : " << MCount[kCountPro] << "\n"
              << " + no imm. markings   : " << MCount[kCountImm] << "\n"
              << kSumLine << "\n"
              << " = no. markings       : " << MCount[kCountAll] << "\n"
              << kStarLine << "\n";
}

void ShowDelayValue(const DelayVal& d)
{
    std::cout << "Delay Value: " << d.GetDelayVal() << "\n"
              << "Delay Type : " << DelayTypeName(d.GetDelayType()) << "\n"
              << "Trans. No. : " << d.GetTransNo() << "\n";
}

void ShowFullMarking(const Marking& m)
{
    ShowMarking(&m);
    if (!m.GetStt()) return;
    std::cout << "\t" << kFrameLine << "\n";
    for (EdgeCursor s = m.GetStt(); s; s = s.Next()) {
        if (!(s == m.GetStt())) DELIMITER("\t");
        ShowDelayValue(*s);
        ShowMarking(s->Target());
    }
    std::cout << "\t" << kFrameLine << "\n\n\n";
}

void ShowSparseMarking(const Marking& m)
{
    std::cout << "Key/Number : " << m.GetKey() << "\n";
    ShowAta(m.GetAta());
    ShowPms(m.GetPms());
    for (const stt& s : m.Edges())
        std::cout << "Stt        : " << s.GetDelayVal() << " " << DelayTypeName(s.GetDelayType())
                  << " (trans. " << s.GetTransNo()
                  << ")\tNext MarkNo: " << (s.Target() ? s.Target()->GetKey() : 0) << "\n";
    std::cout << "\n";
}

// Lists every marking reachable from InitialMarking once, in depth-first
// order, with `show`.
void ShowGraph(void (*show)(const Marking&))
{
    START("RRG");
    ShowCounters();
    if (!InitialMarking) {
        std::cout << "\tinitial marking is NULL-pointer\n";
        STOP("RRG");
        return;
    }
    std::vector<Marking*> ShowedMarkings;
    auto enter = [&ShowedMarkings, show](Marking& m) {
        m.SetListed(true);
        ShowedMarkings.push_back(&m);
        show(m);
    };
    enter(*InitialMarking);
    WalkDepthFirst(*InitialMarking, [&enter](Marking&, stt& e) {
        if (!e.Target() || e.Target()->IsListed()) return false;
        enter(*e.Target());
        return true;
    });
    for (Marking* m : ShowedMarkings) m->SetListed(false);
    STOP("RRG");
}

}  // namespace

void ShowRRG()
{
    ShowGraph(ShowFullMarking);
}

void ShowSmallRRG()
{
    ShowGraph(ShowSparseMarking);
}
