// Reading a description into words and an outline, and pointing an error
// report at its place with a hint. The reader's answers about cut
// descriptions are simulated here; the end-to-end tests ask the real one.
#include <gtest/gtest.h>

#include "frontend/DescriptionOutline.h"
#include "frontend/NearestNames.h"
#include "frontend/SourceDiagnosis.h"
#include "frontend/SourceExcerpt.h"

namespace {

const char* const kQueue =
    "Definition :\n"
    "/* rates\n of the queue */\n"
    "\\arrival = 1.0\n"
    "| \\service = abc\n"
    "| \\busy = ( #P > 0 )\n"
    "Parameter : Page : \\\n"
    "ElementaryPlace : P ; 5 ;\n"
    "ProductPlace : Jobs ; ; 2'job.A\n"
    "Transition :\n"
    "Arrive [ out#P = e ; Exponentail(arrival) ]\n"
    "Serve [ in#P = e ; Exponential(service) ]\n"
    "Evaluate :\n"
    "p0 = P[ #P = 0 ] | tp = TP[ Arive ]\n";

ErrorReport Report(const std::string& function, const std::string& line,
                   const std::string& description, const std::string& info1 = "",
                   const std::string& info2 = "")
{
    return {line, function, description, info1, info2};
}

// A reader that stops at the first occurrence of `word`.
PrefixReader StopsAt(const std::string& word)
{
    return [word](std::string_view prefix) { return prefix.find(word) == std::string_view::npos; };
}

TEST(DescriptionTokens, KeywordsAndReaderLines)
{
    const std::vector<DescriptionToken> tokens =
        TokenizeDescription("Definition :\n/* two\nlines */ \\a = 1 | e1 e in#P TP[ ` \n x");
    std::vector<std::string> keywords;
    for (const DescriptionToken& token : tokens)
        if (IsKeyword(token)) keywords.push_back(token.text);
    EXPECT_EQ(keywords, (std::vector<std::string>{"Definition", "e", "in#", "TP["}));
    EXPECT_TRUE(IsPlainName(tokens[6]));  // e1
    EXPECT_EQ(tokens[11].text, "`");      // refused by the reader, so a word of its own
    // The line end inside the comment counts for the editor, not the reader.
    EXPECT_EQ(tokens[2].line, 3);
    EXPECT_EQ(tokens[2].readerLine, 2);
    EXPECT_EQ(tokens.back().readerLine, 3);
}

TEST(DescriptionOutline, PagesEntriesTransitionsAndColours)
{
    const DescriptionOutline outline = OutlineDescription(
        "Definition : \\rate = 2 | \\full = ( #Q = 3 )\n"
        "Parameter : Page : \\\n"
        "ElementaryPlace : Q ; ( #Q < 4 ) ; 2'e | R ; ;\n"
        "ProductPlace : J ; 3 ; {job.A, car[2]red}\n"
        "Transition :\n"
        "T IS ( #Q > 0 ) [ in#Q = e , out#R = e ; 2 ; Exponential(rate) | out#J = job? ; "
        "Deterministic(1) ]\n"
        "S [ subpage \\Sub ; assign Q -> W , R -> X ]\n"
        "Evaluate : m = P[ #J(job[?]A) > 0 ]\n"
        "Parameter : \\Sub\\k = rate Page : \\Sub\n"
        "ElementaryPlace : W ; ; ProductPlace : Transition : U [ in#W = e ; Immediate ] "
        "Evaluate :");
    ASSERT_EQ(outline.definitions.size(), 2u);
    EXPECT_EQ(outline.definitions[1].fullName, "\\full");
    EXPECT_EQ(outline.Text(outline.definitions[1].value), "( # Q = 3 )");
    ASSERT_EQ(outline.pages.size(), 2u);
    const OutlinePage& root = outline.pages[0];
    ASSERT_EQ(root.places.size(), 3u);
    EXPECT_EQ(outline.Text(root.places[0].capacity), "( # Q < 4 )");
    EXPECT_TRUE(root.places[2].product);
    ASSERT_EQ(root.transitions.size(), 2u);
    const OutlineTransition& t = root.transitions[0];
    EXPECT_TRUE(t.infiniteServer);
    EXPECT_EQ(outline.Text(t.guard), "# Q > 0");
    ASSERT_EQ(t.bindings.size(), 2u);
    EXPECT_EQ(t.bindings[0].arcs.size(), 2u);
    EXPECT_EQ(outline.Text(t.bindings[0].weight), "2");
    EXPECT_EQ(t.bindings[0].delay, "Exponential");
    EXPECT_EQ(outline.Text(t.bindings[0].delayArguments), "rate");
    EXPECT_EQ(t.bindings[1].delay, "Deterministic");
    EXPECT_EQ(root.transitions[1].subPage, "\\Sub");
    EXPECT_EQ(root.transitions[1].ports.size(), 2u);
    EXPECT_TRUE(outline.HasDeterministicOrGeneralDelays());
    const OutlinePage& sub = outline.pages[1];
    EXPECT_EQ(sub.parameters.size(), 1u);
    EXPECT_TRUE(outline.IsPlaceOf(sub, "X"));  // a port
    EXPECT_FALSE(outline.IsPlaceOf(sub, "Q"));
    EXPECT_EQ(outline.Resolve(sub, "k"), &sub.parameters[0]);
    EXPECT_EQ(outline.Resolve(root, "rate"), &outline.definitions[0]);
    EXPECT_EQ(outline.Resolve(sub, "rate"), nullptr);
    std::vector<std::string> colours;
    for (const ColourReference& c : outline.Colours({0, outline.tokens.size()}))
        colours.push_back(c.Text() + (c.IsWildcard() ? "*" : ""));
    EXPECT_EQ(colours, (std::vector<std::string>{"job.A", "car[2]red", "job?*", "job[?]A*"}));
}

TEST(DescriptionOutline, AnyTextGivesAnOutline)
{
    for (const char* text : {"", "|||", "Transition : T [ ( ( [", "Page : Evaluate : = = |",
                             "Definition : \\x = ( ( ( | Parameter : Page",
                             "ElementaryPlace : ; ; ; | Transition : T ( ] ] ["})
        EXPECT_NO_THROW(OutlineDescription(text)) << text;
}

TEST(SourceExcerpt, CaretUnderTheWordWithTabsUtf8AndLongLines)
{
    const std::string text =
        "first\n\tT\xc3\xa4 [ x ]\n" + std::string(300, 'a') + " bad " + std::string(300, 'b');
    const SourceLines lines(text);
    EXPECT_EQ(Excerpt(lines, text.find("[ x"), 1), " 2 |  T\xc3\xa4 [ x ]\n   |     ^\n");
    const std::string shown = Excerpt(lines, text.find("bad"), 3);
    const std::string first = shown.substr(0, shown.find('\n'));
    const std::string second = shown.substr(first.size() + 1);
    EXPECT_EQ(first.substr(0, 8), " 3 | ...");
    EXPECT_EQ(first.substr(first.size() - 3), "...");
    EXPECT_LT(first.size(), 140u);
    EXPECT_EQ(second.find("^~~\n"), first.find("bad"));
}

TEST(NearestNames, EditsSwapsAndThreshold)
{
    EXPECT_EQ(EditDistance("Exponentail", "Exponential"), 1u);
    EXPECT_EQ(EditDistance("servce", "service"), 1u);
    EXPECT_EQ(NearestNames("servce", {"arrival", "service", "serve", "servce"}),
              (std::vector<std::string>{"service", "serve"}));
    EXPECT_TRUE(NearestNames("xyz", {"arrival"}).empty());
    EXPECT_EQ(QuotedChoice({"a", "b", "c"}), "`a`, `b` or `c`");
}

TEST(SourceDiagnosis, ParseErrorsAreMarkedWhereTheReaderStopsWithAHint)
{
    const std::string shown = DiagnoseReport(
        "q.table", kQueue, Report("yyparse()", "10", "parse error"), StopsAt("Exponentail"));
    EXPECT_EQ(shown,
              "q.table:11:22: parse error\n"
              " 11 | Arrive [ out#P = e ; Exponentail(arrival) ]\n"
              "    |                      ^~~~~~~~~~~\n"
              "  hint: `Exponentail` is not a keyword; did you mean `Exponential`?\n");
    // A definition whose value is text shows where it is defined.
    const std::string text = DiagnoseReport(
        "q.table", kQueue, Report("yyparse()", "11", "parse error"), StopsAt("(service"));
    EXPECT_NE(text.find("hint: `service` is not a number: it is defined as `abc`, which names no "
                        "definition\nq.table:5:3: note: `service` is defined here\n 5 | | "
                        "\\service = abc\n"),
              std::string::npos)
        << text;
}

TEST(SourceDiagnosis, WithoutTheReaderTheFirstSuspiciousWordIsMarked)
{
    const std::string shown =
        DiagnoseReport("q.table", kQueue, Report("yyparse()", "10", "parse error"), nullptr);
    EXPECT_NE(shown.find("q.table:11:22: parse error"), std::string::npos) << shown;
    // Nothing suspicious on the line: the line is shown without a caret.
    const std::string plain =
        DiagnoseReport("q.table", kQueue, Report("yyparse()", "7", "parse error"), nullptr);
    EXPECT_EQ(plain, "q.table:8: parse error\n 8 | ElementaryPlace : P ; 5 ;\n");
}

TEST(SourceDiagnosis, NamedObjectsAreFoundInTheirOwners)
{
    const std::string shown = DiagnoseReport(
        "q.table", kQueue,
        Report("SetTransNo()", "112", "can't substitude transitionname in rating cell",
               "\\__ROOT__\\Arive", ""),
        nullptr);
    EXPECT_EQ(shown,
              "q.table:14:29: can't substitude transitionname in rating cell\n"
              " 14 | p0 = P[ #P = 0 ] | tp = TP[ Arive ]\n"
              "    |                             ^~~~~\n"
              "  hint: `Arive` is not a transition of page `\\`; did you mean `Arrive`?\n");
    EXPECT_NE(DiagnoseReport("q.table", kQueue,
                             Report("ColorChk()", "203", "arccolor != placetype", "\\__ROOT__\\P",
                                    "\\__ROOT__\\Arrive"),
                             nullptr)
                  .find("q.table:11:18:"),
              std::string::npos);
    // A report without a place in the description adds nothing.
    EXPECT_EQ(DiagnoseReport("q.table", kQueue, Report("CalculateFloat()", "61", "zero"), nullptr),
              "");
    EXPECT_EQ(DiagnoseReport("q.table", kQueue, Report("yyparse()", "99", "parse error"), nullptr),
              "q.table:14:36: parse error (at the end of the description)\n"
              " 14 | p0 = P[ #P = 0 ] | tp = TP[ Arive ]\n"
              "    |                                    ^\n"
              "  hint: the description ends before it is complete: every page needs the sections "
              "ElementaryPlace, ProductPlace, Transition and Evaluate, and every `[` its `]`\n");
}

}  // namespace
