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
    timedUsable = false;
    exclusives.clear();
    infinites.clear();
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
        TransitionCode code{};
        if (!CompileConstantGuarded(*ImmTrans[i], code)) return false;
        CompileNeeds(code);
        transitions.push_back(code);
    }
    usable = true;
    immediateBindings = bindings.size();
    const std::size_t keptBindings = bindings.size(), keptArcs = arcs.size(), keptTokens = tokens.size(),
                      keptNeeds = needs.size();
    bool exclusivesTimed = false;
    exclusivesUsable = CompileExclusives(exclusivesTimed);
    if (!exclusivesUsable) {
        exclusives.clear();
        bindings.resize(keptBindings);
        arcs.resize(keptArcs);
        tokens.resize(keptTokens);
        needs.resize(keptNeeds);
        CompileEnabling();
        return true;
    }
    const std::size_t exclusiveBindings = bindings.size(), exclusiveArcs = arcs.size(),
                      exclusiveTokens = tokens.size();
    timedUsable = exclusivesTimed && CompileInfinites();
    if (!timedUsable) {
        infinites.clear();
        bindings.resize(exclusiveBindings);
        arcs.resize(exclusiveArcs);
        tokens.resize(exclusiveTokens);
    }
    CompileMoves();
    CompileEnabling();
    return true;
}

// Each input word tested once, at the most any arc or token of the binding
// needs there: an arc's total, and each of its tokens' slots.
void PlainImmediates::CompileEnabling()
{
    bindingNeeds.clear();
    std::vector<Need> own;
    for (BindingCode& b : bindings) {
        b.enableable = BindingNeeds(b, own);
        b.firstNeed = static_cast<std::uint32_t>(bindingNeeds.size());
        b.needCount = b.enableable ? static_cast<std::uint32_t>(own.size()) : 0;
        if (b.enableable) bindingNeeds.insert(bindingNeeds.end(), own.begin(), own.end());
    }
    for (const TransitionCode& t : transitions) CompileOwnNeeds(t);
    for (const TransitionCode& t : exclusives) CompileOwnNeeds(t);
}

// A binding's need of a word is covered where its transition needs that
// word as much: the transition needs the least any binding needs.
void PlainImmediates::CompileOwnNeeds(const TransitionCode& code)
{
    for (std::uint32_t k = code.first; k < code.first + code.count; ++k) {
        BindingCode& b = bindings[k];
        b.firstOwnNeed = static_cast<std::uint32_t>(bindingNeeds.size());
        for (std::uint32_t n = b.firstNeed; n < b.firstNeed + b.needCount; ++n) {
            const Need own = bindingNeeds[n];
            const bool covered = std::any_of(
                needs.begin() + code.firstNeed, needs.begin() + code.firstNeed + code.needCount,
                [&own](const Need& c) { return c.word == own.word && c.least >= own.least; });
            if (!covered) bindingNeeds.push_back(own);
        }
        b.ownNeedCount = static_cast<std::uint32_t>(bindingNeeds.size()) - b.firstOwnNeed;
    }
}

// A binding whose inputs read each word once, and only words there are,
// takes exactly what each names when it is enabled: its firing is then a
// sum of changes, one per word.
void PlainImmediates::CompileMoves()
{
    changes.clear();
    for (BindingCode& b : bindings) {
        std::vector<Change> own;
        std::vector<std::uint32_t> read;
        auto change = [&own](std::uint32_t word, int by) {
            for (Change& c : own)
                if (c.word == word) {
                    c.add = static_cast<std::uint16_t>(c.add + by);
                    return;
                }
            own.push_back(Change{word, static_cast<std::uint16_t>(by)});
        };
        bool direct = true;
        auto move = [&](std::uint32_t first, std::uint32_t count, bool input) {
            for (std::uint32_t a = first; a < first + count; ++a) {
                for (std::uint32_t n = arcs[a].firstToken;
                     n < arcs[a].firstToken + arcs[a].tokenCount; ++n) {
                    const Token& t = tokens[n];
                    if (t.quant == 0) continue;
                    if (t.word < 0) {
                        direct = direct && !input;
                        continue;
                    }
                    const int by = input ? -t.quant : t.quant;
                    change(static_cast<std::uint32_t>(t.word), by);
                    change(arcs[a].total, by);
                    if (input) read.push_back(static_cast<std::uint32_t>(t.word));
                }
                if (input) read.push_back(arcs[a].total);
            }
        };
        move(b.firstIn, b.inCount, true);
        move(b.firstOut, b.outCount, false);
        std::sort(read.begin(), read.end());
        b.direct = direct && std::adjacent_find(read.begin(), read.end()) == read.end();
        b.firstChange = static_cast<std::uint32_t>(changes.size());
        for (const Change& c : own)
            if (c.add != 0) changes.push_back(c);
        b.changeCount = static_cast<std::uint32_t>(changes.size()) - b.firstChange;
    }
}

// Without bounds, outputs never disable: they are compiled for the firing
// only, and `timed` tells whether it can be made on counts.
bool PlainImmediates::CompileExclusives(bool& timed)
{
    timed = true;
    for (unsigned short i = 0; i < no_of_exc_transitions; ++i) {
        Transition& t = *ExcTrans[i];
        TransitionCode code{static_cast<std::uint32_t>(bindings.size()), 0, Guard{nullptr, false, 0}};
        if (!CompileGuard(t.GetGlobalCond(), code.guard)) return false;
        for (PLElement<Binding>* e = t.GetBindings() ? t.GetBindings()->first : nullptr; e; e = e->next) {
            Binding& b = *e->item;
            BindingCode bc{true, Guard{nullptr, false, 0}};
            bc.weight = b.GetWeight();
            if (!CompileGuard(b.GetLocalCond(), bc.guard) || !CompileInputs(b, bc)) return false;
            if (!CompileOutputs(b, bc) || !CompileTimed(b, bc)) timed = false;
            bindings.push_back(bc);
            ++code.count;
        }
        CompileNeeds(code);
        exclusives.push_back(code);
    }
    return true;
}

// An empty input inscription is never satisfied: its binding is impossible.
bool PlainImmediates::CompileInputs(const Binding& b, BindingCode& code)
{
    code.firstIn = static_cast<std::uint32_t>(arcs.size());
    for (const PLElement<Arc>* a = b.GetInArcs() ? b.GetInArcs()->first : nullptr; a; a = a->next) {
        if (!CompileArc(*a->item)) return false;
        if (arcs.back().tokenCount == 0) code.possible = false;
    }
    code.inCount = static_cast<std::uint32_t>(arcs.size()) - code.firstIn;
    return true;
}

bool PlainImmediates::CompileOutputs(const Binding& b, BindingCode& code)
{
    code.firstOut = static_cast<std::uint32_t>(arcs.size());
    for (const PLElement<Arc>* a = b.GetOutArcs() ? b.GetOutArcs()->first : nullptr; a; a = a->next)
        if (!CompileArc(*a->item)) return false;
    code.outCount = static_cast<std::uint32_t>(arcs.size()) - code.firstOut;
    return true;
}

bool PlainImmediates::CompileConstantGuarded(Transition& t, TransitionCode& code)
{
    Condition& global = t.GetGlobalCond();
    if (!global.IsConstant()) return false;
    code = TransitionCode{static_cast<std::uint32_t>(bindings.size()), 0, Guard{nullptr, true, 0}};
    if (!global.ActCondTrue() || !t.GetBindings()) return true;
    for (PLElement<Binding>* e = t.GetBindings()->first; e; e = e->next) {
        Binding& b = *e->item;
        if (!b.GetLocalCond().IsConstant()) return false;
        BindingCode bc{b.GetLocalCond().ActCondTrue(), Guard{nullptr, true, 0}};
        if (!CompileInputs(b, bc) || !CompileOutputs(b, bc) || !CompileTimed(b, bc)) return false;
        bindings.push_back(bc);
        ++code.count;
    }
    return true;
}

bool PlainImmediates::CompileTimed(const Binding& b, BindingCode& code) const
{
    Delay* delay = b.GetDelay();
    if (delay && delay->IsPlaceDependent()) return false;
    code.binding = &b;
    code.value = delay ? delay->CalculateFloat() : 0.0;
    return true;
}

// As the immediate transitions are compiled; a binding's further firings
// are counted in closed form when each input place is read by one arc, each
// slot by one token, and no output fills them (then every further firing
// takes the same from the same counts).
bool PlainImmediates::CompileInfinites()
{
    for (unsigned short j = 0; j < no_of_inf_transitions; ++j) {
        TransitionCode code{};
        if (!CompileConstantGuarded(*InfTrans[j], code)) return false;
        for (std::uint32_t k = code.first; k < code.first + code.count; ++k) {
            BindingCode& bc = bindings[k];
            std::vector<std::uint32_t> read, filled;
            for (std::uint32_t a = bc.firstIn; a < bc.firstIn + bc.inCount; ++a) {
                read.push_back(arcs[a].total);
                for (std::uint32_t n = arcs[a].firstToken; n < arcs[a].firstToken + arcs[a].tokenCount; ++n)
                    read.push_back(static_cast<std::uint32_t>(tokens[n].word));
            }
            for (std::uint32_t a = bc.firstOut; a < bc.firstOut + bc.outCount; ++a)
                filled.push_back(arcs[a].total);
            std::sort(read.begin(), read.end());
            bc.countable = std::adjacent_find(read.begin(), read.end()) == read.end() &&
                           std::none_of(filled.begin(), filled.end(), [&read](std::uint32_t w) {
                               return std::binary_search(read.begin(), read.end(), w);
                           });
        }
        infinites.push_back(code);
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

bool PlainImmediates::HoldsNumeric(const Guard& g, const std::uint16_t* from) const
{
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
// each of its tokens within what the place holds, then the condition (the
// counts fail far more often, and cost less).
double PlainImmediates::Fire(unsigned short i, std::size_t k, const std::uint16_t* from,
                             std::uint16_t* to) const
{
    const BindingCode& b = bindings[transitions[i].first + k];
    if (!EnabledBeyondNeeds(b, from)) return 0.0;
    CopyAndMove(b, from, to);
    return b.value;
}

// A direct binding's changed words are written from `from`: read back from
// the copy just made, each would wait for the copy's wide stores.
void PlainImmediates::CopyAndMove(const BindingCode& b, const std::uint16_t* from, std::uint16_t* to) const
{
    std::copy(from, from + words, to);
    if (!b.direct) {
        Move(b, to);
        return;
    }
    for (std::uint32_t c = b.firstChange; c < b.firstChange + b.changeCount; ++c)
        to[changes[c].word] = static_cast<std::uint16_t>(from[changes[c].word] + changes[c].add);
}

// Inputs first, then outputs, each arc's tokens in order: a slot gives at
// most what it holds, and totals and slots wrap as 16-bit counts.
void PlainImmediates::Move(const BindingCode& b, std::uint16_t* to) const
{
    if (b.direct) {
        for (std::uint32_t c = b.firstChange; c < b.firstChange + b.changeCount; ++c)
            to[changes[c].word] = static_cast<std::uint16_t>(to[changes[c].word] + changes[c].add);
        return;
    }
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
}

PlainImmediates::TimedFiring PlainImmediates::FireExclusive(unsigned short i, short binding,
                                                            const std::uint16_t* from,
                                                            std::uint16_t* to) const
{
    const TransitionCode& t = exclusives[i];
    if (binding < 1 || static_cast<std::uint32_t>(binding) > t.count)
        return TimedFiring{nullptr, 0.0};
    const BindingCode& b = bindings[t.first + static_cast<std::uint32_t>(binding) - 1];
    CopyAndMove(b, from, to);
    return TimedFiring{b.binding, b.value};
}

PlainImmediates::TimedFiring PlainImmediates::FireInfinite(unsigned short j, std::size_t k,
                                                           const std::uint16_t* from,
                                                           std::uint16_t* to, int& degree) const
{
    const BindingCode& b = bindings[infinites[j].first + k];
    degree = 0;
    if (!Enabled(b, from)) return TimedFiring{b.binding, 0.0};
    CopyAndMove(b, from, to);
    if (b.value != 0.0) degree = 1 + FurtherFirings(b, to);
    return TimedFiring{b.binding, b.value};
}

int PlainImmediates::FurtherFirings(const BindingCode& b, const std::uint16_t* to) const
{
    constexpr int most = kMaxEnablingDegree - 1;
    if (!b.countable) {
        scratch.assign(to, to + words);
        int further = 0;
        while (further < most && Enabled(b, scratch.data())) {
            Move(b, scratch.data());
            ++further;
        }
        return further;
    }
    int further = most;
    for (std::uint32_t a = b.firstIn; a < b.firstIn + b.inCount; ++a) {
        const ArcCode& arc = arcs[a];
        further = std::min(further, to[arc.total] / static_cast<int>(arc.need));
        for (std::uint32_t n = arc.firstToken; n < arc.firstToken + arc.tokenCount; ++n)
            if (tokens[n].quant != 0)
                further = std::min(further, to[tokens[n].word] / static_cast<int>(tokens[n].quant));
    }
    return further;
}
