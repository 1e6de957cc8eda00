// The immediate transitions as arithmetic on counts, for nets where that is
// all their firing does: no condition that reads a marking, inscriptions
// and weights that are constants, no place with a bound. A marking is then a
// flat array of 16-bit words, per place its total and one word per colour
// slot, and testing and firing an immediate binding touches only the words
// of its arcs' places, without loading the marking into the places. The
// arithmetic is that of the place contents to the bit (totals and slots wrap
// as they do there, an input arc takes at most what a slot holds), so the
// vectors read back are those the places would give. Where every guard of
// the exclusive transitions is a constant or a numeric guard over whole
// places' counts, and their input inscriptions are constants, their
// enabling is tested on the same flat arrays; where, besides, the delays of
// the exclusive and infinite-server transitions read no marking and the
// latter have constant conditions, their firings are made there too, so
// that an explored marking is never loaded into the places.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "statedata/Multiset.h"

class Arc;
class Binding;
class Condition;
class NumericGuard;
class Transition;

class PlainImmediates {
public:
    // Compiles the immediate transitions of the net; false (and nothing
    // usable) when one of them, or a place, is outside what counts can say,
    // or the flat array would exceed `maxWords`.
    bool Compile(std::size_t maxWords);
    bool Usable() const { return usable; }
    std::size_t Words() const { return words; }
    // The colour slots of each place in the flat form, which holds place by
    // place a word for its total and one for each slot, and the word of each
    // place's total.
    const std::vector<std::uint16_t>& PlaceSlots() const { return placeSlots; }
    std::uint32_t PlaceWord(int place) const { return placeWord[static_cast<std::size_t>(place)]; }

    // The flat form of a vector, written to `flat` (Words() entries).
    void Flatten(const Pms& pms, std::uint16_t* flat) const;
    // The vector of a flat form, its places and entries appended to the
    // arrays; the places' entry pointers are left for the caller to set.
    void Unflatten(const std::uint16_t* flat, std::vector<MTms>& places,
                   std::vector<MTmsEntry>& entries) const;

    // Bindings of immediate transition i (class index); none when the
    // transition's condition is false.
    std::size_t Bindings(unsigned short i) const { return transitions[i].count; }
    // The bindings of all immediate transitions together.
    std::size_t ImmediateBindings() const { return immediateBindings; }
    // False only where no binding of immediate transition i can fire on
    // `from`: a few counts that every binding needs, tested before its
    // bindings are.
    bool ImmediateMayFire(unsigned short i, const std::uint16_t* from) const
    {
        return HasNeeds(transitions[i], from);
    }
    // Fires binding k of immediate transition i on `from`, where
    // ImmediateMayFire(i, from) holds: its weight, and the successor in
    // `to`, or 0 when the binding is not enabled.
    double Fire(unsigned short i, std::size_t k, const std::uint16_t* from,
                std::uint16_t* to) const;

    // Whether the exclusive transitions' enabling can be tested on counts.
    bool ExclusivesUsable() const { return exclusivesUsable; }
    // Exclusive transition i (class index): whether its own condition holds
    // on `from`, and whether its binding k (0-based, in list order) is
    // enabled on `from` (its condition and inputs; no place has a bound).
    bool ExclusiveHolds(unsigned short i, const std::uint16_t* from) const
    {
        return Holds(exclusives[i].guard, from);
    }
    bool ExclusiveEnabled(unsigned short i, std::size_t k, const std::uint16_t* from) const
    {
        return Enabled(bindings[exclusives[i].first + k], from);
    }
    // Whether exclusive transition i and its binding number `binding`
    // (1-based, as an ata holds it) are enabled on `from`.
    bool ExclusiveActive(unsigned short i, short binding, const std::uint16_t* from) const
    {
        return binding >= 1 && static_cast<std::uint32_t>(binding) <= exclusives[i].count &&
               ExclusiveHolds(i, from) && ExclusiveEnabled(i, static_cast<std::size_t>(binding - 1), from);
    }
    // False only where no binding of exclusive transition i is enabled on
    // `from`, whatever the conditions say.
    bool ExclusiveMayBeEnabled(unsigned short i, const std::uint16_t* from) const
    {
        return HasNeeds(exclusives[i], from);
    }
    // Hands each enabled binding of exclusive transition i on `from` to
    // take(binding, weight), the binding 1-based as an ata holds it, in
    // list order; none where its own condition fails. Activation walks
    // these for every marking explored, so the walk is inline.
    template <class Take>
    void ExclusiveEnabledBindings(unsigned short i, const std::uint16_t* from, Take take) const
    {
        if (!ExclusiveMayBeEnabled(i, from) || !ExclusiveHolds(i, from)) return;
        const TransitionCode& t = exclusives[i];
        const BindingCode* b = bindings.data() + t.first;
        for (std::uint32_t k = 0; k < t.count; ++k)
            if (EnabledBeyondNeeds(b[k], from)) take(static_cast<short>(k + 1), b[k].weight);
    }

    // Whether the timed firings below can be made (ExclusivesUsable too).
    bool TimedUsable() const { return timedUsable; }
    // A timed firing: the binding fired (null: none) and its delay's number.
    struct TimedFiring {
        const Binding* binding;
        double value;
    };
    // Fires binding number `binding` (1-based, as an ata holds it) of
    // exclusive transition i, active and so enabled, on `from` into `to`;
    // a null binding, and `to` untouched, when the transition has no such
    // binding.
    TimedFiring FireExclusive(unsigned short i, short binding, const std::uint16_t* from,
                              std::uint16_t* to) const;
    // The bindings of infinite-server transition j (class index); none
    // when its condition is false.
    std::size_t InfiniteBindings(unsigned short j) const { return infinites[j].count; }
    // Fires binding k of infinite-server transition j on `from` into `to`
    // when it is enabled there (value 0 otherwise, `to` then undefined), and
    // sets `degree` to the number of firings it serves at once: that one
    // and every further one `to` allows, at most 65535 in all.
    TimedFiring FireInfinite(unsigned short j, std::size_t k, const std::uint16_t* from,
                             std::uint16_t* to, int& degree) const;

private:
    struct Token {
        std::int32_t word;  // its slot's word; -1 when the place has no slot for it
        std::uint16_t quant;
    };
    struct ArcCode {
        std::uint32_t total;  // the word of the place's total
        std::uint16_t need;   // the inscription's total
        std::uint32_t firstToken;
        std::uint32_t tokenCount;  // 0: an empty inscription
    };
    // A condition: a constant, or a numeric guard read on counts.
    struct Guard {
        const NumericGuard* numeric;  // null: `holds` is the constant
        bool holds;
        std::uint32_t firstWord;  // the words of its counts, in `guardWords`
    };
    struct BindingCode {
        bool possible;  // no empty input inscription
        Guard guard;
        std::uint32_t firstIn = 0, inCount = 0, firstOut = 0, outCount = 0;  // in `arcs`
        // The binding and its delay's number (an immediate one's weight),
        // where they are compiled.
        const Binding* binding = nullptr;
        double value = 0.0;
        // An exclusive binding's weight among the enabled ones.
        double weight = 0.0;
        // Infinite servers: whether the further firings can be counted in
        // closed form (no input slot read twice, none that an output fills).
        bool countable = false;
        // Enabled, it fires as the changes in `changes` (CompileMoves).
        bool direct = false;
        std::uint32_t firstChange = 0, changeCount = 0;
        // Its inputs' tests as the least each word must hold, in
        // `bindingNeeds` (CompileEnabling); never enabled when not `enableable`.
        bool enableable = false;
        std::uint32_t firstNeed = 0, needCount = 0;
        // Those of its needs that its transition's needs do not cover, where
        // the transition's are tested first, in `bindingNeeds`.
        std::uint32_t firstOwnNeed = 0, ownNeedCount = 0;
    };
    // A word's change by a firing, modulo 2^16.
    struct Change {
        std::uint32_t word;
        std::uint16_t add;
    };
    // A word that must hold at least `least`.
    struct Need {
        std::uint32_t word;
        std::uint16_t least;
    };
    struct TransitionCode {
        std::uint32_t first;  // in `bindings`
        std::uint32_t count;
        Guard guard;
        // What every binding that can be enabled needs, in `needs`; `never`
        // when none of them can be.
        std::uint32_t firstNeed = 0;
        std::uint32_t needCount = 0;
        bool never = false;
    };

    bool Holds(const Guard& g, const std::uint16_t* from) const
    {
        return g.numeric ? HoldsNumeric(g, from) : g.holds;
    }
    bool HoldsNumeric(const Guard& g, const std::uint16_t* from) const;
    bool HasNeeds(const TransitionCode& t, const std::uint16_t* from) const
    {
        if (t.never) return false;
        for (std::uint32_t n = t.firstNeed; n < t.firstNeed + t.needCount; ++n)
            if (from[needs[n].word] < needs[n].least) return false;
        return true;
    }
    // The needs of one binding's inputs, by word; false when it can never
    // be enabled.
    bool BindingNeeds(const BindingCode& b, std::vector<Need>& own) const;
    // Sets the needs of a transition whose bindings are compiled.
    void CompileNeeds(TransitionCode& code);
    bool Enabled(const BindingCode& b, const std::uint16_t* from) const
    {
        return Enabled(b, b.firstNeed, b.needCount, from);
    }
    // The same where HasNeeds of its transition holds.
    bool EnabledBeyondNeeds(const BindingCode& b, const std::uint16_t* from) const
    {
        return Enabled(b, b.firstOwnNeed, b.ownNeedCount, from);
    }
    // Whether b can be enabled, the words from `first` in `bindingNeeds`
    // hold enough and its condition holds.
    bool Enabled(const BindingCode& b, std::uint32_t first, std::uint32_t count,
                 const std::uint16_t* from) const
    {
        if (!b.enableable) return false;
        for (std::uint32_t n = first; n < first + count; ++n)
            if (from[bindingNeeds[n].word] < bindingNeeds[n].least) return false;
        return Holds(b.guard, from);
    }
    // Sets the needs of the bindings of transition `code` that it does not
    // cover.
    void CompileOwnNeeds(const TransitionCode& code);
    // Moves the tokens of binding b on `to` (inputs, then outputs).
    void Move(const BindingCode& b, std::uint16_t* to) const;
    // Copies `from` to `to` and moves the tokens of binding b there.
    void CopyAndMove(const BindingCode& b, const std::uint16_t* from, std::uint16_t* to) const;
    // The further firings of an infinite-server binding after one, on `to`.
    int FurtherFirings(const BindingCode& b, const std::uint16_t* to) const;
    // Appends the code of one arc; false when counts cannot say what it does.
    bool CompileArc(const Arc& arc);
    // The input, or output, arcs of a binding; false when counts cannot say
    // what one of them does.
    bool CompileInputs(const Binding& b, BindingCode& code);
    bool CompileOutputs(const Binding& b, BindingCode& code);
    // A transition whose conditions are constants (false where one is not,
    // or counts cannot say what a binding does), its delays' numbers
    // included: its bindings, none when its own condition is false.
    bool CompileConstantGuarded(Transition& t, TransitionCode& code);
    // False when the condition reads more than whole places' counts.
    bool CompileGuard(const Condition& c, Guard& g);
    bool CompileExclusives(bool& timed);
    // The binding and its delay's number; false when the delay reads the
    // marking.
    bool CompileTimed(const Binding& b, BindingCode& code) const;
    bool CompileInfinites();
    void CompileMoves();
    void CompileEnabling();

    bool usable = false;
    bool exclusivesUsable = false;
    bool timedUsable = false;
    std::size_t words = 0;
    std::size_t immediateBindings = 0;
    std::vector<std::uint32_t> placeWord;  // the total's word of each place
    std::vector<std::uint16_t> placeSlots;
    std::vector<Token> tokens;
    std::vector<ArcCode> arcs;
    std::vector<BindingCode> bindings;
    std::vector<TransitionCode> transitions;
    std::vector<TransitionCode> exclusives;
    std::vector<TransitionCode> infinites;
    std::vector<std::uint32_t> guardWords;
    std::vector<Need> needs;
    std::vector<Need> bindingNeeds;
    std::vector<Change> changes;
    // Counts fired on to count further firings that have no closed form.
    mutable std::vector<std::uint16_t> scratch;
};
