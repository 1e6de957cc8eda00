#include "TestVectors.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// (token, quantity) pairs of a Tms in list order.
std::vector<std::pair<int, int>> Elements(const Tms* t)
{
    std::vector<std::pair<int, int>> out;
    for (const ltoken* e = t ? t->first : nullptr; e; e = e->next) out.emplace_back(e->token, e->quant);
    return out;
}

PTms* MakePTms(std::vector<std::pair<unsigned short, unsigned short>> slots)
{
    PTms* p = new PTms{static_cast<short>(slots.size()), 0, 0, new PTmsSlot[slots.size()]};
    for (size_t i = 0; i < slots.size(); ++i) {
        p->entries[i] = {slots[i].first, slots[i].second};
        p->quant += slots[i].second;
        if (slots[i].second) ++p->kinds;
    }
    return p;
}

using Pairs = std::vector<std::pair<int, int>>;

}  // namespace

TEST(TmsArithmetic, AddingMergesEqualTokensButAddTrDoesNot)
{
    Tms* t = nullptr;
    ltoken a{1, 2, nullptr};
    add_tok(t, &a);
    ltoken b{2, 1, nullptr};
    add_t(t, &b);
    ltoken moreA{1, 3, nullptr};
    add_t(t, &moreA);
    EXPECT_EQ(Elements(t), (Pairs{{2, 1}, {1, 5}}));
    EXPECT_EQ(t->kinds, 2);
    EXPECT_EQ(t->quant, 6);

    add_tr(t, 1, 4);  // no merge: a second element for token 1 at the front
    EXPECT_EQ(Elements(t), (Pairs{{1, 4}, {2, 1}, {1, 5}}));
    EXPECT_EQ(t->kinds, 3);
    EXPECT_EQ(t->quant, 10);
    clear_tms(t);
    EXPECT_EQ(t, nullptr);
}

TEST(TmsArithmetic, AddTmsIntoEmptyCopiesTheOtherInOrder)
{
    Tms* other = new_tms(3, 1);
    add_tr(other, 5, 2);
    Tms* t = nullptr;
    add_tms(t, other);
    ASSERT_NE(t, other);
    EXPECT_TRUE(tms_eq(t, other));
    EXPECT_EQ(Elements(t), Elements(other));
    add_tms(t, other);
    EXPECT_EQ(Elements(t), (Pairs{{5, 4}, {3, 2}}));
    EXPECT_EQ(t->quant, 6);
    clear_tms(t);
    clear_tms(other);
}

TEST(TmsArithmetic, SubtractingMoreThanPresentRemovesOnlyWhatIsThere)
{
    Tms* t = new_tms(1, 2);
    add_tr(t, 2, 3);
    ltoken tooMany{2, 10, nullptr};
    sub_t(t, &tooMany);
    EXPECT_EQ(Elements(t), (Pairs{{1, 2}}));
    EXPECT_EQ(t->quant, 2);
    EXPECT_EQ(t->kinds, 1);

    ltoken some{1, 1, nullptr};
    sub_t(t, &some);
    EXPECT_EQ(Elements(t), (Pairs{{1, 1}}));
    EXPECT_EQ(t->quant, 1);

    ltoken absent{9, 1, nullptr};
    sub_t(t, &absent);
    EXPECT_EQ(t->quant, 1);

    sub_t(t, &some);  // the last element goes: the multiset becomes null
    EXPECT_EQ(t, nullptr);
}

TEST(TmsArithmetic, SubTmsStopsOnceTheMultisetIsEmpty)
{
    Tms* t = new_tms(1, 1);
    Tms* other = new_tms(7, 1);
    add_tr(other, 1, 1);  // list: 1:1, 7:1
    sub_tms(t, other);
    EXPECT_EQ(t, nullptr);
    Tms* none = nullptr;
    sub_tms(none, other);
    EXPECT_EQ(none, nullptr);
    clear_tms(other);
}

TEST(TmsComparison, NullIsTheEmptyMultiset)
{
    Tms* x = new_tms(1, 1);
    EXPECT_TRUE(tms_le(nullptr, x));
    EXPECT_TRUE(tms_le(nullptr, nullptr));
    EXPECT_FALSE(tms_le(x, nullptr));
    EXPECT_FALSE(tms_lt(nullptr, nullptr));
    EXPECT_TRUE(tms_lt(nullptr, x));
    EXPECT_TRUE(tms_ge(nullptr, nullptr));
    EXPECT_TRUE(tms_ge(x, nullptr));
    EXPECT_FALSE(tms_gt(nullptr, nullptr));
    EXPECT_TRUE(tms_gt(x, nullptr));
    EXPECT_TRUE(tms_eq(nullptr, nullptr));
    EXPECT_FALSE(tms_eq(x, nullptr));
    clear_tms(x);
}

TEST(TmsComparison, RelationsCompareTokenByToken)
{
    Tms* small = new_tms(1, 1);
    Tms* big = new_tms(2, 4);
    add_tr(big, 1, 3);
    EXPECT_TRUE(tms_le(small, big));
    EXPECT_TRUE(tms_lt(small, big));
    EXPECT_FALSE(tms_le(big, small));  // more elements
    EXPECT_TRUE(tms_ge(big, small));
    EXPECT_TRUE(tms_gt(big, small));

    Tms* same = new_tms(1, 1);
    EXPECT_TRUE(tms_le(small, same));
    EXPECT_FALSE(tms_lt(small, same));  // strict in every token

    Tms* reordered = new_tms(1, 3);
    add_tr(reordered, 2, 4);
    EXPECT_TRUE(tms_eq(big, reordered));  // order does not matter
    reordered->first->quant = 5;
    reordered->quant = 8;
    EXPECT_FALSE(tms_eq(big, reordered));
    for (Tms* t : {small, big, same, reordered}) clear_tms(t);
}

TEST(PlaceMultiset, PlusAndMinusKeepKindsAndTotal)
{
    PTms* p = MakePTms({{1, 0}, {2, 0}, {3, 0}});
    p->sorted = true;
    Tms* in = new_tms(2, 3);
    add_tr(in, 9, 5);  // no slot for token 9: ignored
    plus_tms(p, in);
    EXPECT_EQ(p->quant, 3);
    EXPECT_EQ(p->kinds, 1);
    EXPECT_EQ(no_of_ptref(p, 2), 3);
    EXPECT_EQ(no_of_ptref(p, 9), 0);

    Tms* out = new_tms(2, 1);
    minus_tms(p, out);
    EXPECT_EQ(p->quant, 2);
    EXPECT_EQ(p->kinds, 1);
    Tms* tooMany = new_tms(2, 7);
    minus_tms(p, tooMany);  // empties the slot, never below zero
    EXPECT_EQ(p->quant, 0);
    EXPECT_EQ(p->kinds, 0);
    EXPECT_EQ(no_of_ptref(p, 2), 0);
    for (Tms* t : {in, out, tooMany}) clear_tms(t);
    clear_ptms(p);
}

TEST(PlaceMultiset, ConversionToTmsRunsInDescendingSlotOrder)
{
    PTms* p = MakePTms({{1, 2}, {2, 0}, {3, 1}});  // a:2, b:0, c:1
    Tms* t = ptms2tms(p);
    EXPECT_EQ(Elements(t), (Pairs{{3, 1}, {1, 2}}));
    EXPECT_EQ(t->kinds, 2);
    EXPECT_EQ(t->quant, 3);

    PTms* back = tms2ptms(t);  // slots in list order
    ASSERT_EQ(back->size, 2);
    EXPECT_EQ(back->entries[0].token, 3);
    EXPECT_EQ(back->entries[1].token, 1);
    EXPECT_FALSE(back->sorted);
    EXPECT_EQ(no_of_ptref(back, 1), 2);  // found without the ascending order
    clear_tms(t);
    clear_ptms(back);
    clear_ptms(p);
}

TEST(PlaceMultiset, SortOrdersSlotsByToken)
{
    PTms* p = MakePTms({{7, 1}, {2, 2}, {5, 3}});
    sort_ptms(p);
    EXPECT_TRUE(p->sorted);
    EXPECT_EQ(p->entries[0].token, 2);
    EXPECT_EQ(p->entries[0].quant, 2);
    EXPECT_EQ(p->entries[2].token, 7);
    EXPECT_EQ(no_of_ptref(p, 5), 3);
    clear_ptms(p);

    // With a repeated token the slots end where the defining exchange sort
    // puts them (equal tokens are not kept in their original order).
    PTms* q = MakePTms({{2, 10}, {3, 11}, {0, 12}, {2, 13}, {0, 14}});
    sort_ptms(q);
    EXPECT_FALSE(q->sorted);
    std::vector<int> quantities;
    for (int i = 0; i < q->size; ++i) quantities.push_back(q->entries[i].quant);
    EXPECT_EQ(quantities, (std::vector<int>{12, 14, 13, 10, 11}));
    clear_ptms(q);
}

TEST(PlaceMultiset, SparseFormKeepsOnlyUsedSlots)
{
    PTms* p = MakePTms({{1, 0}, {2, 4}, {3, 0}, {4, 1}});
    MTms m;
    ptms2mtms(p, 6, m);
    EXPECT_EQ(m.place, 6);
    EXPECT_EQ(m.kinds, 2);
    EXPECT_EQ(m.quant, 5);
    EXPECT_EQ(m.entries[0].index, 1);
    EXPECT_EQ(m.entries[1].index, 3);

    PTms* loaded = MakePTms({{1, 9}, {2, 0}, {3, 9}, {4, 0}});
    initptmsWmtms(loaded, m);
    EXPECT_TRUE(ptms_eq(loaded, p));
    EXPECT_EQ(comp_ptms(loaded, p), 0);
    clear_mtms(m);
    clear_ptms(loaded);
    clear_ptms(p);
}

TEST(MarkingVector, ComparisonOrdersByPlaceCountFirst)
{
    Pms few = MakePms({{5, {{0, 9}}}});
    Pms many = MakePms({{0, {{0, 1}}}, {1, {{0, 1}}}});
    EXPECT_EQ(comp_pms(few, many), -1);
    EXPECT_EQ(comp_pms(many, few), 1);

    Pms lowPlace = MakePms({{1, {{0, 5}}}});
    Pms highPlace = MakePms({{2, {{0, 1}}}});
    EXPECT_EQ(comp_pms(lowPlace, highPlace), -1);  // place before quantity
    Pms fewerTokens = MakePms({{1, {{0, 4}}}});
    EXPECT_EQ(comp_pms(fewerTokens, lowPlace), -1);
    Pms lowerIndex = MakePms({{1, {{0, 1}, {2, 1}}}});
    Pms higherIndex = MakePms({{1, {{1, 1}, {2, 1}}}});
    EXPECT_EQ(comp_pms(lowerIndex, higherIndex), -1);
    EXPECT_FALSE(pms_eq(lowerIndex, higherIndex));
    for (Pms* p : {&few, &many, &lowPlace, &highPlace, &fewerTokens, &lowerIndex, &higherIndex})
        clear_pms(*p);
}

TEST(MarkingVector, CopyIsOneIndependentBlock)
{
    Pms src = MakePms({{0, {{0, 1}, {3, 2}}}, {4, {{1, 7}}}});
    Pms copy;
    copy_pms(src, copy);
    EXPECT_TRUE(pms_eq(src, copy));
    EXPECT_NE(copy.places, src.places);
    // The entries live right behind the MTms array of the copy's own block.
    EXPECT_EQ(reinterpret_cast<void*>(copy.places[0].entries),
              reinterpret_cast<void*>(copy.places + 2));
    EXPECT_EQ(copy.places[1].entries, copy.places[0].entries + 2);
    clear_pms(src);
    EXPECT_EQ(copy.places[1].entries[0].quant, 7);

    clear_pms(copy);
    Pms empty{0, nullptr};
    copy.size = 3;  // stale fields are overwritten
    copy_pms(empty, copy);
    EXPECT_EQ(copy.size, 0);
    EXPECT_EQ(copy.places, nullptr);
}

TEST(MarkingVector, FillFromPlacesLeavesOutEmptyPlaces)
{
    PTms* places[3] = {MakePTms({{1, 0}, {2, 3}}), MakePTms({{1, 0}}), MakePTms({{4, 1}})};
    Pms pms;
    fill_pms(pms, 3, [&](int i) { return std::pair<int, const PTms*>(i * 10, places[i]); });
    Pms expected = MakePms({{0, {{1, 3}}}, {20, {{0, 1}}}});
    EXPECT_TRUE(pms_eq(pms, expected));
    for (PTms*& p : places) clear_ptms(p);
    clear_pms(pms);
    clear_pms(expected);
}

// Expected keys follow the hash step by step:
// per place h = (h << 4) + index + quant per entry (folded), then
// key = (key << 4) + h * (place + kinds + quant + 65599), folded.
TEST(MarkingVector, CreateKeyFollowsTheHash)
{
    Pms empty{0, nullptr};
    EXPECT_EQ(create_key(empty), 1u);

    // h = 0 + 2 = 2; key = 2 * (0 + 1 + 2 + 65599) = 131204.
    Pms one = MakePms({{0, {{0, 2}}}});
    EXPECT_EQ(create_key(one), 131204u);

    // place 0: h = 1, then 16 + 2 + 2 = 20; key = 20 * 65604 = 1312080.
    // place 3: h = 1 + 5 = 6; key = 1312080 * 16 + 6 * 65608 = 21386928.
    Pms two = MakePms({{0, {{0, 1}, {2, 2}}}, {3, {{1, 5}}}});
    EXPECT_EQ(create_key(two), 21386928u);

    // h = 7 + 65000 = 65007; 65007 * 130700 = 8496414900 wraps to 0xFA6D00B4;
    // folding: ^ 0xF0 and ^ 0xF0000000 gives 0x0A6D0044.
    Pms wraps = MakePms({{100, {{7, 65000}}}});
    EXPECT_EQ(create_key(wraps), 0x0A6D0044u);
    for (Pms* p : {&one, &two, &wraps}) clear_pms(*p);
}

TEST(ActiveTransitions, NullIsNotAnAllZeroArray)
{
    ExclusiveCount three(3);
    short zeros[3] = {0, 0, 0};
    EXPECT_FALSE(ata_eq(nullptr, zeros));
    EXPECT_TRUE(ata_eq(nullptr, nullptr));

    short* fresh = make_new_ata(nullptr, 1, 2);
    short expected[3] = {0, 2, 0};
    EXPECT_TRUE(ata_eq(fresh, expected));
    short* copy = make_ata(fresh);
    EXPECT_NE(copy, fresh);
    EXPECT_TRUE(ata_eq(copy, fresh));
    clear_ata(fresh);
    clear_ata(copy);
    EXPECT_EQ(copy, nullptr);

    ExclusiveCount none(0);
    EXPECT_EQ(make_ata(zeros), nullptr);
}

TEST(ValueLists, AppendOnlyNewValues)
{
    short_list* l = nullptr;
    for (short v : {3, 1, 3, 2, 1}) add_short(l, v);
    std::vector<int> values;
    for (short_list* e = l; e; e = e->next) values.push_back(e->value);
    EXPECT_EQ(values, (std::vector<int>{3, 1, 2}));
    clear_short(l);
    EXPECT_EQ(l, nullptr);
}
