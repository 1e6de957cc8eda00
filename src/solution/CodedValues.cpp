// Two passes over the values: the first finds whether they fit (giving up as
// soon as one value too many turns up), the second writes the codes. Each
// value is looked up by its bit pattern in an open hash table of twice the
// most codes (linear probing), which stays in the second-level cache.
#include "solution/CodedValues.h"

#include "solution/SolverAllocation.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

const char* const kFailure = "sor - for Matrix description";

class ValueCodes {
public:
    ValueCodes() : slot(kSlots, kEmpty) {}

    // The code of value, a new one if it is new; false when there are no
    // codes left.
    bool Code(double value, std::uint16_t& code)
    {
        std::uint64_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        std::uint64_t h = (bits * 0x9E3779B97F4A7C15ull) >> (64 - kSlotBits);
        for (;; h = (h + 1) & (kSlots - 1)) {
            std::uint32_t found = slot[h];
            if (found == kEmpty) break;
            if (keys[found] == bits) {
                code = static_cast<std::uint16_t>(found);
                return true;
            }
        }
        if (static_cast<long>(keys.size()) == kMostCodedValues) return false;
        slot[h] = static_cast<std::uint32_t>(keys.size());
        code = static_cast<std::uint16_t>(keys.size());
        keys.push_back(bits);
        values.push_back(value);
        return true;
    }

    const std::vector<double>& Values() const { return values; }

private:
    static constexpr int kSlotBits = 17;
    static constexpr std::uint64_t kSlots = 1ull << kSlotBits;
    static constexpr std::uint32_t kEmpty = ~0u;
    std::vector<std::uint32_t> slot;  // index into keys, or kEmpty
    std::vector<std::uint64_t> keys;
    std::vector<double> values;
};

}  // namespace

bool code_values(int n, ScaledMatrix& s)
{
    const int end = s.ia[n];
    ValueCodes codes;
    std::uint16_t code = 0;
    for (int e = 1; e < end; ++e)
        if (!codes.Code(s.a[e], code)) return false;
    // Entry e's code goes to bytes 2e and 2e+1, which belonged to a value
    // read already; the bytes are copied, as the storage changes its type.
    auto* bytes = reinterpret_cast<unsigned char*>(s.a);
    for (int e = 1; e < end; ++e) {
        double value;
        std::memcpy(&value, bytes + e * sizeof(double), sizeof value);
        codes.Code(value, code);
        std::memcpy(bytes + e * sizeof code, &code, sizeof code);
    }
    void* shrunk = std::realloc(s.a, static_cast<std::size_t>(end) * sizeof code);
    s.code = static_cast<std::uint16_t*>(shrunk ? shrunk : static_cast<void*>(s.a));
    s.a = nullptr;
    const std::vector<double>& values = codes.Values();
    s.table = allocate<double>(values.empty() ? 1 : values.size(), kFailure);
    std::copy(values.begin(), values.end(), s.table);
    return true;
}
