// Reading a description for sweeps: definitions and --set names, the values
// a setting asks for, which definitions passes over one graph can sweep,
// and how the grid's rows become runs.
#include <gtest/gtest.h>

#include "frontend/DescriptionEdit.h"
#include "frontend/SetNames.h"
#include "frontend/SweepPlan.h"

namespace {

const char* const kHierarchy =
    "Definition :\n"
    "/* the server is on a sub page */\n"
    "\\arrival = 1.0\n"
    "| \\service = 0.4\n"
    "| \\open = (#Queue < 2 | #Queue > 3)\n"
    "Parameter : Page : \\\n"
    "ElementaryPlace : Queue ; 4 ;\n"
    "ProductPlace :\n"
    "Transition :\n"
    "Arrive [ out#Queue = e ; Exponential(arrival) ]\n"
    "Server [ subpage \\Srv ; assign Queue -> Waiting ]\n"
    "Evaluate :\n"
    "idle = P[ #Queue = 0 ]\n"
    "Parameter :\n"
    "\\Srv\\meanservice = service\n"
    "Page : \\Srv\n"
    "ElementaryPlace : Waiting ; ;\n"
    "ProductPlace :\n"
    "Transition :\n"
    "Serve [ in#Waiting = e ; Exponential(meanservice) ]\n"
    "Evaluate :\n"
    "busy = P[ #Waiting > 0 ]\n";

std::string Replaced(std::string text, const std::string& old, const std::string& now)
{
    const std::size_t at = text.find(old);
    EXPECT_NE(at, std::string::npos) << old;
    if (at != std::string::npos) text.replace(at, old.size(), now);
    return text;
}

SweepSetting Setting(const std::string& text)
{
    SweepSetting setting;
    std::string error;
    EXPECT_TRUE(ParseSweepSetting(text, setting, error)) << error;
    return setting;
}

// Whether a sweep of `name` in `description` runs as passes of one run.
bool SweptInPasses(const std::string& description, const std::string& name)
{
    SweepPlan plan;
    std::string error;
    EXPECT_TRUE(PlanSweep(description, "m.table", {Setting(name + "=1,2")}, plan, error)) << error;
    return plan.runs.size() == 1;
}

TEST(SetNames, DefinitionsAreFoundWithOrWithoutTheirBackslash)
{
    const std::vector<DefinitionEntry> definitions =
        ReadDefinitions(TokenizeDescription(kHierarchy));
    ASSERT_EQ(SettableNames(definitions), (std::vector<std::string>{"arrival", "service", "open"}));
    const auto service = FindSetName(definitions, "\\service");
    ASSERT_TRUE(service);
    EXPECT_EQ(service->line, 4);  // the comment's line counts
    EXPECT_EQ(std::string(kHierarchy)
                  .substr(service->valueBegin, service->valueEnd - service->valueBegin),
              "0.4");
    // The bar inside the parentheses is part of the value.
    EXPECT_EQ(
        FindSetName(definitions, "open")->valueLast - FindSetName(definitions, "open")->valueFirst,
        11u);
    EXPECT_FALSE(FindSetName(definitions, "Service"));
    EXPECT_FALSE(FindSetName(definitions, "meanservice"));
}

TEST(SweepSetting, ListsRangesAndRefusals)
{
    const SweepSetting setting = Setting("\\lam=0.5,1:2:3,1e1");
    EXPECT_EQ(setting.Label(), "\\lam");
    std::vector<std::string> texts;
    for (const SweepValue& value : setting.values) texts.push_back(value.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"0.5", "1", "1.5", "2", "1e1"}));
    EXPECT_EQ(Setting("K=2:-2:5").values[4].number, -2.0);
    EXPECT_EQ(Setting("x=0.1:0.3:3").values[2].text, "0.3");  // the end is exact
    EXPECT_EQ(Setting("x=0.1:0.9:6").values[3].text, "0.58");   // not 0.5800000000000001
    EXPECT_EQ(Setting("x=0.1:0.9:6").values[3].number, 0.58);
    EXPECT_EQ(Setting("A\\B/T=2").Label(), "A\\B/T");
    for (const char* wrong : {"x", "x=", "x=1,,2", "x=a", "x=1:2", "x=1:2:0", "x=1:2:3:4", "1x=2",
                              "x y=1", "A/T=0", "A/T=-1", "\\A/T=1", "A/=1"}) {
        SweepSetting refused;
        std::string error;
        EXPECT_FALSE(ParseSweepSetting(wrong, refused, error)) << wrong;
        EXPECT_NE(error.find("--set"), std::string::npos) << wrong;
    }
}

TEST(SweepSetting, SettingsSpanAGridFirstSlowest)
{
    const std::vector<SweepSetting> settings = {Setting("a=1,2"), Setting("b=1,2,3")};
    std::size_t rows = 0;
    std::string error;
    ASSERT_TRUE(CountSweepRows(settings, rows, error));
    EXPECT_EQ(rows, 6u);
    EXPECT_EQ(GridPosition(settings, 4), (std::vector<std::size_t>{1, 1}));
    EXPECT_FALSE(CountSweepRows({Setting("a=1"), Setting("a=2")}, rows, error));
    EXPECT_FALSE(CountSweepRows({Setting("a=1:2:1000"), Setting("b=1:2:1000")}, rows, error));
}

TEST(RateOnlyUse, OnlyWholeExponentialDelaysOnSubPagesGoIntoPasses)
{
    EXPECT_TRUE(SweptInPasses(kHierarchy, "service"));
    // On the root page a delays file cannot name the transition.
    EXPECT_FALSE(SweptInPasses(kHierarchy, "arrival"));
    // The value also enters a measure, or another expression, or a capacity.
    EXPECT_FALSE(SweptInPasses(
        Replaced(kHierarchy, "busy = P[ #Waiting > 0 ]", "busy = P[ #Waiting > 0 ] / meanservice"),
        "service"));
    EXPECT_FALSE(SweptInPasses(
        Replaced(kHierarchy, "Exponential(meanservice)", "Exponential(2 * meanservice)"),
        "service"));
    EXPECT_FALSE(
        SweptInPasses(Replaced(kHierarchy, "\\service = 0.4", "\\service = 2 * 0.2"), "service"));
    // An infinite server, a second binding, or any non-exponential timing.
    EXPECT_FALSE(SweptInPasses(Replaced(kHierarchy, "Serve [", "Serve IS ["), "service"));
    EXPECT_FALSE(SweptInPasses(Replaced(kHierarchy, "Exponential(meanservice) ]",
                                        "Exponential(meanservice) | in#Waiting = 2'e ; "
                                        "Exponential(meanservice) ]"),
                               "service"));
    EXPECT_FALSE(
        SweptInPasses(Replaced(kHierarchy, "Exponential(arrival)", "Immediate"), "service"));
    EXPECT_FALSE(SweptInPasses(
        Replaced(kHierarchy, "Exponential(arrival)", "Deterministic(arrival)"), "service"));
    // The absolute name of the definition works as well as the parameter.
    EXPECT_TRUE(SweptInPasses(
        Replaced(kHierarchy, "Exponential(meanservice)", "Exponential(\\service)"), "service"));
    // A parameter of another page with the same name is not this page's.
    EXPECT_FALSE(SweptInPasses(Replaced(kHierarchy, "\\Srv\\meanservice", "\\Other\\meanservice"),
                               "service"));
}

TEST(SweepPlan, RowsOfOneGraphSharePassesAndTheRestRunAlone)
{
    SweepPlan plan;
    std::string error;
    ASSERT_TRUE(PlanSweep(kHierarchy, "m.table",
                          {Setting("arrival=1,2"), Setting("service=0.25,0.5,1")}, plan, error))
        << error;
    ASSERT_EQ(plan.rows, 6u);
    ASSERT_EQ(plan.runs.size(), 2u);
    EXPECT_EQ(plan.runs[1].rows, (std::vector<std::size_t>{3, 4, 5}));
    ASSERT_EQ(plan.runs[1].passes.size(), 3u);
    EXPECT_EQ(DelaysFileText(plan.runs[1].passes[2]), "1\nSrv 1\nServe 0 1\n*#END#*\n");
    EXPECT_NE(plan.runs[1].description.find("\\arrival = 2\n"), std::string::npos);
    EXPECT_NE(plan.runs[1].description.find("\\service = 0.4\n"), std::string::npos);

    EXPECT_FALSE(PlanSweep(kHierarchy, "m.table", {Setting("arival=1")}, plan, error));
    EXPECT_NE(error.find("defines: arrival, service, open"), std::string::npos) << error;
    EXPECT_FALSE(PlanSweep(kHierarchy, "m.table", {Setting("service=1"), Setting("Srv/Serve=2")},
                           plan, error));
    EXPECT_FALSE(PlanSweep(kHierarchy, "m.table", {Setting("arrival=1"), Setting("\\arrival=2")},
                           plan, error));
    EXPECT_NE(error.find("name the same definition"), std::string::npos) << error;
    // A value that is no delay is left for mosk to judge, in a run of its own.
    ASSERT_TRUE(PlanSweep(kHierarchy, "m.table", {Setting("service=1,-1")}, plan, error));
    EXPECT_EQ(plan.runs.size(), 2u);
}

// Every cut of a description, and one with stray characters, is planned
// without reading past its end (the sanitizer build checks the reads).
TEST(SweepPlan, TruncatedDescriptionsArePlannedOrRefusedCleanly)
{
    const std::string full = std::string(kHierarchy) + "\xff trailing";
    const std::string odd =
        Replaced(Replaced(kHierarchy, "= 1.0", "= (1.0 | ]"), "Page : \\Srv", "Page : \\Srv\\");
    for (const std::string& text : {full, odd})
        for (std::size_t cut = 0; cut <= text.size(); ++cut) {
            SweepPlan plan;
            std::string error;
            if (PlanSweep(text.substr(0, cut), "m.table", {Setting("service=1,2")}, plan, error))
                EXPECT_FALSE(plan.runs.empty());
            else
                EXPECT_FALSE(error.empty());
        }
}

TEST(DescriptionEdit, NumbersAreWrittenSoTheReaderTakesThem)
{
    EXPECT_EQ(DescriptionNumber(0.5), "0.5");
    EXPECT_EQ(DescriptionNumber(3), "3");
    EXPECT_EQ(DescriptionNumber(-0.25), "-0.25");
    EXPECT_EQ(DescriptionNumber(1e-7), "1e-07");
    EXPECT_EQ(DescriptionNumber(0.0), "0");
    EXPECT_EQ(DescriptionNumber(0.1 + 0.2), "0.30000000000000004");
}

}  // namespace
