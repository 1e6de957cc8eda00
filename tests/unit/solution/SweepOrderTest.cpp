#include "solution/SweepOrder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

namespace {

// A scaled matrix whose arrays are malloc'd as scal() makes them, so that
// Renumber can replace ia and d and release() can free them.
struct HeldMatrix {
    ScaledMatrix s;

    HeldMatrix(const std::vector<int>& ia, const std::vector<int>& ja, const std::vector<double>& a,
               const std::vector<double>& d)
    {
        s.ia = Copy(ia);
        s.ja = Copy(ja);
        s.a = Copy(a);
        s.d = Copy(d);
        s.owned = true;
    }
    ~HeldMatrix() { release(s); }

    template <class T>
    static T* Copy(const std::vector<T>& v)
    {
        T* p = static_cast<T*>(std::malloc(v.size() * sizeof(T)));
        std::memcpy(p, v.data(), v.size() * sizeof(T));
        return p;
    }
};

}  // namespace

TEST(SweepOrder, ReversesABreadthFirstSearchOverTheInflows)
{
    // Rows hold inflows: 1 <- 2 (0.5), 2 <- 3 (0.25), 3 <- 1 (1); state 4
    // has no inflow and feeds no one, so the search reaches it last, from
    // a fresh start.
    HeldMatrix m({1, 2, 3, 4, 4}, {0, 2, 3, 1}, {0, 0.5, 0.25, 1.0}, {0, -1, -2, -3, -4});
    SweepOrder order(4, m.s);
    double x[] = {0, 1, 2, 3, 4};
    double ordered[5], back[5];
    order.ToOrder(x, ordered);
    EXPECT_EQ(std::vector<double>(ordered + 1, ordered + 5), (std::vector<double>{4, 3, 2, 1}));
    order.FromOrder(ordered, back);
    EXPECT_EQ(std::vector<double>(back + 1, back + 5), (std::vector<double>{1, 2, 3, 4}));

    // Inflows x_j |s_ij|: 1 from 2 (1), 2 from 3 (0.75), 3 from 1 (1). In
    // the natural order only state 3's comes from a state already updated;
    // in the reverse one states 1's and 2's do.
    SweepOrder::Shares shares = order.UpdatedShares(m.s, x);
    EXPECT_NEAR(shares.natural, 1.0 / 2.75, 1e-15);
    EXPECT_NEAR(shares.reordered, 1.75 / 2.75, 1e-15);

    // Renumbered, the third row is state 2's: its inflow from state 3, now
    // the second.
    order.Renumber(m.s);
    ASSERT_EQ(m.s.ia[3] - m.s.ia[2], 1);
    EXPECT_EQ(m.s.ja[m.s.ia[2]], 2);
    EXPECT_EQ(m.s.a[m.s.ia[2]], 0.25);
    EXPECT_EQ(m.s.d[3], -2);
}

TEST(SweepOrder, RenumbersInPlaceAsAPlainCopyWould)
{
    // Rows of 0 to 40 entries (the longest beyond a share of the entries,
    // empty rows among them) and a spare entry past the end, as the chain's
    // arrays have room for the diagonal the scaling removed; the rows are
    // renumbered over many shares, and the result must be the plain
    // renumbered copy entry for entry, the spare entry untouched.
    std::mt19937 random(7);
    const int n = 600;
    std::vector<int> ia{1}, ja{0};
    std::vector<double> a{0.0}, d{0.0};
    for (int i = 1; i <= n; ++i) {
        int length = i % 97 == 0 ? 40 : static_cast<int>(random() % 6);
        for (int k = 0; k < length; ++k) {
            ja.push_back(1 + static_cast<int>(random() % n));
            a.push_back(std::uniform_real_distribution<double>(-1.0, 0.0)(random));
        }
        ia.push_back(static_cast<int>(ja.size()));
        d.push_back(-1.0 - i);
    }
    ja.push_back(-7);
    a.push_back(-7.0);
    HeldMatrix m(ia, ja, a, d);
    SweepOrder order(n, m.s);

    // The plain copy: state by state in the order, columns renumbered.
    std::vector<double> in_order(n + 1), numbers(n + 1);
    for (int i = 1; i <= n; ++i) numbers[i] = i;
    order.ToOrder(numbers.data(), in_order.data());
    std::vector<int> position(n + 1), copy_ia{1}, copy_ja{0};
    std::vector<double> copy_a{0.0}, copy_d{0.0};
    for (int r = 1; r <= n; ++r) position[static_cast<int>(in_order[r])] = r;
    for (int r = 1; r <= n; ++r) {
        int i = static_cast<int>(in_order[r]);
        for (int e = ia[i - 1]; e < ia[i]; ++e) {
            copy_ja.push_back(position[ja[e]]);
            copy_a.push_back(a[e]);
        }
        copy_ia.push_back(static_cast<int>(copy_ja.size()));
        copy_d.push_back(d[i]);
    }

    order.Renumber(m.s);
    int entries = ia[n];
    EXPECT_EQ(std::vector<int>(m.s.ia, m.s.ia + n + 1), copy_ia);
    EXPECT_EQ(std::vector<int>(m.s.ja + 1, m.s.ja + entries), std::vector<int>(copy_ja.begin() + 1, copy_ja.end()));
    EXPECT_EQ(std::vector<double>(m.s.a + 1, m.s.a + entries), std::vector<double>(copy_a.begin() + 1, copy_a.end()));
    EXPECT_EQ(std::vector<double>(m.s.d + 1, m.s.d + n + 1), std::vector<double>(copy_d.begin() + 1, copy_d.end()));
    EXPECT_EQ(m.s.ja[entries], -7);
    EXPECT_EQ(m.s.a[entries], -7.0);
}
