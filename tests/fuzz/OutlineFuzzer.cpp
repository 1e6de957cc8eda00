// libFuzzer harness of what mosk-solve reads out of a description by itself:
// the words and the outline, the checks before a run, the added throughput
// measures, and the place and hint for error reports of every kind, with a
// simulated reader that stops halfway. Any text must give an answer; a
// crash, an out-of-bounds access or a hang is a finding.
#include <cstdint>
#include <string>

#include "frontend/DescriptionOutline.h"
#include "frontend/MeasureWarnings.h"
#include "frontend/SourceDiagnosis.h"
#include "frontend/SweepNameCheck.h"
#include "frontend/ThroughputOffer.h"

namespace {

// "\__ROOT__" + a full name of the outline, as the class check reports it.
std::string Reported(const std::string& fullName)
{
    return "\\__ROOT__" + fullName;
}

// One report of each kind per input, the line and the message chosen by the
// input's first bytes.
void Diagnose(const std::string& text, const DescriptionOutline& outline)
{
    const PrefixReader halfway = [&](std::string_view prefix) {
        return prefix.size() <= text.size() / 2;
    };
    auto byte = [&](std::size_t i) {
        return i < text.size() ? static_cast<unsigned char>(text[i]) : 0u;
    };
    const std::string first = outline.tokens.empty() ? "" : outline.tokens.front().text;
    std::string place, owner, transition;
    for (const OutlinePage& page : outline.pages) {
        if (!page.places.empty()) place = Reported(page.places.back().fullName);
        if (!page.measures.empty()) owner = Reported(page.measures.back().fullName);
        if (!page.transitions.empty()) transition = Reported(page.transitions.back().fullName);
    }
    const int lines = outline.tokens.empty() ? 1 : outline.tokens.back().readerLine + 1;
    const std::string line = std::to_string(1 + static_cast<int>(byte(0)) % lines);
    const char* const parser[] = {"can't get placeref, placename not found",
                                  "place exists",
                                  "definition already exists in this net",
                                  "transitionname already exists in this net ",
                                  "unallowed weight",
                                  "inarc place is not from this page"};
    const char* const check[] = {"can't get place",
                                 "arccolor != placetype",
                                 "capacity < initial marking",
                                 "collected empty tokenmultiset",
                                 "loop in functions",
                                 "initial marking != placetype"};
    DiagnoseReport("f", text, {line, "yyparse()", "parse error", "Transition", ""}, halfway);
    DiagnoseReport("f", text, {line, "yyparse()", parser[byte(1) % 6], "Transition", place},
                   nullptr);
    DiagnoseReport("f", text, {line, "yylex()", "wrong section order (Page)", "Page", first},
                   nullptr);
    DiagnoseReport("f", text, {"64", "SubInCells()", check[byte(2) % 6], place, owner}, nullptr);
    DiagnoseReport(
        "f", text,
        {"112", "SetTransNo()", "can't substitude transitionname in rating cell", transition, ""},
        nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const DescriptionOutline outline = OutlineDescription(text);
    const std::vector<ThroughputOffer> offers = ThroughputOffers(outline);
    const std::string added = WithOfferedMeasures(text, outline, offers);
    OutlineDescription(added);
    MeasureWarnings(outline, offers);
    SweepableTransitions(outline);
    Diagnose(text, outline);
    return 0;
}
