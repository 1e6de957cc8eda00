// Gamma-coded marking contents, see MarkingCode.h. Bits are written from
// the least significant end of each byte; a gamma code of n >= 1 is
// floor(log2 n) zeros, a one, then the bits of n below its leading one.
#include "statedata/MarkingCode.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstring>

#include "statedata/NetCounts.h"
#include "statedata/NonZeroBits.h"

namespace {

// The zeros, the leading one and the bits below it of a gamma code of
// n < 2^16, as one value of 2 * bit_width(n) - 1 bits.
constexpr std::uint64_t GammaBits(std::uint32_t n)
{
    int width = std::bit_width(n);
    std::uint64_t top = std::uint64_t{1} << (width - 1);
    return top | (std::uint64_t{n ^ static_cast<std::uint32_t>(top)} << width);
}

// The gamma codes of 1 to 255, looked up for the numbers of a plain place
// and of an ata entry.
struct SmallGamma {
    std::uint16_t bits;
    std::uint8_t length;
};
constexpr std::array<SmallGamma, 256> kSmallGammas = [] {
    std::array<SmallGamma, 256> table{};
    for (std::uint32_t n = 1; n < 256; ++n)
        table[n] = SmallGamma{static_cast<std::uint16_t>(GammaBits(n)),
                              static_cast<std::uint8_t>(2 * std::bit_width(n) - 1)};
    return table;
}();

// The codes of the commonest pairs, a gap and a number both below 32, with
// `between` one bits between them, whole: the plain place (its gap, then
// entry count 1 and slot gap 1, then its quantity) and the ata entry (its
// gap, then its value).
struct SmallCode {
    std::uint32_t bits;
    std::uint32_t length;
};
constexpr std::array<SmallCode, 1024> SmallPairCodes(int between)
{
    std::array<SmallCode, 1024> table{};
    for (std::uint32_t a = 1; a < 32; ++a)
        for (std::uint32_t b = 1; b < 32; ++b) {
            const SmallGamma x = kSmallGammas[a];
            const SmallGamma y = kSmallGammas[b];
            table[a << 5 | b] = SmallCode{
                static_cast<std::uint32_t>(x.bits | ((1u << between) - 1) << x.length |
                                           std::uint32_t{y.bits} << (x.length + between)),
                static_cast<std::uint32_t>(x.length + between + y.length)};
        }
    return table;
}
constexpr auto kPlainPlaceCodes = SmallPairCodes(2);
constexpr auto kAtaEntryCodes = SmallPairCodes(0);

// kReserved: the caller knows a bound on the code's length and takes room
// for it once, so that no flush checks for room.
template <bool kReserved = false>
class BitWriter {
public:
    // Writes after `start` bytes of `into` (room for the code's length),
    // which gets room for `room` bytes in all first.
    explicit BitWriter(std::vector<std::uint8_t>& into, std::size_t start = 2, std::size_t room = 64)
        : out(into), written(start)
    {
        if (out.size() < room) out.resize(room);
        data = out.data();
    }

    // Up to 32 bits, the first of them the least significant.
    [[gnu::always_inline]] void Bits(std::uint64_t value, int count)
    {
        // fill < 32 before, so that nothing is shifted out and one flush
        // brings it below 32 again.
        acc |= value << fill;
        fill += count;
        if (fill >= 32) {
            Room();
            const auto low = static_cast<std::uint32_t>(acc);
            std::memcpy(data + written, &low, 4);
            written += 4;
            acc >>= 32;
            fill -= 32;
        }
    }
    [[gnu::always_inline]] void Gamma(std::uint32_t n)
    {
        if (n < kSmallGammas.size()) {
            const SmallGamma g = kSmallGammas[n];
            Bits(g.bits, g.length);
            return;
        }
        int width = std::bit_width(n);  // n >= 1
        std::uint64_t top = std::uint64_t{1} << (width - 1);
        if (width <= 16) {
            Bits(GammaBits(n), 2 * width - 1);
        } else {
            Bits(top, width);
            Bits(n ^ top, width - 1);
        }
    }
    // Appends the bits another writer, started at byte 0, has written.
    void Append(const BitWriter<>& other)
    {
        for (std::size_t at = 0; at < other.written; at += 4) {
            std::uint32_t word;
            std::memcpy(&word, other.data + at, 4);
            Bits(word, 32);
        }
        Bits(other.acc, other.fill);
    }
    // Flushes and answers the number of bytes written.
    std::size_t Finish()
    {
        Room();
        std::memcpy(data + written, &acc, 8);
        return written + (fill + 7) / 8;
    }

private:
    template <bool>
    friend class BitWriter;

    void Room()
    {
        if constexpr (!kReserved)
            if (out.size() < written + 8) [[unlikely]]
                data = Grow(out);
    }
    // Apart, so that the writer's state stays in registers.
    [[gnu::noinline]] static std::uint8_t* Grow(std::vector<std::uint8_t>& out)
    {
        out.resize(2 * out.size());
        return out.data();
    }

    std::vector<std::uint8_t>& out;
    std::uint8_t* data;  // out's, again after it grows
    std::size_t written;
    std::uint64_t acc = 0;
    int fill = 0;
};

// Two numbers whose gamma codes, with `between` one bits between them, take
// at most kPairBits bits, read at once by looking up those bits: the plain
// place (its gap, then entry count 1 and slot gap 1, then its quantity) and
// the ata entry (its gap, then its value) of the commonest markings.
struct SmallPair {
    std::uint8_t first;
    std::uint8_t second;
    std::uint8_t length;  // of the bits read; 0 where the codes take more
};
constexpr int kPairBits = 10;

constexpr std::array<SmallPair, 1u << kPairBits> PairTable(int between)
{
    std::array<SmallPair, 1u << kPairBits> table{};
    for (std::uint32_t a = 1; a < 32; ++a)
        for (std::uint32_t b = 1; b < 32; ++b) {
            const int lengthA = 2 * std::bit_width(a) - 1;
            const int length = lengthA + between + 2 * std::bit_width(b) - 1;
            if (length > kPairBits) continue;
            const std::uint64_t bits = GammaBits(a) | ((std::uint64_t{1} << between) - 1) << lengthA |
                                       GammaBits(b) << (lengthA + between);
            // Whatever follows the two codes.
            for (std::uint64_t after = 0; after < (std::uint64_t{1} << (kPairBits - length)); ++after)
                table[bits | after << length] = SmallPair{static_cast<std::uint8_t>(a),
                                                          static_cast<std::uint8_t>(b),
                                                          static_cast<std::uint8_t>(length)};
        }
    return table;
}
constexpr auto kPlainPlaces = PairTable(2);
constexpr auto kAtaEntries = PairTable(0);

// The bytes a BitReader may load beyond the last bit it takes.
constexpr std::size_t kReadAhead = 15;

// Reads bits from storage that holds kReadAhead bytes more than are read.
class BitReader {
public:
    explicit BitReader(const std::uint8_t* data) : p(data) {}

    bool Bit() { return Take(1) != 0; }
    // The entry of `table` that the next bits pick (as many as the table
    // has entries); Skip then passes the bits it stands for.
    template <class Entry, std::size_t N>
    Entry Look(const std::array<Entry, N>& table)
    {
        static_assert(std::has_single_bit(N) && N <= (std::size_t{1} << 56));
        Refill();
        return table[acc & (N - 1)];
    }
    void Skip(int count) { Drop(count); }
    // Gamma codes of numbers below 2^28: no code that Encode writes has more.
    std::uint32_t Gamma()
    {
        Refill();
        int zeros = std::countr_zero(acc | (std::uint64_t{1} << 63));
        std::uint64_t below = (acc >> (zeros + 1)) & ((std::uint64_t{1} << zeros) - 1);
        Drop(2 * zeros + 1);
        return static_cast<std::uint32_t>((std::uint64_t{1} << zeros) | below);
    }

private:
    std::uint64_t Take(int count)
    {
        Refill();
        std::uint64_t v = acc & ((std::uint64_t{1} << count) - 1);
        Drop(count);
        return v;
    }
    void Drop(int count)
    {
        acc >>= count;
        fill -= count;
    }
    // At least 56 bits in hand, eight bytes loaded at a time: the bits above
    // `fill` are the next ones, so that loading them again changes nothing.
    // p runs up to 7 bytes ahead of the bits taken, and 8 are loaded there.
    void Refill()
    {
        std::uint64_t word;
        std::memcpy(&word, p, 8);
        acc |= word << fill;
        p += (63 - fill) >> 3;
        fill |= 56;
    }

    const std::uint8_t* p;
    std::uint64_t acc = 0;
    int fill = 0;
};

// A gap and a number with `between` one bits between them, `table` holding
// the commonest such codes (SmallPairCodes(between)): in one write where
// both are below 256.
template <int between, class Writer>
[[gnu::always_inline]] inline void WriteSmallPair(Writer& w, const std::array<SmallCode, 1024>& table,
                                                  std::uint32_t gap, std::uint32_t number)
{
    if ((gap | number) < 32) {
        const SmallCode c = table[gap << 5 | number];
        w.Bits(c.bits, static_cast<int>(c.length));
        return;
    }
    if (gap < 256 && number < 256) {
        const SmallGamma g = kSmallGammas[gap];
        const SmallGamma n = kSmallGammas[number];
        w.Bits(std::uint64_t{g.bits} | std::uint64_t{(1u << between) - 1} << g.length |
                   std::uint64_t{n.bits} << (g.length + between),
               g.length + between + n.length);
        return;
    }
    w.Gamma(gap);
    if constexpr (between > 0) w.Bits((1u << between) - 1, between);
    w.Gamma(number);
}

// The commonest place, tokens without colours: its gap, one entry, slot gap
// 1 and the quantity.
template <class Writer>
[[gnu::always_inline]] inline void WritePlainPlace(Writer& w, std::uint32_t gap, std::uint32_t quant)
{
    WriteSmallPair<2>(w, kPlainPlaceCodes, gap, quant);
}

// The has-ata bit, the exact bit and the count of places + 1, in one write
// when the count is small.
template <class Writer>
[[gnu::always_inline]] inline void WriteHead(Writer& w, const short* ata, bool exact, std::uint32_t places)
{
    const std::uint64_t flags = std::uint64_t{ata != nullptr} | std::uint64_t{exact} << 1;
    if (places + 1 < kSmallGammas.size()) {
        const SmallGamma g = kSmallGammas[places + 1];
        w.Bits(flags | std::uint64_t{g.bits} << 2, g.length + 2);
        return;
    }
    w.Bits(flags, 2);
    w.Gamma(places + 1);
}

// A plain place of a flat form from its pair of words, its count and its
// slot's: false unless they are equal and below 256, with a gap below 256.
// The pair with the count xored into its upper half is the count alone
// exactly when the two are equal.
template <class Writer>
[[gnu::always_inline]] inline bool WritePlainPair(Writer& w, std::uint32_t gap, std::uint32_t pair)
{
    const std::uint32_t count = pair ^ (pair << 16);
    // The commonest place first, with one test on its way.
    if ((count | gap) < 32) [[likely]] {
        const SmallCode c = kPlainPlaceCodes[gap << 5 | count];
        w.Bits(c.bits, static_cast<int>(c.length));
        return true;
    }
    if ((count | gap) >= 256) return false;
    WritePlainPlace(w, gap, count);
    return true;
}

// Writes one place of a vector as every vector built from place contents
// is: places and slot indices ascending from 0, every place with entries,
// none of them 0, and every total the sum of its entries. Answers false when
// the place is another one.
[[gnu::always_inline]] inline bool WriteExactPlaceInFull(BitWriter<>& w, const MTms& m, int& previous)
{
    if (m.place <= previous || m.kinds <= 0) return false;
    const auto gap = static_cast<std::uint32_t>(m.place - previous);
    previous = m.place;
    const MTmsEntry& first = m.entries[0];
    if (m.kinds == 1 && first.index == 0 && gap < 256 && first.quant - 1u < 255u) {
        if (first.quant != m.quant) return false;
        WritePlainPlace(w, gap, first.quant);
        return true;
    }
    w.Gamma(gap);
    w.Gamma(static_cast<std::uint32_t>(m.kinds));
    unsigned short sum = 0;
    int slot = -1;
    for (int k = 0; k < m.kinds; ++k) {
        const MTmsEntry& e = m.entries[k];
        if (e.index <= slot || e.quant == 0) return false;
        w.Gamma(static_cast<std::uint32_t>(e.index - slot));
        w.Gamma(e.quant);
        slot = e.index;
        sum = static_cast<unsigned short>(sum + e.quant);
    }
    return sum == m.quant;
}

// The same, the commonest place first, in as few tests as can tell it.
[[gnu::always_inline]] inline bool WriteExactPlace(BitWriter<>& w, const MTms& m, int& previous)
{
    // One entry, at slot 0 and holding the place's total (its two words read
    // as one are the total shifted up), with a gap and a total from 1 to 31.
    const auto gap = static_cast<std::uint32_t>(m.place - previous);
    if (m.kinds == 1 && ((gap - 1) | (m.quant - 1u)) < 31) {
        std::uint32_t entry;
        std::memcpy(&entry, m.entries, sizeof entry);
        static_assert(sizeof(MTmsEntry) == 4 && offsetof(MTmsEntry, quant) == 2);
        if (entry == std::uint32_t{m.quant} << 16) {
            previous = m.place;
            const SmallCode c = kPlainPlaceCodes[gap << 5 | m.quant];
            w.Bits(c.bits, static_cast<int>(c.length));
            return true;
        }
    }
    return WriteExactPlaceInFull(w, m, previous);
}

// Any other vector has its numbers written whole, shifted to be positive.
constexpr std::uint32_t kShift = 32769;

void WriteWholePlace(BitWriter<>& w, const MTms& m)
{
    w.Gamma(static_cast<std::uint32_t>(m.place + kShift));
    w.Gamma(static_cast<std::uint32_t>(m.kinds + kShift));
    w.Gamma(static_cast<std::uint32_t>(m.quant) + 1);
    for (int k = 0; k < m.kinds; ++k) {
        w.Gamma(static_cast<std::uint32_t>(m.entries[k].index + kShift));
        w.Gamma(static_cast<std::uint32_t>(m.entries[k].quant) + 1);
    }
}

// The places of a vector, given to `visit` one by one (it answers false to
// stop), from its places or from its flat form.
struct VectorPlaces {
    const Pms& v;

    int Count() const { return v.size; }
    template <class Visit>
    bool Each(Visit visit) const
    {
        for (int i = 0; i < v.size; ++i)
            if (!visit(v.places[i])) return false;
        return true;
    }
};

// A marked place of a flat form is the place read back from it: its total,
// and its slots that are not 0. The marked places are found first, in one
// pass without branches, so that the code's place count can precede them.
struct FlatPlaces {
    const std::uint16_t* flat;
    const FlatLayout& layout;
    std::vector<std::uint32_t>& marked;  // indices into layout.Places()
    std::vector<MTmsEntry>& entries;     // the entries of the place visited

    int Count() const
    {
        const std::vector<FlatLayout::Place>& places = layout.Places();
        if (marked.size() < places.size()) marked.resize(places.size());
        std::size_t count = 0;
        for (std::size_t j = 0; j < places.size(); ++j) {
            marked[count] = static_cast<std::uint32_t>(j);
            count += flat[places[j].word] != 0;
        }
        markedCount = count;
        return static_cast<int>(count);
    }
    // Place p read back from the flat form, given to `visit`.
    template <class Visitor>
    bool Visit(const FlatLayout::Place& p, Visitor visit) const
    {
        const std::uint16_t* w = flat + p.word;
        if (p.slots == 1) {
            MTmsEntry one{0, w[1]};
            return visit(MTms{p.number, static_cast<short>(w[1] != 0), w[0], &one});
        }
        if (entries.size() < p.slots) entries.resize(p.slots);
        short kinds = 0;
        for (std::uint16_t s = 0; s < p.slots; ++s)
            if (w[1 + s] != 0)
                entries[static_cast<std::size_t>(kinds++)] = MTmsEntry{static_cast<short>(s), w[1 + s]};
        return visit(MTms{p.number, kinds, w[0], entries.data()});
    }
    template <class Visitor>
    bool Each(Visitor visit) const
    {
        for (std::size_t k = 0; k < markedCount; ++k)
            if (!Visit(layout.Places()[marked[k]], visit)) return false;
        return true;
    }

    mutable std::size_t markedCount = 0;
};

// One entry of an ata: its gap to the previous entry that is not 0, then
// its value.
template <class Writer>
[[gnu::always_inline]] inline void WriteAtaEntry(Writer& w, std::uint32_t gap, std::uint16_t value)
{
    WriteSmallPair<0>(w, kAtaEntryCodes, gap, value);
}

// The count of an ata's entries that are not 0 precedes them, so they are
// marked first, in a pass without a branch per entry; they then go straight
// after their count.
struct ListedAta {
    const short* ata;  // null for none
    const std::uint64_t* marked;  // NonZeroWords(no_of_exc_transitions) words
    std::size_t count;
};

[[gnu::always_inline]] inline ListedAta ListAta(const short* ata)
{
    if (!ata) return ListedAta{nullptr, nullptr, 0};
    // Shared by every code: one per code would hold a wide net's marks.
    thread_local std::vector<std::uint64_t> marked;
    const unsigned n = no_of_exc_transitions;
    if (marked.size() < NonZeroWords(n)) marked.resize(NonZeroWords(n));
    return ListedAta{ata, marked.data(), MarkNonZero<sizeof(short)>(ata, n, marked.data())};
}

template <class Writer>
[[gnu::always_inline]] inline void WriteAta(Writer& w, const ListedAta& listed)
{
    w.Gamma(static_cast<std::uint32_t>(listed.count) + 1);
    std::size_t last = static_cast<std::size_t>(-1);
    ForEachMarked(listed.marked, NonZeroWords(no_of_exc_transitions), [&](std::size_t i) {
        WriteAtaEntry(w, static_cast<std::uint32_t>(i - last), static_cast<std::uint16_t>(listed.ata[i]));
        last = i;
        return true;
    });
}

std::size_t LengthBytes(std::size_t n) { return n < 128 ? 1 : 2; }

// Ends the code in `w`, whose vector is written, with the ata; answers
// where it starts in `bytes`, and its size.
template <class Writer>
[[gnu::always_inline]] inline const std::uint8_t* Close(Writer& w, const ListedAta& ata,
                                                        std::vector<std::uint8_t>& bytes,
                                                        std::size_t& size)
{
    if (ata.ata) WriteAta(w, ata);
    std::size_t n = w.Finish() - 2;
    // The length goes in front of the bits, in one byte when it can.
    std::size_t head = LengthBytes(n);
    if (head == 1) {
        bytes[1] = static_cast<std::uint8_t>(n);
        size = n + 1;
        return bytes.data() + 1;
    }
    bytes[0] = static_cast<std::uint8_t>(0x80 | (n >> 8));
    bytes[1] = static_cast<std::uint8_t>(n & 0xFF);
    size = n + 2;
    return bytes.data();
}

}  // namespace

// The code of a vector that is not exact: the has-ata bit, a clear exact
// bit, and the numbers whole.
template <class Places>
const std::uint8_t* MarkingCode::WriteWhole(const Places& places, const short* ata)
{
    BitWriter<> w(bytes);
    WriteHead(w, ata, false, static_cast<std::uint32_t>(places.Count()));
    places.Each([&](const MTms& m) {
        WriteWholePlace(w, m);
        return true;
    });
    return Close(w, ListAta(ata), bytes, size);
}

// The has-ata bit, then the exact bit, set until a place proves otherwise;
// then the code is written again with numbers whole. The places are written
// in this loop, not through a visitor, so that the writer stays in registers.
const std::uint8_t* MarkingCode::Encode(const Pms& pms, const short* ata)
{
    const Pms v = pms.places && pms.size > 0 ? pms : Pms{0, nullptr};
    BitWriter<> w(bytes);
    WriteHead(w, ata, true, static_cast<std::uint32_t>(v.size));
    int previous = -1;
    for (int i = 0; i < v.size; ++i)
        if (!WriteExactPlace(w, v.places[i], previous)) return WriteWhole(VectorPlaces{v}, ata);
    return Close(w, ListAta(ata), bytes, size);
}

// The marked places (their pair of words not 0) are marked first, in a
// pass without a branch per place, so that their count goes before them
// and the loop that writes them visits them alone. The code's length is
// then bounded (a place takes at most 32 bits, an ata entry 64), so that
// the writer never checks for room.
const std::uint8_t* MarkingCode::EncodePlain(const std::uint16_t* flat, std::size_t places,
                                             const short* ata)
{
    // Shared by every code, as the ata's marks are.
    thread_local std::vector<std::uint64_t> marked;
    const std::size_t words = NonZeroWords(places);
    if (marked.size() < words) marked.resize(words);
    const auto count = static_cast<std::uint32_t>(MarkNonZero<4>(flat, places, marked.data()));
    const ListedAta listed = ListAta(ata);
    BitWriter<true> w(bytes, 2, 40 + 4 * std::size_t{count} + 8 * listed.count);
    WriteHead(w, ata, true, count);
    std::size_t previous = static_cast<std::size_t>(-1);
    const bool plain = ForEachMarked(marked.data(), words, [&](std::size_t i) {
        std::uint32_t pair;
        std::memcpy(&pair, flat + 2 * i, 4);
        if (!WritePlainPair(w, static_cast<std::uint32_t>(i - previous), pair)) return false;
        previous = i;
        return true;
    });
    if (!plain) return nullptr;
    return Close(w, listed, bytes, size);
}

const std::uint8_t* MarkingCode::EncodeFlat(const std::uint16_t* flat, const FlatLayout& layout,
                                            const short* ata)
{
    if (layout.AllPlain())
        if (const std::uint8_t* code = EncodePlain(flat, layout.PlaceCount(), ata)) return code;
    return EncodeMixed(flat, layout, ata);
}

// The marked places go to bits of their own first, in one pass: the count
// that precedes them in the code is known only once they are written.
const std::uint8_t* MarkingCode::EncodeMixed(const std::uint16_t* flat, const FlatLayout& layout,
                                             const short* ata)
{
    // Shared by every code, as the ata's entries are.
    thread_local std::vector<std::uint32_t> markedPlaces;
    thread_local std::vector<MTmsEntry> placeEntries;
    thread_local std::vector<std::uint8_t> placeBytes;
    const FlatPlaces places{flat, layout, markedPlaces, placeEntries};
    BitWriter<> marked(placeBytes, 0);
    std::uint32_t count = 0;
    int previous = -1;
    for (const FlatLayout::Place& p : layout.Places()) {
        const std::uint16_t* c = flat + p.word;
        if (c[0] == 0) continue;
        ++count;
        const auto gap = static_cast<std::uint32_t>(p.number - previous);
        // The commonest place straight from its words (its total, not 0,
        // is its one slot's count).
        if (p.slots == 1 && c[1] == c[0] && gap < 256 && c[0] < 256) {
            previous = p.number;
            WritePlainPlace(marked, gap, c[0]);
            continue;
        }
        if (!places.Visit(p, [&](const MTms& m) { return WriteExactPlace(marked, m, previous); }))
            return WriteWhole(places, ata);
    }
    BitWriter<> w(bytes);
    WriteHead(w, ata, true, count);
    w.Append(marked);
    return Close(w, ListAta(ata), bytes, size);
}

std::size_t CodeSize(const std::uint8_t* code)
{
    if (code[0] < 128) return 1 + code[0];
    return 2 + ((std::size_t{code[0]} & 0x7F) << 8 | code[1]);
}

namespace {

// The last `count` (below 8) bytes of a code as one number, with loads that
// may overlap but never pass its end: a call to copy them would cost more
// than the hash itself. Each of the bytes is in the number.
std::uint64_t Tail(const std::uint8_t* p, std::size_t count)
{
    if (count >= 4) {
        std::uint32_t first, last;
        std::memcpy(&first, p, 4);
        std::memcpy(&last, p + count - 4, 4);
        return first | std::uint64_t{last} << 32;
    }
    if (count == 0) return 0;
    return p[0] | std::uint64_t{p[count / 2]} << 8 | std::uint64_t{p[count - 1]} << 16;
}

}  // namespace

// A code of 8 bytes or more is taken 8 bytes at a time, the last 8 in a
// load that may overlap the one before: its length, in the hash, tells
// apart codes that agree in every load. No branch then depends on the
// length of the tail, which varies from code to code.
std::uint64_t CodeHash(const std::uint8_t* code)
{
    const std::size_t n = CodeSize(code);
    std::uint64_t h = 0x9E3779B97F4A7C15ull ^ n;
    std::uint64_t last;
    if (n < 8) {
        last = Tail(code, n);
    } else {
        for (std::size_t i = 0; i + 8 < n; i += 8) {
            std::uint64_t w;
            std::memcpy(&w, code + i, 8);
            h = (h ^ w) * 0xBF58476D1CE4E5B9ull;
            h ^= h >> 31;
        }
        std::memcpy(&last, code + n - 8, 8);
    }
    h = (h ^ last) * 0x94D049BB133111EBull;
    return h ^ (h >> 29);
}

bool CodesEqual(const std::uint8_t* a, const std::uint8_t* b)
{
    const std::size_t n = CodeSize(a);
    if (n != CodeSize(b)) return false;
    // The commonest codes, of 16 bytes at most, in loads that may overlap
    // but never pass their end: a call would cost more than the comparison.
    if (n < 8) return Tail(a, n) == Tail(b, n);
    if (n > 16) return std::memcmp(a, b, n) == 0;
    std::uint64_t a0, a1, b0, b1;
    std::memcpy(&a0, a, 8);
    std::memcpy(&b0, b, 8);
    std::memcpy(&a1, a + n - 8, 8);
    std::memcpy(&b1, b + n - 8, 8);
    return ((a0 ^ b0) | (a1 ^ b1)) == 0;
}

namespace {

// The bits of a code, read from a copy with zero bytes after it.
BitReader ReadFromCopy(const std::uint8_t* code, std::vector<std::uint8_t>& padded)
{
    std::size_t head = code[0] < 128 ? 1 : 2;
    std::size_t n = CodeSize(code) - head;
    if (padded.size() < n + kReadAhead) padded.resize(n + kReadAhead);
    std::uint8_t* copy = padded.data();
    const std::uint8_t* from = code + head;
    if (n >= 8 && n <= 16) {
        // The commonest codes in two loads that may overlap: a call would
        // cost more than the copy.
        std::uint64_t first, last;
        std::memcpy(&first, from, 8);
        std::memcpy(&last, from + n - 8, 8);
        std::memcpy(copy, &first, 8);
        std::memcpy(copy + n - 8, &last, 8);
    } else {
        std::memcpy(copy, from, n);
    }
    std::memset(copy + n, 0, kReadAhead);
    return BitReader(copy);
}

// Reads the ata, when the code has one, into `ata`, whose entries that are
// not 0 are `active`, before as after: a wide net's ata is mostly zeros, so
// only those are cleared, not the whole array.
// Inline, so that the reader stays in registers; `active` is resized from
// the last ata's count, not from none, so that its entries need not be
// cleared first.
[[gnu::always_inline]] inline void ReadAta(BitReader& r, bool hasAta, std::vector<short>& ata,
                                           std::vector<unsigned>& active)
{
    if (ata.size() != no_of_exc_transitions) {
        ata.assign(no_of_exc_transitions, 0);
    } else {
        for (unsigned i : active) ata[i] = 0;
    }
    if (!hasAta) {
        active.clear();
        return;
    }
    active.resize(r.Gamma() - 1);
    int i = -1;
    for (unsigned& k : active) {
        const SmallPair entry = r.Look(kAtaEntries);
        if (entry.length != 0) {
            r.Skip(entry.length);
            i += entry.first;
            ata[static_cast<std::size_t>(i)] = entry.second;
        } else {
            i += static_cast<int>(r.Gamma());
            ata[static_cast<std::size_t>(i)] = static_cast<short>(r.Gamma());
        }
        k = static_cast<unsigned>(i);
    }
}

}  // namespace

bool DecodedMarking::DecodeFlat(const std::uint8_t* code, const FlatLayout& layout,
                                std::uint16_t* flat)
{
    BitReader r = ReadFromCopy(code, padded);
    const bool withAta = r.Bit();
    if (!r.Bit()) return false;
    std::fill(flat, flat + layout.Words(), 0);
    const std::uint32_t count = r.Gamma() - 1;
    std::size_t place = static_cast<std::size_t>(-1);
    for (std::uint32_t i = 0; i < count; ++i) {
        const SmallPair plain = r.Look(kPlainPlaces);
        if (plain.length != 0) {
            r.Skip(plain.length);
            place += plain.first;
            if (place >= layout.PlaceCount() || layout.Slots(place) == 0) return false;
            std::uint16_t* w = flat + layout.Word(place);
            w[0] = plain.second;
            w[1] = plain.second;
            continue;
        }
        place += r.Gamma();
        const std::uint32_t kinds = r.Gamma();
        if (place >= layout.PlaceCount()) return false;
        std::uint16_t* w = flat + layout.Word(place);
        std::uint32_t slot = static_cast<std::uint32_t>(-1);
        for (std::uint32_t k = 0; k < kinds; ++k) {
            slot += r.Gamma();
            const auto quant = static_cast<std::uint16_t>(r.Gamma());
            if (slot >= layout.Slots(place)) return false;
            w[1 + slot] = quant;
            w[0] = static_cast<std::uint16_t>(w[0] + quant);
        }
    }
    places.clear();
    pms = Pms{0, nullptr};
    hasAta = withAta;
    ReadAta(r, hasAta, ata, active);
    return true;
}

void DecodedMarking::Decode(const std::uint8_t* code)
{
    BitReader r = ReadFromCopy(code, padded);
    hasAta = r.Bit();
    const bool exact = r.Bit();
    const int count = static_cast<int>(r.Gamma() - 1);
    places.resize(static_cast<std::size_t>(count));
    std::size_t used = 0;
    int place = -1;
    for (int i = 0; i < count; ++i) {
        MTms& m = places[static_cast<std::size_t>(i)];
        if (entries.size() < used + 1) entries.resize(2 * (used + 1));
        if (exact) {
            const SmallPair plain = r.Look(kPlainPlaces);
            if (plain.length != 0) {
                r.Skip(plain.length);
                place += plain.first;
                m.place = static_cast<short>(place);
                m.kinds = 1;
                m.quant = plain.second;
                entries[used++] = MTmsEntry{0, plain.second};
                continue;
            }
            place += static_cast<int>(r.Gamma());
            m.kinds = static_cast<short>(r.Gamma());
        } else {
            place = static_cast<int>(r.Gamma()) - static_cast<int>(kShift);
            m.kinds = static_cast<short>(static_cast<int>(r.Gamma()) - static_cast<int>(kShift));
            m.quant = static_cast<unsigned short>(r.Gamma() - 1);
        }
        m.place = static_cast<short>(place);
        int kinds = m.kinds > 0 ? m.kinds : 0;
        if (entries.size() < used + static_cast<std::size_t>(kinds))
            entries.resize(2 * (used + static_cast<std::size_t>(kinds)));
        unsigned short sum = 0;
        int slot = -1;
        for (int k = 0; k < kinds; ++k) {
            MTmsEntry& e = entries[used + static_cast<std::size_t>(k)];
            if (exact) {
                slot += static_cast<int>(r.Gamma());
                e.quant = static_cast<unsigned short>(r.Gamma());
            } else {
                slot = static_cast<int>(r.Gamma()) - static_cast<int>(kShift);
                e.quant = static_cast<unsigned short>(r.Gamma() - 1);
            }
            e.index = static_cast<short>(slot);
            sum = static_cast<unsigned short>(sum + e.quant);
        }
        if (exact) m.quant = sum;
        used += static_cast<std::size_t>(kinds);
    }
    // The entries are pointed to once all are read: the storage may grow.
    used = 0;
    for (MTms& m : places) {
        m.entries = entries.data() + used;
        used += static_cast<std::size_t>(m.kinds > 0 ? m.kinds : 0);
    }
    pms = count ? Pms{static_cast<short>(count), places.data()} : Pms{0, nullptr};
    ReadAta(r, hasAta, ata, active);
}
