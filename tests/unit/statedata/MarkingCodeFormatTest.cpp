// The coder's bytes against a slow writer of the same format, written from
// its description (MarkingCode.h) one bit at a time, on random flat forms
// and atas: narrow and wide nets, sparse and dense ones, gaps and counts on
// both sides of the coder's tables.
#include "TestVectors.h"
#include "statedata/MarkingCode.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

// Bits in the order they are written; byte k holds bits 8k to 8k + 7, the
// first of them its least significant.
struct ReferenceBits {
    std::vector<bool> bits;

    void Bit(bool b) { bits.push_back(b); }
    // floor(log2 n) zeros, a one, then the bits of n below its leading
    // one, lowest first.
    void Gamma(std::uint32_t n)
    {
        int width = 0;
        while ((n >> width) > 1) ++width;
        for (int i = 0; i < width; ++i) Bit(false);
        Bit(true);
        for (int i = 0; i < width; ++i) Bit((n >> i) & 1);
    }
    // The length in bytes (one byte below 128, else two, the first with its
    // top bit set), then the bytes.
    std::vector<std::uint8_t> Code() const
    {
        std::vector<std::uint8_t> body((bits.size() + 7) / 8, 0);
        for (std::size_t i = 0; i < bits.size(); ++i)
            if (bits[i]) body[i / 8] = static_cast<std::uint8_t>(body[i / 8] | 1u << (i % 8));
        std::vector<std::uint8_t> code;
        if (body.size() < 128) {
            code.push_back(static_cast<std::uint8_t>(body.size()));
        } else {
            code.push_back(static_cast<std::uint8_t>(0x80 | body.size() >> 8));
            code.push_back(static_cast<std::uint8_t>(body.size() & 0xFF));
        }
        code.insert(code.end(), body.begin(), body.end());
        return code;
    }
};

// A marking as the places hold it: place by place its colour slots' counts
// (a plain place has one), and the ata (empty for none).
struct Marking {
    std::vector<std::vector<std::uint16_t>> slots;
    std::vector<short> ata;
    bool withAta = false;
};

// The code of an exact vector: has-ata, exact, marked places + 1, per marked
// place its gap, its entries and per entry its slot gap and count; then the
// ata's entries that are not 0 + 1 and per entry its gap and value.
std::vector<std::uint8_t> ReferenceCode(const Marking& m)
{
    ReferenceBits w;
    w.Bit(m.withAta);
    w.Bit(true);
    auto marked = [&](std::size_t p) {
        for (std::uint16_t c : m.slots[p])
            if (c != 0) return true;
        return false;
    };
    std::uint32_t places = 0;
    for (std::size_t p = 0; p < m.slots.size(); ++p) places += marked(p);
    w.Gamma(places + 1);
    long previous = -1;
    for (std::size_t p = 0; p < m.slots.size(); ++p) {
        if (!marked(p)) continue;
        w.Gamma(static_cast<std::uint32_t>(static_cast<long>(p) - previous));
        previous = static_cast<long>(p);
        std::uint32_t entries = 0;
        for (std::uint16_t c : m.slots[p]) entries += c != 0;
        w.Gamma(entries);
        long slot = -1;
        for (std::size_t s = 0; s < m.slots[p].size(); ++s) {
            if (m.slots[p][s] == 0) continue;
            w.Gamma(static_cast<std::uint32_t>(static_cast<long>(s) - slot));
            w.Gamma(m.slots[p][s]);
            slot = static_cast<long>(s);
        }
    }
    if (m.withAta) {
        std::uint32_t active = 0;
        for (short a : m.ata) active += a != 0;
        w.Gamma(active + 1);
        long last = -1;
        for (std::size_t i = 0; i < m.ata.size(); ++i) {
            if (m.ata[i] == 0) continue;
            w.Gamma(static_cast<std::uint32_t>(static_cast<long>(i) - last));
            w.Gamma(static_cast<std::uint16_t>(m.ata[i]));
            last = static_cast<long>(i);
        }
    }
    return w.Code();
}

// A count of tokens: mostly a few, at times one on either side of the
// tables (32, 256) or the largest.
std::uint16_t RandomCount(std::mt19937& random)
{
    static const std::uint16_t kEdges[] = {31, 32, 255, 256, 1000, 65535};
    const unsigned pick = random() % 16;
    if (pick < 12) return static_cast<std::uint16_t>(1 + random() % 4);
    if (pick < 14) return static_cast<std::uint16_t>(1 + random() % 40);
    return kEdges[random() % std::size(kEdges)];
}

// A marking of a net with these places' slots: each place marked with
// probability `density`, a marked one with at least one slot marked.
Marking RandomMarking(std::mt19937& random, const std::vector<std::uint16_t>& slots, double density,
                      std::size_t ataWidth, double ataDensity, bool withAta)
{
    std::uniform_real_distribution<double> uniform(0, 1);
    Marking m;
    m.withAta = withAta;
    m.slots.resize(slots.size());
    for (std::size_t p = 0; p < slots.size(); ++p) {
        m.slots[p].assign(slots[p], 0);
        if (slots[p] == 0 || uniform(random) >= density) continue;
        for (std::uint16_t& c : m.slots[p])
            if (uniform(random) < 0.5) c = RandomCount(random);
        m.slots[p][random() % slots[p]] = RandomCount(random);
    }
    m.ata.assign(ataWidth, 0);
    if (withAta)
        for (short& a : m.ata)
            if (uniform(random) < ataDensity) {
                const int value = static_cast<int>(RandomCount(random) % 20000) + 1;
                a = static_cast<short>(random() % 4 == 0 ? -value : value);
            }
    return m;
}

// The flat form of a marking (the sum of a place's slots in its first word,
// wrapping as the places' own totals do).
std::vector<std::uint16_t> FlatForm(const Marking& m)
{
    std::vector<std::uint16_t> flat;
    for (const std::vector<std::uint16_t>& place : m.slots) {
        std::uint16_t total = 0;
        for (std::uint16_t c : place) total = static_cast<std::uint16_t>(total + c);
        flat.push_back(total);
        flat.insert(flat.end(), place.begin(), place.end());
    }
    return flat;
}

struct Net {
    const char* what;
    std::vector<std::uint16_t> slots;
};

std::vector<Net> Nets()
{
    std::vector<Net> nets;
    for (std::size_t width : {1, 2, 3, 4, 5, 7, 8, 22, 63, 64, 65, 127, 128, 129, 300, 1000})
        nets.push_back({"plain", std::vector<std::uint16_t>(width, 1)});
    // Colour slots, and places without any, among plain places.
    std::vector<std::uint16_t> mixed(150, 1);
    for (std::size_t p = 0; p < mixed.size(); p += 7) mixed[p] = static_cast<std::uint16_t>(p % 4);
    nets.push_back({"coloured", mixed});
    return nets;
}

}  // namespace

// Every flat form, of a net of plain places or with colours, with an ata
// or without, must be coded as the slow writer codes it, byte for byte,
// and read back into the same flat form and ata. A count whose total wraps
// (65535 beside more tokens) leaves the exact form: such markings are
// compared with the vector the places hold instead.
TEST(MarkingCodeFormat, FlatFormsAreCodedBitForBitAsTheFormatSays)
{
    std::mt19937 random(20261208);
    MarkingCode code;
    DecodedMarking back;
    int compared = 0;
    for (const Net& net : Nets()) {
        const FlatLayout layout(net.slots);
        for (std::size_t ataWidth : {0, 1, 7, 8, 9, 16, 33, 64, 65, 200}) {
            ExclusiveCount exclusive(static_cast<unsigned short>(ataWidth));
            for (double density : {0.0, 0.03, 0.4, 1.0})
                for (int round = 0; round < 6; ++round) {
                    const bool withAta = ataWidth > 0 && round % 3 != 0;
                    const Marking m =
                        RandomMarking(random, net.slots, density, ataWidth, round % 2 ? 0.1 : 0.6, withAta);
                    const std::vector<std::uint16_t> flat = FlatForm(m);
                    bool exact = true;
                    for (std::size_t p = 0, word = 0; p < m.slots.size(); word += 1 + m.slots[p].size(), ++p) {
                        unsigned sum = 0;
                        for (std::uint16_t c : m.slots[p]) sum += c;
                        exact = exact && sum == flat[word];
                    }
                    if (!exact) continue;
                    const std::string what = std::string(net.what) + " of " + std::to_string(net.slots.size()) +
                                             ", ata of " + std::to_string(ataWidth) + ", density " +
                                             std::to_string(density) + ", round " + std::to_string(round);
                    const short* ata = withAta ? m.ata.data() : nullptr;
                    const std::uint8_t* got = code.EncodeFlat(flat.data(), layout, ata);
                    ASSERT_EQ(std::vector<std::uint8_t>(got, got + code.Size()), ReferenceCode(m)) << what;
                    ASSERT_EQ(CodeSize(got), code.Size()) << what;
                    std::vector<std::uint16_t> read(layout.Words(), 7);
                    ASSERT_TRUE(back.DecodeFlat(got, layout, read.data())) << what;
                    EXPECT_EQ(read, flat) << what;
                    ASSERT_EQ(back.GetAta() != nullptr, withAta) << what;
                    if (withAta) {
                        EXPECT_EQ(std::vector<short>(back.GetAta(), back.GetAta() + ataWidth), m.ata) << what;
                    }
                    ++compared;
                }
        }
    }
    // Most random markings are exact: the comparison must not have been
    // skipped wholesale.
    EXPECT_GT(compared, 3000);
}
