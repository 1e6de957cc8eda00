// Gamma-coded marking contents, see MarkingCode.h. Bits are written from
// the least significant end of each byte; a gamma code of n >= 1 is
// floor(log2 n) zeros, a one, then the bits of n below its leading one.
#include "statedata/MarkingCode.h"

#include <bit>
#include <cstring>

#include "statedata/NetCounts.h"

namespace {

class BitWriter {
public:
    explicit BitWriter(std::vector<std::uint8_t>& into) : out(into)
    {
        if (out.size() < 64) out.resize(64);
    }

    void Bit(bool b) { Bits(b ? 1 : 0, 1); }
    // One call: the zeros, the leading one and the bits below it.
    void Gamma(std::uint32_t n)
    {
        int width = std::bit_width(n);  // n >= 1
        std::uint64_t top = std::uint64_t{1} << (width - 1);
        Bits(top | ((n ^ top) << width), 2 * width - 1);
    }
    // Flushes and answers the number of bytes written.
    std::size_t Finish()
    {
        Room();
        std::memcpy(out.data() + written, &acc, 8);
        return written + (fill + 7) / 8;
    }

private:
    void Bits(std::uint64_t value, int count)
    {
        // fill < 32 and count <= 33 here, so that nothing is shifted out.
        acc |= value << fill;
        fill += count;
        while (fill >= 32) {
            Room();
            std::uint32_t low = static_cast<std::uint32_t>(acc);
            std::memcpy(out.data() + written, &low, 4);
            written += 4;
            acc >>= 32;
            fill -= 32;
        }
    }
    void Room()
    {
        if (out.size() < written + 8) out.resize(2 * out.size());
    }

    std::vector<std::uint8_t>& out;
    std::uint64_t acc = 0;
    int fill = 0;
    std::size_t written = 2;  // room for the length
};

class BitReader {
public:
    BitReader(const std::uint8_t* data, std::size_t n) : p(data), end(data + n) {}

    bool Bit() { return Take(1) != 0; }
    std::uint32_t Gamma()
    {
        Refill();
        int zeros = std::countr_zero(acc | (std::uint64_t{1} << 63));
        Drop(zeros + 1);
        return static_cast<std::uint32_t>((std::uint64_t{1} << zeros) | Take(zeros));
    }

private:
    std::uint64_t Take(int count)
    {
        if (count == 0) return 0;
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
    void Refill()
    {
        while (fill <= 56 && p < end) {
            acc |= std::uint64_t{*p++} << fill;
            fill += 8;
        }
    }

    const std::uint8_t* p;
    const std::uint8_t* end;
    std::uint64_t acc = 0;
    int fill = 0;
};

// A vector as every vector built from place contents is: places and slot
// indices ascending from 0, every place with entries, none of them 0, and
// every total the sum of its entries.
bool IsExact(const Pms& pms)
{
    int place = -1;
    for (int i = 0; i < pms.size; ++i) {
        const MTms& m = pms.places[i];
        if (m.place <= place || m.kinds <= 0) return false;
        place = m.place;
        unsigned short sum = 0;
        int slot = -1;
        for (int k = 0; k < m.kinds; ++k) {
            const MTmsEntry& e = m.entries[k];
            if (e.index <= slot || e.quant == 0) return false;
            slot = e.index;
            sum = static_cast<unsigned short>(sum + e.quant);
        }
        if (sum != m.quant) return false;
    }
    return true;
}

// Any other vector has its numbers written whole, shifted to be positive.
constexpr std::uint32_t kShift = 32769;

std::size_t LengthBytes(std::size_t n) { return n < 128 ? 1 : 2; }

}  // namespace

const std::uint8_t* MarkingCode::Encode(const Pms& pms, const short* ata)
{
    const Pms v = pms.places && pms.size > 0 ? pms : Pms{0, nullptr};
    const bool exact = IsExact(v);
    BitWriter w(bytes);
    w.Bit(ata != nullptr);
    w.Bit(exact);
    w.Gamma(static_cast<std::uint32_t>(v.size) + 1);
    int previous = -1;
    for (int i = 0; i < v.size; ++i) {
        const MTms& m = v.places[i];
        if (exact) {
            w.Gamma(static_cast<std::uint32_t>(m.place - previous));
            w.Gamma(static_cast<std::uint32_t>(m.kinds));
        } else {
            w.Gamma(static_cast<std::uint32_t>(m.place + kShift));
            w.Gamma(static_cast<std::uint32_t>(m.kinds + kShift));
            w.Gamma(static_cast<std::uint32_t>(m.quant) + 1);
        }
        previous = m.place;
        int slot = -1;
        for (int k = 0; k < m.kinds; ++k) {
            const MTmsEntry& e = m.entries[k];
            if (exact) {
                w.Gamma(static_cast<std::uint32_t>(e.index - slot));
                w.Gamma(e.quant);
            } else {
                w.Gamma(static_cast<std::uint32_t>(e.index + kShift));
                w.Gamma(static_cast<std::uint32_t>(e.quant) + 1);
            }
            slot = e.index;
        }
    }
    if (ata) {
        std::uint32_t nonZero = 0;
        for (unsigned i = 0; i < no_of_exc_transitions; ++i) nonZero += ata[i] != 0;
        w.Gamma(nonZero + 1);
        int last = -1;
        for (unsigned i = 0; i < no_of_exc_transitions; ++i) {
            if (ata[i] == 0) continue;
            w.Gamma(static_cast<std::uint32_t>(static_cast<int>(i) - last));
            last = static_cast<int>(i);
            w.Gamma(static_cast<std::uint16_t>(ata[i]));
        }
    }
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

std::size_t CodeSize(const std::uint8_t* code)
{
    if (code[0] < 128) return 1 + code[0];
    return 2 + ((std::size_t{code[0]} & 0x7F) << 8 | code[1]);
}

std::uint64_t CodeHash(const std::uint8_t* code)
{
    std::size_t n = CodeSize(code);
    std::uint64_t h = 0x9E3779B97F4A7C15ull ^ n;
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t w;
        std::memcpy(&w, code + i, 8);
        h = (h ^ w) * 0xBF58476D1CE4E5B9ull;
        h ^= h >> 31;
    }
    std::uint64_t tail = 0;
    std::memcpy(&tail, code + i, n - i);
    h = (h ^ tail) * 0x94D049BB133111EBull;
    return h ^ (h >> 29);
}

bool CodesEqual(const std::uint8_t* a, const std::uint8_t* b)
{
    std::size_t n = CodeSize(a);
    return n == CodeSize(b) && std::memcmp(a, b, n) == 0;
}

void DecodedMarking::Decode(const std::uint8_t* code)
{
    std::size_t head = code[0] < 128 ? 1 : 2;
    BitReader r(code + head, CodeSize(code) - head);
    hasAta = r.Bit();
    const bool exact = r.Bit();
    int n = static_cast<int>(r.Gamma() - 1);
    places.resize(static_cast<std::size_t>(n));
    std::size_t used = 0;
    int place = -1;
    for (int i = 0; i < n; ++i) {
        MTms& m = places[static_cast<std::size_t>(i)];
        if (exact) {
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
    pms = n ? Pms{static_cast<short>(n), places.data()} : Pms{0, nullptr};
    if (!hasAta) return;
    ata.assign(no_of_exc_transitions, 0);
    std::uint32_t nonZero = r.Gamma() - 1;
    int i = -1;
    for (std::uint32_t k = 0; k < nonZero; ++k) {
        i += static_cast<int>(r.Gamma());
        ata[static_cast<std::size_t>(i)] = static_cast<short>(r.Gamma());
    }
}
