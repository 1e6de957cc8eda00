// The watch over a generation: places that grow without bound (proven where
// the enabling only grows with the marking, a hint elsewhere), quantities
// at the largest count, and the limits on the number of markings. Each net
// is generated with and without the interning thread.
#include <gtest/gtest.h>

#include <string>

#include "FatalReport.h"
#include "TestNet.h"
#include "foundation/GraphLimits.h"
#include "statedata/StateSpaceGlobals.h"
#include "statespace/CreateRRG.h"
#include "statespace/PlaceGrowth.h"
#include "statespace/InterningPipeline.h"

namespace {

constexpr int kLimitStatus = -17;

class GraphWatch : public testing::TestWithParam<bool> {
protected:
    void SetUp() override { AllowInterningThread(GetParam()); }
    void TearDown() override
    {
        RunLimits = GraphLimits();
        AllowInterningThread(true);
    }
};

std::string Generated()
{
    testing::internal::CaptureStdout();
    CreateRRG();
    return testing::internal::GetCapturedStdout();
}

// t1 takes the token of a and puts one in b and one in c; t2 takes it from
// b back to a: every round leaves one more token in c, which nothing reads.
void BuildPumpOfTwoFirings(TestNet& net)
{
    Place* a = net.AddPlace("a", 1);
    Place* b = net.AddPlace("b");
    Place* c = net.AddPlace("c");
    net.Add("t1", {{{{a, 1}}, {{b, 1}, {c, 1}}, Exp(1.0)}});
    net.Add("t2", {{{{b, 1}}, {{a, 1}}, Exp(1.0)}});
    net.Finish();
}

std::size_t Occurrences(const std::string& text, const std::string& line)
{
    std::size_t n = 0;
    for (std::size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1))
        ++n;
    return n;
}

// Asked to stop, the run ends at the proof, or at the largest count.
TEST_P(GraphWatch, PumpOfTwoFiringsStopsWhereAskedTo)
{
    for (GrowthCheck GraphLimits::*check :
         {&GraphLimits::unboundedPlaces, &GraphLimits::cappedCounts}) {
        RunLimits = GraphLimits();
        RunLimits.*check = GrowthCheck::Stop;
        TestNet net;
        BuildPumpOfTwoFirings(net);
        EXPECT_REPORT_EXIT(CreateRRG(), kLimitStatus,
                           EscapedForRegex(check == &GraphLimits::unboundedPlaces
                                               ? "description\t : the net is unbounded\n"
                                                 "additional info1 : place c grows\n"
                                               : "description\t : token quantity reached the "
                                                 "largest count 65535\nadditional info1 : c\n"));
    }
}

// Warned, the run goes on until the count wraps at 65536: c's quantity
// reaches the largest count; each is said once.
TEST_P(GraphWatch, WarningsNameTheGrowingPlaceAndTheLargestCountOnce)
{
    RunLimits.unboundedPlaces = GrowthCheck::Warn;
    RunLimits.cappedCounts = GrowthCheck::Warn;
    TestNet net;
    BuildPumpOfTwoFirings(net);
    const std::string out = Generated();
    EXPECT_EQ(Occurrences(out,
                          "WARNING : place c grows without bound: a marking covers an "
                          "earlier marking on its path with more tokens there\n"),
              1u)
        << out;
    EXPECT_EQ(Occurrences(out,
                          "WARNING : place c holds 65535 tokens, the largest count; one "
                          "more wraps around to 0\n"),
              1u)
        << out;
    EXPECT_EQ(MHash.GetCounter(), 2u * 65536u);
}

// A queue with room for three and a ring of two tokens among three places
// (each move has two bindings): markings cover earlier ones, but only in a
// capped place or not at all.
TEST_P(GraphWatch, BoundedNetsShowNothing)
{
    RunLimits.unboundedPlaces = GrowthCheck::Stop;
    RunLimits.cappedCounts = GrowthCheck::Stop;
    {
        TestNet net;
        Place* q = net.AddPlace("q", 0, 3);
        net.Add("arrive", {{{}, {{q, 1}}, Exp(1.0)}});
        net.Add("serve", {{{{q, 1}}, {}, Exp(2.0)}});
        net.Finish();
        EXPECT_EQ(Generated().find("WARNING"), std::string::npos);
        EXPECT_EQ(MHash.GetCounter(), 4u);
    }
    TestNet net;
    Place* p[3] = {net.AddPlace("p0", 2), net.AddPlace("p1"), net.AddPlace("p2")};
    for (int i = 0; i < 3; ++i)
        net.Add(("m" + std::to_string(i)).c_str(),
                {{{{p[i], 1}}, {{p[(i + 1) % 3], 1}}, Exp(1.0)},
                 {{{p[i], 1}}, {{p[(i + 2) % 3], 1}}, Exp(2.0)}});
    net.Finish();
    EXPECT_EQ(Generated().find("WARNING"), std::string::npos);
}

// u grows, and so does x while u is empty; an immediate transition takes
// from both whenever it can (and gives u's token back): its priority may
// depend on them, so their growth is only a hint and does not stop the run;
// the limit on markings does.
TEST_P(GraphWatch, GrowthInAPlaceAnImmediateTransitionReadsIsAHint)
{
    RunLimits.unboundedPlaces = GrowthCheck::Stop;
    RunLimits.maxMarkings = 300;
    RunLimits.markingsSource = "of the test";
    TestNet net;
    Place* u = net.AddPlace("u");
    Place* x = net.AddPlace("x");
    net.Add("grow", {{{}, {{u, 1}}, Exp(1.0)}});
    net.Add("start", {{{}, {{x, 1}}, Exp(1.0)}});
    net.Add("take", {{{{u, 1}, {x, 1}}, {{u, 1}}, Imm(1.0)}});
    net.Finish();
    EXPECT_EQ(ClassifyPlaces()[0], PlaceGrowth::Watched);
    EXPECT_REPORT_EXIT(
        CreateRRG(), kLimitStatus,
        "place u grows without bound, perhaps: [^\n]*only a hint.*" +
            EscapedForRegex("description\t : number of markings exceeds the limit of 300\n"
                            "additional info1 : limit of the test\n"
                            "additional info2 : places u x grow\n"));
}

INSTANTIATE_TEST_SUITE_P(InterningThread, GraphWatch, testing::Bool());

// Capacities cap a place; inputs of immediate transitions and of a
// single-server transition choosing among bindings are watched.
TEST(PlaceGrowthKinds, FollowCapacitiesPriorityAndChoice)
{
    TestNet net;
    Place* capped = net.AddPlace("capped", 0, 5);
    Place* huge = net.AddPlace("huge", 0, 70000);
    Place* free = net.AddPlace("free");
    Place* urgent = net.AddPlace("urgent");
    Place* chosen = net.AddPlace("chosen");
    net.Add("t", {{{{free, 1}}, {{capped, 1}, {huge, 1}}, Exp(1.0)}});
    net.Add("i", {{{{urgent, 1}}, {{free, 1}}, Imm(1.0)}});
    net.Add("c", {{{{chosen, 1}}, {{free, 1}}, Exp(1.0)}, {{{chosen, 1}}, {}, Exp(1.0)}});
    net.Finish();
    const std::vector<PlaceGrowth> kinds = ClassifyPlaces();
    EXPECT_EQ(kinds,
              (std::vector<PlaceGrowth>{PlaceGrowth::Capped, PlaceGrowth::Free, PlaceGrowth::Free,
                                        PlaceGrowth::Watched, PlaceGrowth::Watched}));
}

}  // namespace
