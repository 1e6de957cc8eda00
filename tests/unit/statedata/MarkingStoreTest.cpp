#include "TestVectors.h"
#include "statedata/Hash.h"
#include "statedata/MarkingCode.h"
#include "statedata/MarkingIds.h"
#include "statedata/MarkingStore.h"
#include "statedata/NPMarking.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

Pms Vector(unsigned short a, unsigned short b)
{
    return MakePms({{0, {{0, a}}}, {2, {{1, b}}}});
}

Marking* Save(MarkingStore& store, const Pms& pms, const short* ata, bool& found)
{
    MarkingCode code;
    const std::uint8_t* bytes = code.Encode(pms, ata);
    return store.Save(bytes, CodeHash(bytes), found);
}

template <class Store>
std::string Distribution(const Store& store)
{
    testing::internal::CaptureStdout();
    store.ShowHashDistribution();
    return testing::internal::GetCapturedStdout();
}

}  // namespace

TEST(MarkingStore, InterningAnEqualMarkingReturnsTheStoredOne)
{
    ExclusiveCount one(1);
    MarkingStore store;
    store.CreateHash(101, kShowNothing);
    Pms pms = Vector(2, 1);
    short ata[1] = {1};
    short zero[1] = {0};
    bool found = true;
    Marking* plain = Save(store, pms, nullptr, found);
    EXPECT_FALSE(found);
    EXPECT_EQ(Save(store, pms, nullptr, found), plain);
    EXPECT_TRUE(found);
    // An active binding, or an array of zeros, makes another state.
    Marking* active = Save(store, pms, ata, found);
    EXPECT_FALSE(found);
    Marking* zeros = Save(store, pms, zero, found);
    EXPECT_FALSE(found);
    EXPECT_NE(active, plain);
    EXPECT_NE(zeros, plain);
    EXPECT_EQ(store.GetCounter(), 3u);
    EXPECT_EQ(&store.Stored(1), active);
    EXPECT_EQ(active->GetAta()[0], 1);
    EXPECT_EQ(active->GetKey(), Marking::KeyOf(pms, ata));
    clear_pms(pms);
}

// More markings than one block holds: each is found again, reads back its
// contents, and is the target its id names.
TEST(MarkingStore, ManyMarkingsAreFoundAgainAndNamedByTheirIds)
{
    ExclusiveCount none(0);
    MarkingStore store;
    store.CreateHash(131099, kShowNothing);
    const unsigned count = 70000;
    Marking source;
    for (unsigned round = 0; round < 2; ++round) {
        for (unsigned i = 0; i < count; ++i) {
            Pms pms = Vector(static_cast<unsigned short>(i % 300 + 1),
                             static_cast<unsigned short>(i / 300 + 1));
            bool found = round == 0;
            Marking* m = Save(store, pms, nullptr, found);
            ASSERT_EQ(found, round == 1) << i;
            ASSERT_EQ(m, &store.Stored(i));
            ASSERT_EQ(store.IdOf(i), m->Id()) << i;
            // Every other edge names its target by the id the store gives.
            if (round == 0 && i % 997 == 0) {
                if (i % 2)
                    source.AddEdgeTo(store.IdOf(i), DelayVal(1.0, kDelayExponential));
                else
                    source.AddMarking(*m, DelayVal(1.0, kDelayExponential));
            }
            clear_pms(pms);
        }
    }
    unsigned i = 997 * (count / 997);
    for (const stt& s : source.Edges()) {
        ASSERT_EQ(s.Target(), &store.Stored(i));
        EXPECT_EQ(s.Target()->GetPms().places[0].quant, i % 300 + 1);
        EXPECT_EQ(s.Target()->GetPms().places[1].quant, i / 300 + 1);
        i -= 997;
    }
    store.ReleaseIndex();
    EXPECT_EQ(store.GetCounter(), count);
    source.ClearEdges();
}

// Codes whose hashes collide wholly, or in their tags, or in the slot they
// start at (the last one, so that probes wrap past the index's end): each
// is found again under its own number after the index has grown from 32
// slots to 4096, and a code never stored is found under none.
TEST(MarkingStore, CollidingHashesFindEachCodeUnderItsOwnNumber)
{
    ExclusiveCount none(0);
    MarkingStore store;
    store.CreateHash(101, kShowNothing);
    const unsigned count = 3000;
    auto hashOf = [](unsigned i) -> std::uint64_t {
        if (i % 3 == 0) return 0x9E3779B97F4A7C15ull;
        if (i % 3 == 1) return 0x9E3779B900000000ull | i;
        return (std::uint64_t{i} << 20 | 0xFFFFF) << 32;  // starts at the last slot
    };
    std::vector<std::vector<std::uint8_t>> codes;
    for (unsigned i = 0; i <= count; ++i) {
        Pms pms = Vector(static_cast<unsigned short>(i % 50 + 1), static_cast<unsigned short>(i / 50 + 1));
        MarkingCode code;
        const std::uint8_t* bytes = code.Encode(pms, nullptr);
        codes.emplace_back(bytes, bytes + CodeSize(bytes));
        clear_pms(pms);
    }
    for (unsigned round = 0; round < 2; ++round) {
        for (unsigned i = 0; i < count; ++i) {
            store.Prefetch(codes[i].data(), hashOf(i), 0);
            store.Prefetch(codes[i].data(), hashOf(i), 1);
            bool found = round == 0;
            ASSERT_EQ(store.Intern(codes[i].data(), hashOf(i), found), i) << round;
            ASSERT_EQ(found, round == 1) << i;
        }
    }
    EXPECT_TRUE(CodesEqual(store.Stored(count - 1).GetCode(), codes[count - 1].data()));
    bool found = true;
    EXPECT_EQ(store.Intern(codes[count].data(), hashOf(0), found), count);
    EXPECT_FALSE(found);
    EXPECT_EQ(store.GetCounter(), count + 1);
}

// The listing shows the bucket trees the markings would have grown, stored
// in this order: a store of vanishing markings (ordered by the same key and
// vector) grows them.
TEST(MarkingStore, DistributionListingShowsTheTreesOfTheStoringOrder)
{
    ExclusiveCount none(0);
    MarkingStore store;
    store.CreateHash(7, kShowNothing);
    Hash<NPMarking> trees(7);
    for (unsigned i = 0; i < 400; ++i) {
        Pms pms = Vector(static_cast<unsigned short>(i * 7919 % 61 + 1),
                         static_cast<unsigned short>(i % 13 + 1));
        bool found = false;
        Save(store, pms, nullptr, found);
        NPMarking n(pms);
        n.CreateKey();
        trees.Save(&n, found);
        clear_pms(pms);
    }
    store.ReleaseIndex();  // the listing does not need it
    EXPECT_EQ(Distribution(store), Distribution(trees));
}

TEST(MarkingStore, SpinnerTurnsEveryTwoHundredMarkings)
{
    ExclusiveCount none(0);
    MarkingStore store;
    store.CreateHash(131, kShowSpinner);
    auto save = [&store](unsigned i) {
        Pms pms = Vector(static_cast<unsigned short>(i), 1);
        bool found = false;
        Save(store, pms, nullptr, found);
        clear_pms(pms);
    };
    testing::internal::CaptureStdout();
    for (unsigned i = 1; i <= 199; ++i) save(i);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "\trunning rrg creation ... |\b");
    testing::internal::CaptureStdout();
    for (unsigned i = 200; i <= 800; ++i) save(i);
    save(5);  // found again: not counted
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "/\b-\b\\\b|\b");
}
