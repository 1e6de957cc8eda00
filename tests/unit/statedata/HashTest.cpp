#include "TestVectors.h"
#include "statedata/Hash.h"
#include "statedata/NPMarking.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

// A marking with a fixed key; the vector makes equal keys distinguishable.
std::unique_ptr<NPMarking> Keyed(unsigned key, unsigned short tokens = 1)
{
    Pms pms = MakePms({{0, {{0, tokens}}}});
    auto m = std::make_unique<NPMarking>(pms);
    clear_pms(pms);
    m->SetKey(key);
    return m;
}

NPMarking* SaveKey(Hash<NPMarking>& store, unsigned key)
{
    bool found = true;
    return store.Save(Keyed(key).get(), found);
}

std::string Distribution(const Hash<NPMarking>& store)
{
    testing::internal::CaptureStdout();
    store.ShowHashDistribution();
    return testing::internal::GetCapturedStdout();
}

// In-order walk: a larger element lies to the left, so keys must descend.
void InOrder(const TreeNode<NPMarking>* n, std::vector<unsigned>& keys)
{
    if (!n) return;
    InOrder(n->left, keys);
    keys.push_back(n->elem.GetKey());
    InOrder(n->right, keys);
}

}  // namespace

namespace {

// The tree of one bucket after saving the keys in order, written as
// key(left right) with "-" for no node: a larger key lies to the left.
std::string Shape(const TreeNode<NPMarking>* n)
{
    if (!n) return "-";
    std::string text = std::to_string(n->elem.GetKey());
    if (n->left || n->right) text += "(" + Shape(n->left) + " " + Shape(n->right) + ")";
    return text;
}

}  // namespace

TEST(StoreTreeShape, ChainsAndHeavySidesAreRotated)
{
    const std::pair<std::vector<unsigned>, const char*> cases[] = {
        {{7, 14, 21}, "14(21 7)"},  // three increasing: the middle one on top
        {{50, 60, 55}, "55(60 50)"},  // a turning path brings the new one up
        // 70 completes a root triple (60 on top), 30 a three-link chain
        // below 60, and 10 makes the right side two heavier: 40 on top.
        {{50, 40, 60, 70, 30, 20, 10}, "40(60(70 50) 30(- 20(- 10)))"},
    };
    for (const auto& [keys, shape] : cases) {
        Hash<NPMarking> store;
        store.CreateHash(1, kShowNothing);
        for (unsigned key : keys) SaveKey(store, key);
        EXPECT_EQ(Shape(store.GetBucket(0).node), shape);
        if (keys.size() == 7) {
            EXPECT_EQ(store.GetBucket(0).ll, 2);
            EXPECT_EQ(store.GetBucket(0).rl, 2);
            EXPECT_NE(Distribution(store).find("pos = 0 \tl=2\tr=4\tll=2\trl=2\n"),
                      std::string::npos);
        }
    }
}

TEST(StoreTreeShape, DistributionListing)
{
    Hash<NPMarking> store;
    store.CreateHash(3, kShowNothing);
    for (unsigned key : {3u, 6u, 9u, 12u, 1u}) SaveKey(store, key);
    const char* expected =
        "---------------------------------------------------------------\n"
        "start ->->->->->->->-> HASH DISTRIBUTION\n"
        "MARK: Only hash entries with more than 2 markings will be shown!\n"
        "pos = 0 \tl=1\tr=2\tll=1\trl=1\n"
        "- - - - - - - - - - - - - - - - - - - - - - - - - - - -\n"
        "markings total           : 5\n"
        "markings in null pos     : 2\n"
        "markings left  hand      : 1\n"
        "markings right hand      : 2\n"
        "=> markings total        : 5\n"
        "empty entries            : 1\n"
        "max. fill./hash pos.     : 4\n"
        "- - - - - - - - - - - - - - - - - - - - - - - - - - - -\n"
        "stop  ->->->->->->->-> HASH DISTRIBUTION\n";
    EXPECT_EQ(Distribution(store), expected);
}

TEST(StoreTreeShape, EveryMarkingStaysFindableInSearchOrder)
{
    Hash<NPMarking> store;
    store.CreateHash(3, kShowNothing);
    std::mt19937 random(7);
    std::vector<std::pair<unsigned, NPMarking*>> saved;
    for (int i = 0; i < 3000; ++i) {
        unsigned key = 1 + random() % 1000;  // repeats included
        bool found = false;
        NPMarking* m = store.Save(Keyed(key).get(), found);
        saved.emplace_back(key, m);
    }
    for (auto [key, m] : saved) {
        bool found = false;
        EXPECT_EQ(store.Save(Keyed(key).get(), found), m);
        EXPECT_TRUE(found);
    }
    unsigned total = 0;
    for (unsigned b = 0; b < 3; ++b) {
        std::vector<unsigned> keys;
        InOrder(store.GetBucket(b).node, keys);
        for (size_t i = 1; i < keys.size(); ++i) EXPECT_GT(keys[i - 1], keys[i]);
        total += keys.size();
    }
    EXPECT_EQ(total, store.GetCounter());
}

TEST(StoreTree, CleaningEmptiesButKeepsTheTable)
{
    Hash<NPMarking> store;
    store.CreateHash(5, kShowNothing);
    for (unsigned key = 1; key <= 300; ++key) SaveKey(store, key);
    store.CleanHash();
    EXPECT_EQ(store.GetCounter(), 0u);
    EXPECT_EQ(store.GetSize(), 5u);
    EXPECT_EQ(store.GetBucket(2).node, nullptr);
    bool found = true;
    store.Save(Keyed(2).get(), found);
    EXPECT_FALSE(found);
    store.Clear();
    EXPECT_EQ(store.GetSize(), 0u);
    EXPECT_EQ(store.Save(Keyed(2).get(), found), nullptr);
}

TEST(VanishingStore, InternsByKeyAndVector)
{
    Hash<NPMarking> store;
    store.CreateHash(37, kShowNothing);
    Pms pms = MakePms({{0, {{1, 1}}}});
    NPMarking a(pms, 0.5), b(pms, 0.25);
    a.CreateKey();
    b.CreateKey();
    bool found = false;
    NPMarking* stored = store.Save(&a, found);
    EXPECT_EQ(store.Save(&b, found), stored);
    EXPECT_TRUE(found);
    EXPECT_EQ(stored->GetDelayVal(), 0.5);
    clear_pms(pms);
}

