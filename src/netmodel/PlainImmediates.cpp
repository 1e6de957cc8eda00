// Immediate firings on flat counts, see PlainImmediates.h.
#include "netmodel/PlainImmediates.h"

#include <algorithm>
#include <memory>

#include "netmodel/Arc.h"
#include "netmodel/Condition.h"
#include "netmodel/Delay.h"
#include "netmodel/NetArrays.h"
#include "netmodel/Place.h"
#include "netmodel/Transition.h"
#include "statedata/NetCounts.h"

bool PlainImmediates::Compile(std::size_t maxWords)
{
    usable = false;
    exclusivesUsable = false;
    exclusives.clear();
    guardWords.clear();
    needs.clear();
    placeWord.assign(no_of_places, 0);
    placeSlots.assign(no_of_places, 0);
    tokens.clear();
    arcs.clear();
    bindings.clear();
    transitions.clear();
    words = 0;
    immediateBindings = 0;
    if (!NoPlaceBounded()) return false;
    for (int i = 0; i < no_of_places; ++i) {
        Place& p = *PlaceArray[i];
        if (p.GetNo() != i) return false;
        const PTms* contents = p.GetActTms();
        // Slotless contents would keep a total that no slot explains.
        if (contents && contents->size <= 0) return false;
        placeWord[i] = static_cast<std::uint32_t>(words);
        placeSlots[i] = contents ? static_cast<std::uint16_t>(std::max<int>(contents->size, 0)) : 0;
        words += 1 + placeSlots[i];
        if (words > maxWords) return false;
    }
    for (unsigned short i = 0; i < no_of_imm_transitions; ++i) {
        Transition& t = *ImmTrans[i];
        Condition& global = t.GetGlobalCond();
        if (!global.IsConstant()) return false;
        TransitionCode code{static_cast<std::uint32_t>(bindings.size()), 0, Guard{nullptr, true, 0}};
        if (global.ActCondTrue() && t.GetBindings()) {
            for (PLElement<Binding>* e = t.GetBindings()->first; e; e = e->next) {
                Binding& b = *e->item;
                Condition& local = b.GetLocalCond();
                Delay* delay = b.GetDelay();
                if (!local.IsConstant() || (delay && delay->IsPlaceDependent())) return false;
                BindingCode bc{local.ActCondTrue(), Guard{nullptr, true, 0}, delay ? delay->CalculateFloat() : 0.0,
                               static_cast<std::uint32_t>(arcs.size()), 0, 0, 0};
                for (const PLElement<Arc>* a = b.GetInArcs() ? b.GetInArcs()->first : nullptr; a; a = a->next) {
                    if (!CompileArc(*a->item)) return false;
                    // An empty input inscription is never satisfied.
                    if (arcs.back().tokenCount == 0) bc.possible = false;
                }
                bc.inCount = static_cast<std::uint32_t>(arcs.size()) - bc.firstIn;
                bc.firstOut = static_cast<std::uint32_t>(arcs.size());
                for (const PLElement<Arc>* a = b.GetOutArcs() ? b.GetOutArcs()->first : nullptr; a; a = a->next)
                    if (!CompileArc(*a->item)) return false;
                bc.outCount = static_cast<std::uint32_t>(arcs.size()) - bc.firstOut;
                bindings.push_back(bc);
                ++code.count;
            }
        }
        CompileNeeds(code);
        transitions.push_back(code);
    }
    usable = true;
    immediateBindings = bindings.size();
    const std::size_t keptBindings = bindings.size(), keptArcs = arcs.size(), keptTokens = tokens.size(),
                      keptNeeds = needs.size();
    exclusivesUsable = CompileExclusives();
    if (!exclusivesUsable) {
        exclusives.clear();
        bindings.resize(keptBindings);
        arcs.resize(keptArcs);
        tokens.resize(keptTokens);
        needs.resize(keptNeeds);
    }
    return true;
}

// Only the inputs are compiled: without bounds, outputs never disable.
bool PlainImmediates::CompileExclusives()
{
    for (unsigned short i = 0; i < no_of_exc_transitions; ++i) {
        Transition& t = *ExcTrans[i];
        TransitionCode code{static_cast<std::uint32_t>(bindings.size()), 0, Guard{nullptr, false, 0}};
        if (!CompileGuard(t.GetGlobalCond(), code.guard)) return false;
        for (PLElement<Binding>* e = t.GetBindings() ? t.GetBindings()->first : nullptr; e; e = e->next) {
            Binding& b = *e->item;
            BindingCode bc{true, Guard{nullptr, false, 0}, b.GetWeight(), static_cast<std::uint32_t>(arcs.size()),
                           0, 0, 0};
            if (!CompileGuard(b.GetLocalCond(), bc.guard)) return false;
            for (const PLElement<Arc>* a = b.GetInArcs() ? b.GetInArcs()->first : nullptr; a; a = a->next) {
                if (!CompileArc(*a->item)) return false;
                if (arcs.back().tokenCount == 0) bc.possible = false;
            }
            bc.inCount = static_cast<std::uint32_t>(arcs.size()) - bc.firstIn;
            bc.firstOut = static_cast<std::uint32_t>(arcs.size());
            bindings.push_back(bc);
            ++code.count;
        }
        CompileNeeds(code);
        exclusives.push_back(code);
    }
    return true;
}

// Enabled's tests, word by word: an arc's total, and each of its tokens'
// slots (a token without a slot, or an arc of no tokens, is never there).
bool PlainImmediates::BindingNeeds(const BindingCode& b, std::vector<Need>& own) const
{
    own.clear();
    if (!b.possible) return false;
    auto need = [&own](std::uint32_t word, std::uint16_t least) {
        for (Need& n : own)
            if (n.word == word) {
                n.least = std::max(n.least, least);
                return;
            }
        own.push_back(Need{word, least});
    };
    for (std::uint32_t a = b.firstIn; a < b.firstIn + b.inCount; ++a) {
        const ArcCode& arc = arcs[a];
        if (arc.need == 0) return false;
        need(arc.total, arc.need);
        for (std::uint32_t k = arc.firstToken; k < arc.firstToken + arc.tokenCount; ++k) {
            if (tokens[k].quant == 0) continue;
            if (tokens[k].word < 0) return false;
            need(static_cast<std::uint32_t>(tokens[k].word), tokens[k].quant);
        }
    }
    return true;
}

// The words every binding that can be enabled needs, each at the least any
// of them needs it.
void PlainImmediates::CompileNeeds(TransitionCode& code)
{
    std::vector<Need> common, own;
    bool any = false;
    for (std::uint32_t k = code.first; k < code.first + code.count; ++k) {
        if (!BindingNeeds(bindings[k], own)) continue;
        if (!any) {
            common = own;
            any = true;
            continue;
        }
        std::vector<Need> kept;
        for (const Need& c : common)
            for (const Need& o : own)
                if (o.word == c.word) kept.push_back(Need{c.word, std::min(c.least, o.least)});
        common.swap(kept);
    }
    code.never = !any;
    code.firstNeed = static_cast<std::uint32_t>(needs.size());
    code.needCount = static_cast<std::uint32_t>(common.size());
    needs.insert(needs.end(), common.begin(), common.end());
}

bool PlainImmediates::CompileGuard(const Condition& c, Guard& g)
{
    if (c.IsConstant()) {
        g = Guard{nullptr, c.ActCondTrue(), 0};
        return true;
    }
    const NumericGuard* numeric = c.Numeric();
    if (!numeric) return false;
    g = Guard{numeric, false, static_cast<std::uint32_t>(guardWords.size())};
    // A count of a whole place is its total's word; a filtered count, or
    // one of a place without slots, is not in the flat form.
    return numeric->AllCounts([this](const Function& f) {
        const Tms* filter = f.GetConstTms();
        const PlaceHeader* header = f.GetConstPlaceHeader();
        if ((filter && filter->first) || !header) return false;
        const int place = header->GetNo();
        if (place < 0 || place >= no_of_places || PlaceArray[place]->GetPlaceHeader() != header ||
            placeSlots[place] == 0)
            return false;
        guardWords.push_back(placeWord[place]);
        return true;
    });
}

bool PlainImmediates::Holds(const Guard& g, const std::uint16_t* from) const
{
    if (!g.numeric) return g.holds;
    // The counts are read in the order AllCounts met them.
    const std::uint32_t* word = guardWords.data() + g.firstWord;
    return g.numeric->EvaluateWith([&word, from](const Function&) { return static_cast<int>(from[*word++]); }) !=
           0.0;
}

bool PlainImmediates::CompileArc(const Arc& arc)
{
    Place* p = arc.GetPlace();
    const Cell* cell = arc.GetTmsCell();
    if (!p || (cell && cell->IsPlaceDependent())) return false;
    const PTms* contents = p->GetActTms();
    if (!contents) return false;
    std::unique_ptr<CellVal> holder;
    const Tms* t = arc.Inscription(holder);
    const int place = p->GetNo();
    ArcCode code{placeWord[place], 0, static_cast<std::uint32_t>(tokens.size()), 0};
    if (t && t->first) {
        code.need = t->quant;
        for (const ltoken* e = t->first; e; e = e->next) {
            std::int32_t word = -1;
            for (int s = 0; s < placeSlots[place]; ++s)
                if (contents->entries[s].token == e->token) word = static_cast<std::int32_t>(placeWord[place] + 1 + s);
            tokens.push_back(Token{word, e->quant});
        }
        code.tokenCount = static_cast<std::uint32_t>(tokens.size()) - code.firstToken;
    }
    arcs.push_back(code);
    return true;
}

void PlainImmediates::Flatten(const Pms& pms, std::uint16_t* flat) const
{
    std::fill(flat, flat + words, 0);
    for (int k = 0; pms.places && k < pms.size; ++k) {
        const MTms& m = pms.places[k];
        if (m.place < 0 || m.place >= no_of_places || placeSlots[m.place] == 0) continue;
        std::uint16_t* w = flat + placeWord[m.place];
        w[0] = m.quant;
        for (int e = 0; e < m.kinds; ++e)
            if (m.entries[e].index >= 0 && m.entries[e].index < placeSlots[m.place])
                w[1 + m.entries[e].index] = m.entries[e].quant;
    }
}

void PlainImmediates::Unflatten(const std::uint16_t* flat, std::vector<MTms>& places,
                                std::vector<MTmsEntry>& entries) const
{
    for (int i = 0; i < no_of_places; ++i) {
        const std::uint16_t* w = flat + placeWord[i];
        if (placeSlots[i] == 0 || w[0] == 0) continue;
        short kinds = 0;
        for (int s = 0; s < placeSlots[i]; ++s)
            if (w[1 + s] != 0) {
                entries.push_back(MTmsEntry{static_cast<short>(s), w[1 + s]});
                ++kinds;
            }
        places.push_back(MTms{static_cast<short>(i), kinds, w[0], nullptr});
    }
}

// The test of the actual contents: every input inscription's total and
// each of its tokens within what the place holds.
bool PlainImmediates::Enabled(const BindingCode& b, const std::uint16_t* from) const
{
    if (!b.possible || !Holds(b.guard, from)) return false;
    for (std::uint32_t a = b.firstIn; a < b.firstIn + b.inCount; ++a) {
        const ArcCode& arc = arcs[a];
        if (arc.need == 0 || from[arc.total] < arc.need) return false;
        for (std::uint32_t k = arc.firstToken; k < arc.firstToken + arc.tokenCount; ++k) {
            const Token& t = tokens[k];
            if ((t.word < 0 ? 0 : from[t.word]) < t.quant) return false;
        }
    }
    return true;
}

double PlainImmediates::Fire(unsigned short i, std::size_t k, const std::uint16_t* from,
                             std::uint16_t* to) const
{
    const BindingCode& b = bindings[transitions[i].first + k];
    if (!Enabled(b, from)) return 0.0;
    std::copy(from, from + words, to);
    // Inputs first, then outputs, each arc's tokens in order: a slot gives
    // at most what it holds, and totals and slots wrap as 16-bit counts.
    for (std::uint32_t a = b.firstIn; a < b.firstIn + b.inCount; ++a) {
        const ArcCode& arc = arcs[a];
        for (std::uint32_t n = arc.firstToken; n < arc.firstToken + arc.tokenCount; ++n) {
            const Token& t = tokens[n];
            if (t.word < 0 || to[t.word] == 0) continue;
            const std::uint16_t taken = std::min(to[t.word], t.quant);
            to[t.word] = static_cast<std::uint16_t>(to[t.word] - taken);
            to[arc.total] = static_cast<std::uint16_t>(to[arc.total] - taken);
        }
    }
    for (std::uint32_t a = b.firstOut; a < b.firstOut + b.outCount; ++a) {
        const ArcCode& arc = arcs[a];
        for (std::uint32_t n = arc.firstToken; n < arc.firstToken + arc.tokenCount; ++n) {
            const Token& t = tokens[n];
            if (t.word < 0) continue;
            to[t.word] = static_cast<std::uint16_t>(to[t.word] + t.quant);
            to[arc.total] = static_cast<std::uint16_t>(to[arc.total] + t.quant);
        }
    }
    return b.weight;
}
