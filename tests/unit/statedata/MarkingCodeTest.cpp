#include "TestVectors.h"
#include "statedata/MarkingCode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

struct Contents {
    const char* what;
    Pms pms;
    std::vector<short> ata;  // empty: no ata
};

// Vectors as places hold them, and odd ones no place gives but the code
// must still carry: a total that is not the sum, a place without entries,
// an entry of 0, descending places.
std::vector<Contents> Samples()
{
    std::vector<Contents> s;
    s.push_back({"empty", Pms{0, nullptr}, {}});
    s.push_back({"empty with zero ata", Pms{0, nullptr}, {0, 0, 0}});
    s.push_back({"one token", MakePms({{0, {{0, 1}}}}), {}});
    s.push_back({"one token, other ata", MakePms({{0, {{0, 1}}}}), {0, 2, 0}});
    s.push_back({"one token, zero ata", MakePms({{0, {{0, 1}}}}), {0, 0, 0}});
    s.push_back({"two tokens", MakePms({{0, {{0, 2}}}}), {}});
    s.push_back({"next place", MakePms({{1, {{0, 1}}}}), {}});
    s.push_back({"colours", MakePms({{3, {{0, 4}, {5, 65535}}}, {32766, {{32766, 7}}}}), {1, 0, 3}});
    Pms total = MakePms({{2, {{1, 3}}}});
    total.places[0].quant = 9;  // tokens without a colour slot
    s.push_back({"total above the sum", total, {}});
    Pms none = MakePms({{2, {}}});
    none.places[0].quant = 4;
    s.push_back({"place without entries", none, {}});
    s.push_back({"entry of zero", MakePms({{2, {{0, 0}, {1, 2}}}}), {}});
    s.push_back({"entry of zero beside a full one", MakePms({{2, {{0, 0}, {1, 65535}}}}), {}});
    s.push_back({"plain places far apart", MakePms({{0, {{0, 255}}}, {300, {{0, 256}}}, {301, {{0, 3}}}}), {}});
    s.push_back({"places descending", MakePms({{5, {{0, 1}}}, {2, {{0, 1}}}}), {}});
    return s;
}

bool SameVectors(const Pms& a, const Pms& b)
{
    if (a.size != b.size) return false;
    for (int i = 0; i < a.size; ++i) {
        const MTms &x = a.places[i], &y = b.places[i];
        if (x.place != y.place || x.kinds != y.kinds || x.quant != y.quant) return false;
        for (int k = 0; k < x.kinds; ++k)
            if (x.entries[k].index != y.entries[k].index || x.entries[k].quant != y.entries[k].quant)
                return false;
    }
    return true;
}

}  // namespace

TEST(MarkingCode, EveryVectorAndAtaReadsBackAsItWas)
{
    ExclusiveCount three(3);
    MarkingCode code;
    DecodedMarking back;
    for (Contents& c : Samples()) {
        const std::uint8_t* bytes = code.Encode(c.pms, c.ata.empty() ? nullptr : c.ata.data());
        EXPECT_EQ(CodeSize(bytes), code.Size()) << c.what;
        // Read from storage of exactly the code's size: decoding must not
        // read beyond it.
        std::vector<std::uint8_t> alone(bytes, bytes + code.Size());
        back.Decode(alone.data());
        EXPECT_TRUE(SameVectors(back.GetPms(), c.pms)) << c.what;
        if (c.ata.empty()) {
            EXPECT_EQ(back.GetAta(), nullptr) << c.what;
        } else {
            ASSERT_NE(back.GetAta(), nullptr) << c.what;
            EXPECT_EQ(std::vector<short>(back.GetAta(), back.GetAta() + 3), c.ata) << c.what;
        }
        clear_pms(c.pms);
    }
}

// The store compares codes byte by byte: they must be equal exactly when
// the markings are.
TEST(MarkingCode, CodesAreEqualExactlyWhenTheContentsAre)
{
    ExclusiveCount three(3);
    std::vector<Contents> samples = Samples();
    std::vector<std::vector<std::uint8_t>> codes;
    for (const Contents& c : samples) {
        MarkingCode code;
        const std::uint8_t* bytes = code.Encode(c.pms, c.ata.empty() ? nullptr : c.ata.data());
        codes.emplace_back(bytes, bytes + code.Size());
    }
    for (std::size_t i = 0; i < samples.size(); ++i)
        for (std::size_t j = 0; j < samples.size(); ++j) {
            EXPECT_EQ(CodesEqual(codes[i].data(), codes[j].data()), i == j)
                << samples[i].what << " / " << samples[j].what;
            if (i == j) {
                EXPECT_EQ(CodeHash(codes[i].data()), CodeHash(codes[j].data()));
            }
        }
    for (Contents& c : samples) clear_pms(c.pms);
}

// The layout decides the bytes every stored marking takes. One token on
// place 0, no ata: bits (first to last) 0 no ata, 1 exact, 010 for two
// places' worth (one place + 1), then 1 1 1 1 for gap 1, one entry, slot gap
// 1 and quantity 1: 0,1,0,1,0,1,1,1 | 1.
TEST(MarkingCode, OneTokenTakesTheDocumentedBits)
{
    ExclusiveCount none(0);
    Pms pms = MakePms({{0, {{0, 1}}}});
    MarkingCode code;
    const std::uint8_t* bytes = code.Encode(pms, nullptr);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes, bytes + code.Size()),
              (std::vector<std::uint8_t>{2, 0xEA, 0x01}));
    clear_pms(pms);
}

// The ata's count of entries that are not 0 precedes them, whether they lie
// in the tail after the last block of 32 entries or in a block. One
// token on place 0 with entries 2 at index 1 and 1 at index 5: 1 ata, 1
// exact, 010, 1111 as above: 1,1,0,1,0,1,1,1 | 1; then 011 for two entries
// + 1, 010 010 for gap 2 and value 2, 00100 1 for gap 4 and value 1:
// ...,0,1,1,0,1,0,0 | 1,0,0,0,1,0,0,1.
TEST(MarkingCode, AnAtasEntriesTakeTheDocumentedBitsAtEveryWidth)
{
    Pms pms = MakePms({{0, {{0, 1}}}});
    for (unsigned short width : {6, 7, 31, 32, 33, 300}) {
        ExclusiveCount count(width);
        std::vector<short> ata(width, 0);
        ata[1] = 2;
        ata[5] = 1;
        MarkingCode code;
        const std::uint8_t* bytes = code.Encode(pms, ata.data());
        EXPECT_EQ(std::vector<std::uint8_t>(bytes, bytes + code.Size()),
                  (std::vector<std::uint8_t>{3, 0xEB, 0x2D, 0x91}))
            << "width " << width;
    }
    clear_pms(pms);
}

TEST(MarkingCode, LongCodesCarryTheirLengthInTwoBytes)
{
    ExclusiveCount none(0);
    std::vector<PlaceLiteral> places;
    Pms pms;
    MTmsEntry* room = alloc_pms(pms, 300, 300);
    for (short p = 0; p < 300; ++p) {
        pms.places[p] = MTms{static_cast<short>(3 * p), 1, static_cast<unsigned short>(p + 1), room};
        *room++ = MTmsEntry{0, static_cast<unsigned short>(p + 1)};
    }
    MarkingCode code;
    const std::uint8_t* bytes = code.Encode(pms, nullptr);
    EXPECT_GT(code.Size(), 200u);
    DecodedMarking back;
    back.Decode(bytes);
    EXPECT_TRUE(SameVectors(back.GetPms(), pms));
    clear_pms(pms);
}

namespace {

// Encodes one marking and decodes it into `back`, which has decoded others
// before; answers whether it read back as it was, its active entries
// listed, and appends its code to `codes`.
bool ReadsBack(const Pms& pms, const std::vector<short>& ata, DecodedMarking& back,
               std::set<std::string>& codes)
{
    MarkingCode code;
    const std::uint8_t* bytes = code.Encode(pms, ata.empty() ? nullptr : ata.data());
    std::vector<std::uint8_t> alone(bytes, bytes + code.Size());
    codes.emplace(alone.begin(), alone.end());
    back.Decode(alone.data());
    if (!SameVectors(back.GetPms(), pms)) return false;
    std::vector<unsigned> active;
    for (unsigned i = 0; i < ata.size(); ++i)
        if (ata[i] != 0) active.push_back(i);
    if (back.ActiveEntries() != active) return false;
    if (ata.empty()) return back.GetAta() == nullptr;
    return back.GetAta() && std::equal(ata.begin(), ata.end(), back.GetAta());
}

}  // namespace

// The ata is looked through 32 entries at a time past zeros, small gaps and
// values are written from a table, and a decoding clears only the entries
// the one before it set: every position (in a block of 32, in the tail
// after the last whole block, at the ends), gaps and values on both sides
// of the table's 256, and negative values must read back into storage that
// held other atas, of this width and of others, and different atas must
// keep different codes.
TEST(MarkingCode, WideAtasReadBackWhereverTheirEntriesLie)
{
    Pms token = MakePms({{0, {{0, 1}}}});
    const short values[] = {1, 2, 31, 32, 255, 256, -1, 32767, -32768};
    DecodedMarking back;
    for (unsigned short width : {1, 3, 4, 7, 32, 33, 301}) {
        ExclusiveCount count(width);
        std::set<std::vector<short>> atas;
        atas.insert(std::vector<short>(width, 0));
        for (int p = 0; p < width; ++p)
            for (short v : values) {
                std::vector<short> one(width, 0);
                one[p] = v;
                atas.insert(one);
                for (int apart : {1, 3, 4, 5, 31, 32, 255, 256, 299}) {
                    if (p + apart >= width) continue;
                    std::vector<short> two = one;
                    two[p + apart] = static_cast<short>(v == 1 ? 3 : 1);
                    atas.insert(two);
                }
            }
        std::set<std::string> codes;
        for (const std::vector<short>& ata : atas) {
            ASSERT_TRUE(ReadsBack(token, ata, back, codes)) << "width " << width;
        }
        EXPECT_EQ(codes.size(), atas.size()) << "width " << width;
    }
    clear_pms(token);
}

// The ata's non-zero entries are marked 64 at a time, and blocks of four
// with one multiplication: dense atas, whose entries fill whole blocks and
// straddle the edges of the 64, must read back with every entry in place,
// and atas that differ in one entry must keep different codes.
TEST(MarkingCode, DenseAtasReadBackAcrossBlocksOfSixtyFour)
{
    Pms token = MakePms({{0, {{0, 1}}}});
    for (unsigned short width : {4, 63, 64, 65, 130}) {
        ExclusiveCount count(width);
        std::set<std::vector<short>> atas;
        std::vector<short> all(width, 1);
        atas.insert(all);
        for (int p = 0; p < width; ++p) {
            std::vector<short> hole = all;
            hole[p] = 0;
            atas.insert(hole);
            std::vector<short> other = all;
            other[p] = p % 2 ? short{-32768} : short{300};
            atas.insert(other);
        }
        // Every third entry, and a pattern that changes from block to block.
        std::vector<short> third(width, 0), mixed(width, 0);
        for (int p = 0; p < width; ++p) {
            if (p % 3 == 0) third[p] = static_cast<short>(p + 1);
            if ((p * 7 + p / 4) % 5 < 2) mixed[p] = static_cast<short>(p % 31 + 1);
        }
        atas.insert(third);
        atas.insert(mixed);
        std::set<std::string> codes;
        DecodedMarking back;
        for (const std::vector<short>& ata : atas) {
            ASSERT_TRUE(ReadsBack(token, ata, back, codes)) << "width " << width;
        }
        EXPECT_EQ(codes.size(), atas.size()) << "width " << width;
    }
    clear_pms(token);
}

// A plain place (one entry, slot 0) with a gap and a quantity below 256 is
// written in one piece from the table; each side of that bound must read
// back and keep a code of its own.
TEST(MarkingCode, PlainPlacesReadBackOnBothSidesOfTheTable)
{
    ExclusiveCount none(0);
    std::set<std::string> codes;
    DecodedMarking back;
    int markings = 0;
    for (short gap : {1, 2, 31, 32, 127, 128, 254, 255, 256, 257, 1000})
        for (unsigned quant = 1; quant <= 300; ++quant) {
            auto q = static_cast<unsigned short>(quant);
            // The place after the gap, then one with colours, then a plain one.
            Pms pms = MakePms({{static_cast<short>(gap - 1), {{0, q}}},
                               {static_cast<short>(gap + 2), {{1, q}}},
                               {static_cast<short>(2 * gap + 2), {{0, q}}}});
            EXPECT_TRUE(ReadsBack(pms, {}, back, codes)) << "gap " << gap << ", quantity " << quant;
            ++markings;
            clear_pms(pms);
        }
    EXPECT_EQ(codes.size(), static_cast<std::size_t>(markings));
}

// A flat form is coded as the vector read back from it: its marked places
// (total not 0) with their slots that are not 0, whether or not that vector
// is one the places could hold.
TEST(MarkingCode, FlatFormsAreCodedAsTheVectorsTheyStandFor)
{
    ExclusiveCount three(3);
    // Place 0 plain, 1 without slots, 2 with three colour slots, 3 plain,
    // 299 plain: gaps on both sides of the coder's small table.
    std::vector<std::uint16_t> slots(300, 1);
    slots[1] = 0;
    slots[2] = 3;
    std::vector<std::size_t> word(slots.size());
    std::size_t words = 0;
    for (std::size_t i = 0; i < slots.size(); ++i) {
        word[i] = words;
        words += 1 + slots[i];
    }
    struct Sample {
        const char* what;
        std::vector<std::pair<std::size_t, std::uint16_t>> set;  // (word, value)
        Pms expected;
    };
    auto odd = [](Pms p, unsigned short total) {
        p.places[0].quant = total;
        return p;
    };
    auto withoutEntries = [](short place, unsigned short total) {
        Pms p = MakePms({{place, {}}});
        p.places[0].quant = total;
        return p;
    };
    std::vector<Sample> samples;
    samples.push_back({"empty", {}, Pms{0, nullptr}});
    samples.push_back({"plain places", {{word[0], 2}, {word[0] + 1, 2}, {word[3], 1}, {word[3] + 1, 1}},
                       MakePms({{0, {{0, 2}}}, {3, {{0, 1}}}})});
    samples.push_back({"colours", {{word[2], 5}, {word[2] + 2, 2}, {word[2] + 3, 3}},
                       MakePms({{2, {{1, 2}, {2, 3}}}})});
    samples.push_back({"far and full", {{word[299], 65535}, {word[299] + 1, 65535}, {word[0], 256}, {word[0] + 1, 256}},
                       MakePms({{0, {{0, 256}}}, {299, {{0, 65535}}}})});
    samples.push_back({"total above the sum", {{word[0], 9}, {word[0] + 1, 3}},
                       odd(MakePms({{0, {{0, 3}}}}), 9)});
    samples.push_back({"total without tokens in slots", {{word[2], 4}}, withoutEntries(2, 4)});
    samples.push_back({"plain total without its slot", {{word[3], 5}}, withoutEntries(3, 5)});
    samples.push_back({"tokens in slots without a total", {{word[3] + 1, 7}, {word[2] + 1, 1}}, Pms{0, nullptr}});
    MarkingCode flatCode, code;
    const std::vector<short> ata{0, 5, 1};
    for (const Sample& s : samples) {
        std::vector<std::uint16_t> flat(words, 0);
        for (auto [w, value] : s.set) flat[w] = value;
        for (const short* a : {static_cast<const short*>(nullptr), ata.data()}) {
            const std::uint8_t* got = flatCode.EncodeFlat(flat.data(), FlatLayout(slots), a);
            const std::uint8_t* want = code.Encode(s.expected, a);
            EXPECT_TRUE(CodesEqual(got, want)) << s.what << (a ? " with ata" : "");
        }
    }
    for (Sample& s : samples) clear_pms(s.expected);
}

// A layout of plain places only is coded in a pass of its own, which must
// hand every place it cannot write as the commonest kind (a count of 256 or
// more, a gap of 256 or more, a total that is not its slot's count) to the
// general coding, and give what that gives.
TEST(MarkingCode, FlatFormsOfPlainPlacesOnlyAreCodedAsTheVectorsTheyStandFor)
{
    ExclusiveCount three(3);
    const FlatLayout layout(std::vector<std::uint16_t>(300, 1));
    ASSERT_TRUE(layout.AllPlain());
    struct Sample {
        const char* what;
        std::vector<std::pair<std::size_t, std::uint16_t>> set;  // (place, total and slot)
        Pms expected;
        std::size_t odd = 0;  // a place whose slot word is set to `slot` instead
        std::uint16_t slot = 0;
    };
    Pms above = MakePms({{4, {{0, 3}}}});
    above.places[0].quant = 9;
    Pms bare = MakePms({{7, {}}});
    bare.places[0].quant = 5;
    std::vector<Sample> samples;
    samples.push_back({"empty", {}, Pms{0, nullptr}});
    samples.push_back({"small", {{0, 2}, {3, 1}, {31, 31}}, MakePms({{0, {{0, 2}}}, {3, {{0, 1}}}, {31, {{0, 31}}}})});
    samples.push_back({"largest gap and count of the pass", {{0, 255}, {255, 1}},
                       MakePms({{0, {{0, 255}}}, {255, {{0, 1}}}})});
    samples.push_back({"gap of 256", {{0, 1}, {256, 1}}, MakePms({{0, {{0, 1}}}, {256, {{0, 1}}}})});
    samples.push_back({"first place at 256", {{256, 1}}, MakePms({{256, {{0, 1}}}})});
    samples.push_back({"count of 256", {{1, 1}, {2, 256}}, MakePms({{1, {{0, 1}}}, {2, {{0, 256}}}})});
    samples.push_back({"total above its slot", {{4, 9}}, above, 4, 3});
    samples.push_back({"total without its slot", {{7, 5}}, bare, 7, 0});
    samples.push_back({"slot without a total", {{1, 1}}, MakePms({{1, {{0, 1}}}}), 9, 7});
    MarkingCode flatCode, code;
    const std::vector<short> ata{0, 5, 1};
    for (const Sample& s : samples) {
        std::vector<std::uint16_t> flat(layout.Words(), 0);
        for (auto [place, count] : s.set) flat[2 * place] = flat[2 * place + 1] = count;
        if (s.odd || s.slot) flat[2 * s.odd + 1] = s.slot;
        for (const short* a : {static_cast<const short*>(nullptr), ata.data()}) {
            const std::uint8_t* got = flatCode.EncodeFlat(flat.data(), layout, a);
            const std::uint8_t* want = code.Encode(s.expected, a);
            EXPECT_TRUE(CodesEqual(got, want)) << s.what << (a ? " with ata" : "");
        }
    }
    for (Sample& s : samples) clear_pms(s.expected);
}

// A code read into a flat form gives the words of the places it names and
// its ata; a vector the flat form cannot hold as it is (not built from
// place contents, or naming a place or slot the layout lacks) is refused.
TEST(MarkingCode, CodesReadIntoFlatFormsWhereTheyFit)
{
    ExclusiveCount three(3);
    // Place 0 plain, 1 without slots, 2 with three colour slots, 3 plain.
    const std::vector<std::uint16_t> slots{1, 0, 3, 1};
    const FlatLayout layout(slots);
    ASSERT_EQ(layout.Words(), 9u);
    struct Sample {
        const char* what;
        Pms pms;
        std::vector<std::uint16_t> flat;  // empty: refused
    };
    Pms above = MakePms({{0, {{0, 3}}}});
    above.places[0].quant = 9;
    std::vector<Sample> samples{
        {"empty", Pms{0, nullptr}, std::vector<std::uint16_t>(9, 0)},
        // Place 2's total wraps as the places' own totals do.
        {"plain and coloured",
         MakePms({{0, {{0, 2}}}, {2, {{0, 4}, {2, 65535}}}, {3, {{0, 300}}}}),
         {2, 2, 0, 3, 4, 0, 65535, 300, 300}},
        {"total above the sum", above, {}},
        {"a place without slots", MakePms({{1, {{0, 1}}}}), {}},
        {"a place beyond the layout", MakePms({{4, {{0, 1}}}}), {}},
        {"a slot beyond its place's", MakePms({{2, {{3, 1}}}}), {}},
        {"a second slot of a plain place", MakePms({{3, {{1, 1}}}}), {}},
    };
    MarkingCode code;
    DecodedMarking read;
    const std::vector<short> ata{0, 5, 1};
    for (const Sample& s : samples)
        for (const short* a : {static_cast<const short*>(nullptr), ata.data()}) {
            std::vector<std::uint16_t> flat(layout.Words(), 7);
            const bool fits = read.DecodeFlat(code.Encode(s.pms, a), layout, flat.data());
            const std::string what = std::string(s.what) + (a ? " with ata" : "");
            ASSERT_EQ(fits, !s.flat.empty()) << what;
            if (!fits) continue;
            EXPECT_EQ(flat, s.flat) << what;
            const short* got = read.GetAta();
            ASSERT_EQ(got != nullptr, a != nullptr) << what;
            if (a) {
                EXPECT_EQ(std::vector<short>(got, got + 3), ata) << what;
            }
        }
    for (Sample& s : samples) clear_pms(s.pms);
}

namespace {

// The vector of plain places with these (place, count) pairs, ascending.
Pms PlainVector(const std::vector<std::pair<short, unsigned short>>& marked)
{
    Pms pms{0, nullptr};
    if (marked.empty()) return pms;
    MTmsEntry* room = alloc_pms(pms, static_cast<int>(marked.size()), static_cast<int>(marked.size()));
    for (std::size_t i = 0; i < marked.size(); ++i) {
        pms.places[i] = MTms{marked[i].first, 1, marked[i].second, room};
        *room++ = MTmsEntry{0, marked[i].second};
    }
    return pms;
}

// Whether the flat form of plain places with these marked places is coded as
// their vector is, and reads back into the same flat form.
bool FlatCodeFits(const FlatLayout& layout, const std::vector<std::pair<short, unsigned short>>& marked)
{
    std::vector<std::uint16_t> flat(layout.Words(), 0);
    for (auto [place, count] : marked) flat[2 * place] = flat[2 * place + 1] = count;
    Pms pms = PlainVector(marked);
    MarkingCode flatCode, code;
    const std::uint8_t* got = flatCode.EncodeFlat(flat.data(), layout, nullptr);
    const bool same = CodesEqual(got, code.Encode(pms, nullptr));
    clear_pms(pms);
    std::vector<std::uint16_t> back(layout.Words(), 7);
    DecodedMarking read;
    return same && read.DecodeFlat(got, layout, back.data()) && back == flat;
}

}  // namespace

// Two plain places of five, 2 tokens on place 1 and 1 on place 4, no ata:
// 0 no ata, 1 exact, 011 for three (two places + 1); 010 gap 2, 1 entry,
// 1 slot gap, 010 quantity 2; 011 gap 3, 1, 1, 1 quantity 1:
// 0,1,0,1,1,0,1,0 | 1,1,0,1,0,0,1,1 | 1,1,1.
TEST(MarkingCode, AFlatFormOfPlainPlacesTakesTheDocumentedBits)
{
    ExclusiveCount none(0);
    const FlatLayout layout(std::vector<std::uint16_t>(5, 1));
    const std::vector<std::uint16_t> flat{0, 0, 2, 2, 0, 0, 0, 0, 1, 1};
    MarkingCode code;
    const std::uint8_t* bytes = code.EncodeFlat(flat.data(), layout, nullptr);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes, bytes + code.Size()),
              (std::vector<std::uint8_t>{3, 0x5A, 0xCB, 0x07}));
}

// The marked places of a flat form are counted four at a time, then one by
// one: a marked place in any lane, or in the places after the last four, at
// every width, must be counted, and so must a place whose slot alone is set
// (which the general coder leaves out).
TEST(MarkingCode, FlatFormsOfPlainPlacesAreCountedAtEveryPosition)
{
    ExclusiveCount none(0);
    for (short width : {1, 2, 3, 4, 5, 6, 7, 8, 9, 13}) {
        const FlatLayout layout(std::vector<std::uint16_t>(static_cast<std::size_t>(width), 1));
        std::vector<std::pair<short, unsigned short>> all;
        for (short p = 0; p < width; ++p) all.emplace_back(p, static_cast<unsigned short>(p % 3 + 1));
        EXPECT_TRUE(FlatCodeFits(layout, all)) << "width " << width;
        for (short p = 0; p < width; ++p) {
            EXPECT_TRUE(FlatCodeFits(layout, {{p, 1}})) << "width " << width << ", place " << p;
            std::vector<std::pair<short, unsigned short>> others = all;
            others.erase(others.begin() + p);
            EXPECT_TRUE(FlatCodeFits(layout, others)) << "width " << width << ", all but " << p;
            // Place p's slot without its total: the code of the others.
            std::vector<std::uint16_t> flat(layout.Words(), 0);
            for (auto [place, count] : others) flat[2 * place] = flat[2 * place + 1] = count;
            flat[2 * p + 1] = 1;
            Pms pms = PlainVector(others);
            MarkingCode flatCode, code;
            EXPECT_TRUE(CodesEqual(flatCode.EncodeFlat(flat.data(), layout, nullptr), code.Encode(pms, nullptr)))
                << "width " << width << ", slot alone at " << p;
            clear_pms(pms);
        }
    }
}

// The code's count of places goes with its two flags in one write while
// its gamma code comes from the table (up to 254 places): 254, 255 and 256
// marked places, and one with a slot that differs from its total only in
// its top bit, must read back.
TEST(MarkingCode, FlatFormsOfManyPlainPlacesReadBack)
{
    ExclusiveCount none(0);
    const FlatLayout layout(std::vector<std::uint16_t>(300, 1));
    for (short marked : {254, 255, 256, 300}) {
        std::vector<std::pair<short, unsigned short>> places;
        for (short p = 0; p < marked; ++p) places.emplace_back(static_cast<short>(p + (300 - marked)), 1);
        EXPECT_TRUE(FlatCodeFits(layout, places)) << marked << " places";
    }
    std::vector<std::uint16_t> flat(layout.Words(), 0);
    flat[2 * 5] = 1;
    flat[2 * 5 + 1] = 0x8001;
    Pms odd = MakePms({{5, {{0, 0x8001}}}});
    odd.places[0].quant = 1;
    MarkingCode flatCode, code;
    EXPECT_TRUE(CodesEqual(flatCode.EncodeFlat(flat.data(), layout, nullptr), code.Encode(odd, nullptr)));
    clear_pms(odd);
}

// Codes are compared and hashed in words that may overlap: at every
// length, with its length in one byte or two, a change of any one byte must
// tell two codes apart and change the hash, and equal codes stored apart
// must compare equal.
TEST(MarkingCode, CodesDifferingInAnyOneByteAreUnequal)
{
    for (std::size_t bytes : {0, 1, 2, 3, 5, 6, 7, 8, 9, 14, 15, 16, 17, 23, 24, 25, 30, 200}) {
        std::vector<std::uint8_t> code;
        if (bytes < 128) {
            code.push_back(static_cast<std::uint8_t>(bytes));
        } else {
            code.push_back(static_cast<std::uint8_t>(0x80 | bytes >> 8));
            code.push_back(static_cast<std::uint8_t>(bytes & 0xFF));
        }
        for (std::size_t i = 0; i < bytes; ++i) code.push_back(static_cast<std::uint8_t>(37 * i + 11));
        ASSERT_EQ(CodeSize(code.data()), code.size());
        const std::vector<std::uint8_t> copy = code;
        EXPECT_TRUE(CodesEqual(code.data(), copy.data())) << bytes;
        EXPECT_EQ(CodeHash(code.data()), CodeHash(copy.data())) << bytes;
        for (std::size_t at = code.size() - bytes; at < code.size(); ++at) {
            std::vector<std::uint8_t> other = code;
            other[at] ^= 0x40;
            EXPECT_FALSE(CodesEqual(code.data(), other.data())) << bytes << " bytes, byte " << at;
            EXPECT_FALSE(CodesEqual(other.data(), code.data())) << bytes << " bytes, byte " << at;
            EXPECT_NE(CodeHash(other.data()), CodeHash(code.data())) << bytes << " bytes, byte " << at;
        }
    }
}
