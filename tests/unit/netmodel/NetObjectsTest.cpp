#include <gtest/gtest.h>

#include <memory>

#include "FatalReport.h"
#include "Multisets.h"
#include "netmodel/Arc.h"
#include "netmodel/Binding.h"
#include "netmodel/ConstVal.h"
#include "netmodel/Definition.h"
#include "netmodel/Deterministic.h"
#include "netmodel/Exponential.h"
#include "netmodel/Page.h"
#include "netmodel/RatingCell.h"
#include "netmodel/Transition.h"

namespace {

// A list of one binding with the given delay and no arcs (only the delay
// type matters to the transition constructor).
PtrList<Binding>* OneBinding(const Delay& d)
{
    return new PtrList<Binding>(new Binding(Condition(true), 1.0, &d, nullptr, nullptr));
}

TEST(TransitionChecksDeathTest, InfiniteServerCannotBeDeterministic)
{
    ConstVal one(1);
    Deterministic d(&one);
    EXPECT_NET_EXIT(Transition("T1", InfiniteServer, Condition(true), OneBinding(d)),
                    ErrorBlock("Pendra/src/Transition", 41,
                               "Transition(Str&, ServerType, Condition, Bindings*)",
                               "servertype=infinite, delay=deterministic") +
                        "additional info1 : T1\n");
}

TEST(TransitionChecksDeathTest, EmptyBindingListFailsTheClassCheck)
{
    Transition t("T1", ExclusiveServer, Condition(true), new PtrList<Binding>());
    EXPECT_EQ(t.GetBindings(), nullptr);
    EXPECT_NET_FATAL(t.ClassChk(), "Pendra/src/Transition", 63, "ClassChk()",
                     "no binding in transition defined");
}

TEST(BindingChecksDeathTest, MissingPartsAreReportedInOrder)
{
    ConstVal one(1);
    Exponential e(&one);
    const char* file = "Pendra/src/Binding";
    EXPECT_NET_FATAL(Binding(Condition(true), 1.0, &e, nullptr, nullptr).ClassChk(), file, 102,
                     "ClassChk()", "no arcs in binding defined");
    PtrList<Arc> none;
    EXPECT_NET_FATAL(Binding(Condition(true), 1.0, nullptr, &none, nullptr).ClassChk(), file, 104,
                     "ClassChk()", "no delay in binding defined");
    EXPECT_NET_FATAL(Binding(Condition(true), 1.0, &e, &none, nullptr).ClassChk(), file, 109,
                     "ClassChk()", "empty inarc list in binding defined");
    EXPECT_NET_FATAL(Binding(Condition(true), 1.0, &e, nullptr, &none).ClassChk(), file, 117,
                     "ClassChk()", "empty outarc list in binding defined");
}

TEST(ArcChecksDeathTest, ArcsNeedAnInscriptionAndAPlace)
{
    Place place;
    ConstVal one(1);
    EXPECT_NET_FATAL(Arc(&place, nullptr).ClassChk(), "Pendra/src/Arc", 37, "ClassChk()",
                     "arc multiset is not defined");
    EXPECT_NET_FATAL(Arc(nullptr, &one).ClassChk(), "Pendra/src/Arc", 38, "ClassChk()",
                     "arc place is not defined");
    EXPECT_NET_FATAL(place.ClassChk(), "Pendra/src/Place", 72, "ClassChk()",
                     "no header defined in place");
}

TEST(Arcs, ConstantInscriptionsAreFolded)
{
    PlaceHeader header("p");
    Place place(&header, Capacity());
    auto tokens = Ms({{0, 2}});
    ConstVal inscription(tokens.get());
    Arc arc(&place, &inscription);
    arc.EvalCellVars();
    EXPECT_EQ(arc.GetTmsQuant(), 2);
    OwnedTms copy(arc.GetTms());
    EXPECT_EQ(Contents(copy.get()), (Counts{{0, 2}}));
}

TEST(DefinitionsDeathTest, NamesAreIdentifiers)
{
    EXPECT_NET_FATAL(Definition("a.b", nullptr), "Pendra/src/Textual", 89, "CheckIdt()",
                     "string does not match [\\a-zA-Z0-9_]*");
}

TEST(Pages, SubPagesAndParametersAreUnique)
{
    Page page("\\__ROOT__\\sub");
    page.AddSubPage(new Textual("a"));
    page.AddSubPage(new Textual("a"));
    page.AddSubPage(new Textual("b"));
    EXPECT_EQ(page.GetSubPages()->count, 2);
    EXPECT_TRUE(page.IsSubPage("b"));
    EXPECT_FALSE(page.IsSubPage("c"));

    ConstVal two(2);
    page.AddParam(Definition("rate", &two));
    page.AddParam(Definition("rate", &two));
    EXPECT_EQ(page.GetParams()->count, 1);
    ASSERT_NE(page.IsParam("rate"), nullptr);
    EXPECT_EQ(page.IsParam("rate")->GetVal()->CalculateFloat(), 2.0);
    EXPECT_EQ(page.IsParam("other"), nullptr);
    page.Clear();
}

}  // namespace
