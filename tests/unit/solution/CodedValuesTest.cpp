#include "solution/CodedValues.h"
#include "solution/StationaryIteration.h"
#include "solution/SweepOrder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

namespace {

template <class T>
T* malloc_copy(const std::vector<T>& v)
{
    T* p = static_cast<T*>(std::malloc(v.size() * sizeof(T)));
    std::memcpy(p, v.data(), v.size() * sizeof(T));
    return p;
}

// A scaled chain of n states: each row's inflows from a few random states,
// values drawn from `choices`; ia, ja, a and d malloc'd as scal() makes them.
struct RandomChain {
    std::vector<int> ia{1}, ja{0};
    std::vector<double> a{0.0}, d{0.0};

    RandomChain(int n, const std::vector<double>& choices, unsigned seed)
    {
        std::mt19937 random(seed);
        for (int i = 1; i <= n; ++i) {
            // State i always gets inflow from i + 1 (the last from 1), so
            // that the chain is irreducible and sweeps against the flow.
            ja.push_back(i == n ? 1 : i + 1);
            a.push_back(choices[random() % choices.size()]);
            for (int k = static_cast<int>(random() % 4); k > 0; --k) {
                ja.push_back(1 + static_cast<int>(random() % n));
                a.push_back(choices[random() % choices.size()]);
            }
            ia.push_back(static_cast<int>(ja.size()));
            d.push_back(-1.0);
        }
    }

    ScaledMatrix Held() const
    {
        ScaledMatrix s;
        s.ia = malloc_copy(ia);
        s.ja = malloc_copy(ja);
        s.a = malloc_copy(a);
        s.d = malloc_copy(d);
        s.owned = true;
        return s;
    }
};

}  // namespace

TEST(CodedValues, CodesEveryValueToTheBitOrGivesUp)
{
    // -0.0 and 0.0 differ in their bits and must keep their signs.
    RandomChain few(500, {-0.25, -1.0 / 3.0, -0.0, 0.0, -0.1}, 1);
    ScaledMatrix s = few.Held();
    ASSERT_TRUE(code_values(500, s));
    for (int e = 1; e < s.ia[500]; ++e) {
        double value = s.table[s.code[e]];
        EXPECT_EQ(std::memcmp(&value, &few.a[e], sizeof value), 0) << e;
    }
    release(s);

    // One distinct value more than a code can tell apart.
    std::vector<double> many(kMostCodedValues + 1);
    for (std::size_t k = 0; k < many.size(); ++k) many[k] = -1.0 / (k + 2.0);
    RandomChain chain(1, {-0.5}, 2);
    chain.ja.assign(many.size() + 1, 1);
    chain.a.assign(1, 0.0);
    chain.a.insert(chain.a.end(), many.begin(), many.end());
    chain.ia = {1, static_cast<int>(chain.ja.size())};
    s = chain.Held();
    EXPECT_FALSE(code_values(1, s));
    EXPECT_EQ(s.code, nullptr);
    EXPECT_EQ(s.table, nullptr);
    ASSERT_NE(s.a, nullptr);
    EXPECT_EQ(std::vector<double>(s.a, s.a + chain.a.size()), chain.a);
    release(s);
}

TEST(CodedValues, SweepsAsThePlainValuesToTheBit)
{
    // SOR AUTO through its trial and its renumbering (the chain sweeps
    // against the flow in its own order), once with the values as they are
    // and once coded: the same iterate, bit for bit.
    const int n = 400;
    RandomChain chain(n, {-0.2, -0.35, -0.05}, 3);
    IterationSettings settings;
    settings.method = IterationMethod::kGaussSeidel;
    settings.trial = true;
    settings.omega = 1.2;
    settings.error_stop = true;
    std::vector<std::vector<double>> results;
    for (bool coded : {false, true}) {
        ScaledMatrix s = chain.Held();
        if (coded) {
            ASSERT_TRUE(code_values(n, s));
        }
        std::vector<double> x(n + 1, 1.0);
        iterate_stationary(settings, n, s, x.data(), 200, 0.0);
        results.push_back(x);
        release(s);
    }
    EXPECT_EQ(std::memcmp(results[0].data(), results[1].data(), (n + 1) * sizeof(double)), 0);
}
