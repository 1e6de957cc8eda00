#include "TestVectors.h"
#include "statedata/FlatCodeCache.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Bytes(const std::uint8_t* code)
{
    return std::string(code, code + CodeSize(code));
}

// Flat forms of three plain places (total and slot words each) that differ
// in one count, some coded with an ata and some without.
std::vector<std::uint16_t> Flat(std::uint16_t a, std::uint16_t b)
{
    return {a, a, 0, 0, b, b};
}

}  // namespace

// Whatever the cache holds, a flat form gets the code and hash it would be
// coded with now: with a cache of two slots most forms replace one another,
// an ata and no ata (or another ata) of the same form are told apart, and a
// form coded once comes back from its slot.
TEST(FlatCodeCache, GivesEveryFlatFormItsOwnCodeAndHash)
{
    ExclusiveCount three(3);
    const FlatLayout layout({1, 1, 1});
    FlatCodeCache cache(layout, 3, 1);
    MarkingCode fresh, cached;
    const std::vector<short> ata{0, 2, 1}, other{0, 2, 3};
    for (int round = 0; round < 3; ++round)
        for (std::uint16_t a = 0; a < 6; ++a)
            for (std::uint16_t b : {std::uint16_t{1}, std::uint16_t{300}})
                for (const short* x : {static_cast<const short*>(nullptr), ata.data(), other.data()}) {
                    const std::vector<std::uint16_t> flat = Flat(a, b);
                    const std::uint8_t* want = fresh.EncodeFlat(flat.data(), layout, x);
                    // Coded, then straight from its slot.
                    for (int twice = 0; twice < 2; ++twice) {
                        std::uint64_t hash = 0;
                        const std::string got = Bytes(cache.Encode(cached, flat.data(), x, hash));
                        EXPECT_EQ(got, Bytes(want)) << a << " " << b << " round " << round;
                        EXPECT_EQ(hash, CodeHash(want));
                    }
                }
}

// A layout too wide for slots of its own, and a code too long for its
// slot, are coded every time, to the same codes.
TEST(FlatCodeCache, CodesWhatItCannotKeepEveryTime)
{
    ExclusiveCount one(1);
    const short ata[] = {1};
    MarkingCode fresh, cached;
    const FlatLayout wide(std::vector<std::uint16_t>(400, 1));
    std::vector<std::uint16_t> sparse(wide.Words(), 0);
    sparse[798] = sparse[799] = 2;
    const FlatLayout narrow(std::vector<std::uint16_t>(20, 1));
    std::vector<std::uint16_t> full(narrow.Words(), 60000);
    for (const auto& [layout, flat] : {std::pair{&wide, &sparse}, std::pair{&narrow, &full}}) {
        FlatCodeCache cache(*layout, 1, 1);
        const std::string want = Bytes(fresh.EncodeFlat(flat->data(), *layout, ata));
        std::uint64_t hash = 0;
        for (int twice = 0; twice < 2; ++twice)
            EXPECT_EQ(Bytes(cache.Encode(cached, flat->data(), ata, hash)), want);
    }
}
