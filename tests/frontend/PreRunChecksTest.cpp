// What mosk-solve tells from a description before mosk runs: --set names it
// would not find, colour wildcards that match several colours, and TP[...]
// in nets with deterministic or general delays, with the measure that gives
// the throughput over all markings.
#include <gtest/gtest.h>

#include "frontend/MeasureWarnings.h"
#include "frontend/SweepNameCheck.h"
#include "frontend/ThroughputOffer.h"

namespace {

// A DSPN: a queue with deterministic service, an infinite-server delay
// station, a deterministic transition that another one can disable, and a
// sub-page whose transition reaches the queue through a port.
const char* const kNet =
    "Definition : \\arrival = 1.0 | \\service = 0.5 | \\load = #Queue\n"
    "Parameter : Page : \\\n"
    "ElementaryPlace : Queue ; 5 ; | Think ; ; 3'e | Up ; ; e | Down ; ;\n"
    "ProductPlace : Jobs ; ;\n"
    "Transition :\n"
    "Arrive [ out#Queue = e ; Exponential(arrival) ]\n"
    "Serve [ in#Queue = e ; Deterministic(service) ]\n"
    "Wake IS [ in#Think = 2'e , out#Jobs = job.A ; Exponential(2 * arrival) ]\n"
    "Fail [ in#Up = e , out#Down = e ; Deterministic(3) ]\n"
    "Stop [ in#Up = e , out#Down = e ; Exponential(load) ]\n"
    "Count ( #Queue > 1 ) [ in#Jobs = {job.A, 2'job.B} ; Uniform(1, 2) ]\n"
    "Sub [ subpage \\S ; assign Queue -> Q ]\n"
    "Evaluate :\n"
    "a = TP[ Arrive ] | s = TP[ Serve ] | w = TP[ Wake ] | f = TP[ Fail ] | t = TP[ Stop ]\n"
    "| c = TP[ Count ] | j = E[ #Jobs(job?) ] | a2 = TP[ Arrive ] * 2\n"
    "Parameter : Page : \\S\n"
    "ElementaryPlace : Q ; ; ProductPlace :\n"
    "Transition : Leave [ out#Q = e ; Exponential(1) ]\n"
    "Evaluate :\n"
    "Parameter : Page : \\T ElementaryPlace : ProductPlace : Transition : Evaluate : "
    "l = TP[ Leave ]\n";

std::string Expression(const std::vector<ThroughputOffer>& offers, const std::string& measure)
{
    for (const ThroughputOffer& offer : offers)
        if (offer.measure == measure) return offer.expression;
    return "no offer";
}

TEST(ThroughputOffer, TheRateTimesTheProbabilityOfBeingEnabledWhereThatIsTheThroughput)
{
    const DescriptionOutline outline = OutlineDescription(kNet);
    const std::vector<ThroughputOffer> offers = ThroughputOffers(outline);
    ASSERT_EQ(offers.size(), 8u);
    // The capacity of the output place limits the enabling.
    EXPECT_EQ(Expression(offers, "\\a"), "P[ #Queue + 1 <= 5 ] / arrival");
    // Nothing takes tokens from Queue but Serve: its periods are never cut.
    EXPECT_EQ(Expression(offers, "\\s"), "P[ #Queue >= 1 ] / service");
    // Infinite server: the enabling degree, whole part of #Think / 2.
    EXPECT_EQ(Expression(offers, "\\w"), "E[ #Think / 2 ] / ( 2 * arrival )");
    // Stop can take the token Fail waits on; Stop's delay reads the marking.
    EXPECT_EQ(Expression(offers, "\\f"), "");
    EXPECT_EQ(Expression(offers, "\\t"), "");
    // A guard makes a uniform delay's periods end early.
    EXPECT_EQ(Expression(offers, "\\c"), "");
    EXPECT_EQ(Expression(offers, "\\a2"), "P[ #Queue + 1 <= 5 ] / arrival");
    // TP[Leave] on the page \T names no transition there.
    EXPECT_EQ(Expression(offers, "\\T\\l"), "");
    // Through a port the capacity of the socket counts.
    const DescriptionOutline sub = OutlineDescription(
        std::string(kNet).replace(std::string(kNet).find("Evaluate :\nParameter : Page : \\T"), 10,
                                  "Evaluate : x = TP[ Leave ]"));
    EXPECT_EQ(Expression(ThroughputOffers(sub), "\\S\\x"), "P[ #Q + 1 <= 5 ] / 1");
    // Without deterministic or general delays TP[...] counts everything.
    EXPECT_TRUE(
        ThroughputOffers(OutlineDescription("Definition : Parameter : Page : \\ ElementaryPlace : "
                                            "P ; ; e ProductPlace : Transition : T [ in#P = e ; "
                                            "Exponential(1) ] Evaluate : t = TP[ T ]"))
            .empty());
}

TEST(ThroughputOffer, MeasuresAreAddedOnTheirLinesAndTakenOutOfTheResults)
{
    const std::string text = kNet;
    const DescriptionOutline outline = OutlineDescription(text);
    const std::vector<ThroughputOffer> offers = ThroughputOffers(outline);
    const std::string added = WithOfferedMeasures(text, outline, offers);
    EXPECT_EQ(std::count(added.begin(), added.end(), '\n'),
              std::count(text.begin(), text.end(), '\n'));
    EXPECT_NE(added.find("Evaluate : mosk_solve_tp1 = P[ #Queue + 1 <= 5 ] / arrival | "
                         "mosk_solve_tp2 = P[ #Queue >= 1 ] / service | mosk_solve_tp3 = "
                         "E[ #Think / 2 ] / ( 2 * arrival ) |\na = TP[ Arrive ]"),
              std::string::npos)
        << added;
    // TP[Arrive] twice: one added measure serves both.
    EXPECT_EQ(offers[0].addedName, "\\mosk_solve_tp1");
    EXPECT_EQ(offers[6].addedName, "\\mosk_solve_tp1");
    // The re-read description has the added measures as measures.
    EXPECT_EQ(OutlineDescription(added).pages[0].measures.size(), 11u);
    PassResults results = ParseResults(
        "\\mosk_solve_tp1 0.9\n\\mosk_solve_tp2 0.8\n\\mosk_solve_tp3 0.7\n\\a 0.5\n*#END#*\n");
    const std::vector<std::string> values = TakeOfferedValues(results, offers);
    EXPECT_EQ(values[0], "0.9");
    EXPECT_EQ(values[6], "0.9");
    EXPECT_EQ(values[3], "");
    ASSERT_EQ(results.measures.size(), 1u);
    EXPECT_EQ(results.measures[0].name, "\\a");
}

TEST(MeasureWarnings, WildcardsMatchingSeveralColoursAndThroughputs)
{
    const char* const colours =
        "Definition : Parameter : Page : \\\n"
        "ElementaryPlace :\n"
        "ProductPlace : Jobs ; 3 ; car.red | Other ; ;\n"
        "Transition :\n"
        "A [ out#Jobs = {job.B, job[2]A} ; Exponential(1) ] B [ in#Jobs = job? ; Exponential(1) ]\n"
        "C [ out#Other = @Jobs ; Exponential(1) ] D [ in#Other = job? ; Exponential(1) ]\n"
        "Evaluate : j = E[ #Jobs(job?) ] | k = P[ #Jobs(job[?]A) > 0 ] | r = E[ #Jobs(car?) ]\n"
        "| o = E[ @Other(job?) ]\n";
    const std::vector<std::string> warnings = MeasureWarnings(OutlineDescription(colours), {});
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_EQ(warnings[0],
              "warning: `job?` in measure `j` matches job.B, job[2]A but #Jobs(job?) counts only "
              "the first of them that Jobs can hold (job.B); to count them all, name each: "
              "#Jobs({job.B, job[2]A})");
    // Other gets its colours from Jobs: which comes first is not known here.
    EXPECT_NE(warnings[1].find("matches job.B, job[2]A but @Other(job?) counts only the first of "
                               "them that Other can hold; to count them all"),
              std::string::npos)
        << warnings[1];

    const DescriptionOutline net = OutlineDescription(kNet);
    const std::vector<std::string> all = MeasureWarnings(net, ThroughputOffers(net));
    ASSERT_EQ(all.size(), 8u);  // no colour but job.A reaches Jobs: j is fine
    EXPECT_EQ(all[0],
              "warning: TP[Arrive] in measure `a` counts firings only in markings where no "
              "deterministic or general transition is enabled; over all markings the throughput of "
              "Arrive is P[ #Queue + 1 <= 5 ] / arrival, whose value follows the results");
    EXPECT_NE(all[3].find("write the throughput of Fail as its rate times the probability that it "
                          "is enabled"),
              std::string::npos);
}

TEST(SweepNameCheck, TyposGetTheNearestSweepableTransition)
{
    const DescriptionOutline outline = OutlineDescription(kNet);
    const std::vector<std::string> sweepable = SweepableTransitions(outline);
    EXPECT_EQ(sweepable, std::vector<std::string>{"S/Leave"});
    EXPECT_EQ(UnknownNameError("S/Leave", sweepable, "x"), "");
    EXPECT_EQ(UnknownNameError("S/Laeve", sweepable, "a sweepable transition"),
              "S/Laeve is not a sweepable transition; did you mean `S/Leave`?");
    // Transitions written with names of their own from the root, on a sub-page.
    const std::string elsewhere = std::string(kNet) +
                                  "Parameter : Page : \\Sub\n"
                                  "ElementaryPlace : ProductPlace :\n"
                                  "Transition : \\Other\\Go [ ; Exponential(1) ] "
                                  "| \\Top [ ; Exponential(1) ] | \\ [ ; Exponential(1) ]\n"
                                  "Evaluate :\n";
    EXPECT_EQ(SweepableTransitions(OutlineDescription(elsewhere)),
              (std::vector<std::string>{"S/Leave", "Other/Go"}));
    EXPECT_EQ(UnknownNameError("Arrive", {}, "one"), "Arrive is not one: the description has none");
    EXPECT_EQ(UnknownNameError("zzz", {"a", "b", "c", "d", "e", "f"}, "one"),
              "zzz is not one (there are `a`, `b`, `c`, `d` or `e` and others)");
}

}  // namespace
