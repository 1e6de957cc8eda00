// Immediate firings on flat counts against the same firings on the places:
// the weight and the successor's vector must agree for every binding on
// markings that include empty, short and full (wrapping) places.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "CountVector.h"
#include "TestNet.h"
#include "netmodel/MarkingVectors.h"
#include "netmodel/NetArrays.h"
#include "netmodel/PlainImmediates.h"
#include "statedata/NetCounts.h"

namespace {

Pms ViewOf(std::vector<MTms>& places, std::vector<MTmsEntry>& entries)
{
    MTmsEntry* e = entries.data();
    for (MTms& m : places) {
        m.entries = e;
        e += m.kinds;
    }
    return Pms{static_cast<short>(places.size()), places.empty() ? nullptr : places.data()};
}

TEST(PlainImmediates, FiringOnCountsIsFiringOnThePlaces)
{
    TestNet net;
    Place* a = net.AddPlace("a", 1);
    Place* b = net.AddPlace("b");
    Place* c = net.AddPlace("c");
    // Input and output on one place; two inputs on one place; a choice of
    // bindings; bindings needing one place at different counts (the
    // transition needs the least of them); an input of an empty inscription
    // (never enabled).
    net.Add("loop", {{{{a, 2}}, {{b, 1}, {a, 1}}, Imm(1.0)}});
    net.Add("twice", {{{{a, 1}, {a, 2}}, {{c, 3}}, Imm(1.5)}});
    net.Add("choice", {{{{b, 1}}, {{a, 1}}, Imm(2.0)}, {{{c, 2}}, {{b, 1}}, Imm(0.5)}});
    net.Add("more", {{{{a, 1}}, {{b, 1}}, Imm(1.0)}, {{{a, 3}}, {{c, 1}}, Imm(2.0)}});
    net.Add("none", {{{{c, 0}}, {{a, 1}}, Imm(1.0)}});
    net.Add("t", {{{{a, 1}}, {{b, 1}}, Exp(1.0)}});
    net.Finish();

    PlainImmediates plain;
    ASSERT_TRUE(plain.Compile(64));
    NewContentsVector successor;
    successor.Prepare();
    std::vector<std::uint16_t> from(plain.Words()), to(plain.Words());
    const std::vector<unsigned short> values{0, 1, 2, 3, 65534, 65535};
    int fired = 0;
    int ruledOut = 0;  // transitions ruled out before their bindings are tried
    for (unsigned short x : values)
        for (unsigned short y : values)
            for (unsigned short z : values) {
                CountVector marking({x, y, z});
                plain.Flatten(marking.pms, from.data());
                for (unsigned short i = 0; i < no_of_imm_transitions; ++i) {
                    const bool may = plain.ImmediateMayFire(i, from.data());
                    ruledOut += !may;
                    std::size_t k = 0;
                    for (PLElement<Binding>* e = ImmTrans[i]->GetBindings()->first; e; e = e->next, ++k) {
                        InitRefPms(marking.pms);
                        const double expected = e->item->ChkAndFireImm();
                        ASSERT_TRUE(may || expected == 0.0) << i << "/" << k << " ruled out";
                        const double weight = may ? plain.Fire(i, k, from.data(), to.data()) : 0.0;
                        ASSERT_EQ(weight, expected)
                            << i << "/" << k << " at " << x << "," << y << "," << z;
                        if (weight == 0.0) continue;
                        ++fired;
                        std::vector<MTms> places;
                        std::vector<MTmsEntry> entries;
                        plain.Unflatten(to.data(), places, entries);
                        EXPECT_TRUE(pms_eq(ViewOf(places, entries), successor.Make()))
                            << i << "/" << k << " at " << x << "," << y << "," << z;
                    }
                }
            }
    EXPECT_GT(fired, 100);
    EXPECT_GT(ruledOut, 100);
}

// The timed firings of an explored marking on counts against the same on
// the places: an active exclusive binding's value and successor, and an
// infinite-server binding's value, successor and enabling degree, counted
// in closed form (its own inputs) or by firing (an input place read twice,
// an input refilled by an output), or unbounded (no inputs).
TEST(PlainImmediates, TimedFiringOnCountsIsFiringOnThePlaces)
{
    TestNet net;
    Place* a = net.AddPlace("a", 1);
    Place* b = net.AddPlace("b");
    Place* c = net.AddPlace("c");
    net.Add("i", {{{{c, 1}}, {{a, 1}}, Imm(1.0)}});
    net.Add("loop",
            {{{{a, 2}}, {{b, 1}, {a, 1}}, Exp(1.5)}, {{{b, 1}, {b, 2}}, {{c, 3}}, Exp(0.5)}});
    net.Add("serve", {{{{a, 2}}, {{b, 1}}, Exp(0.25)}, {{{a, 1}, {a, 1}}, {{c, 1}}, Exp(0.5)}},
            InfiniteServer);
    net.Add("refill", {{{{b, 2}}, {{b, 1}, {c, 1}}, Exp(2.0)}}, InfiniteServer);
    net.Add("source", {{{}, {{c, 1}}, Exp(3.0)}}, InfiniteServer);
    net.Finish();

    PlainImmediates plain;
    ASSERT_TRUE(plain.Compile(64));
    ASSERT_TRUE(plain.TimedUsable());
    NewContentsVector successor;
    successor.Prepare();
    std::vector<std::uint16_t> from(plain.Words()), to(plain.Words());
    auto sameSuccessor = [&](const Pms& expected) {
        std::vector<MTms> places;
        std::vector<MTmsEntry> entries;
        plain.Unflatten(to.data(), places, entries);
        return pms_eq(ViewOf(places, entries), expected) != 0;
    };
    // Short places, and a few full ones (counted by firing, a full place
    // takes tens of thousands of firings on the places).
    std::vector<std::vector<unsigned short>> markings{
        {65535, 65535, 65535}, {65534, 65535, 0}, {0, 3, 65535}};
    for (unsigned short x : {0, 1, 2, 3, 5})
        for (unsigned short y : {0, 1, 2, 3, 5})
            for (unsigned short z : {0, 1, 2, 3, 5}) markings.push_back({x, y, z});
    int exclusiveFirings = 0, degrees = 0, largest = 0;
    for (const std::vector<unsigned short>& counts : markings) {
        const std::string at = std::to_string(counts[0]) + "," + std::to_string(counts[1]) + "," +
                               std::to_string(counts[2]);
        CountVector marking(counts);
        plain.Flatten(marking.pms, from.data());
        for (unsigned short i = 0; i < no_of_exc_transitions; ++i) {
            Transition& t = *ExcTrans[i];
            for (short k = 1; k <= t.GetBindings()->count; ++k) {
                InitRefPms(marking.pms);
                // Only an enabled binding is active.
                if (!t.IsActEnabled() || !t.GetBindings()->GetLE(k)->IsActEnabled()) continue;
                std::vector<short> ata(no_of_exc_transitions, 0);
                ata[i] = k;
                double value = 0.0;
                Binding* fired = t.FireActive(ata.data(), value);
                const PlainImmediates::TimedFiring f =
                    plain.FireExclusive(i, k, from.data(), to.data());
                ASSERT_EQ(f.binding, fired) << i << "/" << k << " at " << at;
                ASSERT_EQ(f.value, value) << i << "/" << k << " at " << at;
                EXPECT_TRUE(sameSuccessor(successor.Make())) << i << "/" << k << " at " << at;
                fired->CpyActToNew();
                ++exclusiveFirings;
            }
            EXPECT_EQ(plain
                          .FireExclusive(i, static_cast<short>(t.GetBindings()->count + 1),
                                         from.data(), to.data())
                          .binding,
                      nullptr);
        }
        for (unsigned short j = 0; j < no_of_inf_transitions; ++j) {
            ASSERT_EQ(plain.InfiniteBindings(j),
                      static_cast<std::size_t>(InfTrans[j]->GetBindings()->count));
            std::size_t k = 0;
            for (PLElement<Binding>* e = InfTrans[j]->GetBindings()->first; e; e = e->next, ++k) {
                InitRefPms(marking.pms);
                const double value = e->item->VirtualFire();
                int degree = 0;
                const PlainImmediates::TimedFiring f =
                    plain.FireInfinite(j, k, from.data(), to.data(), degree);
                ASSERT_EQ(f.value, value) << j << "/" << k << " at " << at;
                if (value != 0.0) {
                    EXPECT_TRUE(sameSuccessor(successor.Make())) << j << "/" << k << " at " << at;
                    const int expected = e->item->EnablingDegree();
                    EXPECT_EQ(degree, expected) << j << "/" << k << " at " << at;
                    ++degrees;
                    largest = std::max(largest, degree);
                }
                e->item->CpyActToNew();
            }
        }
    }
    EXPECT_GT(exclusiveFirings, 100);
    EXPECT_GT(degrees, 300);
    EXPECT_EQ(largest, kMaxEnablingDegree);
}

TEST(PlainImmediates, RefusesBoundsAndWideNets)
{
    {
        TestNet net;
        Place* a = net.AddPlace("a", 1, 3);
        Place* b = net.AddPlace("b");
        net.Add("i", {{{{a, 1}}, {{b, 1}}, Imm(1.0)}});
        net.Add("t", {{{{b, 1}}, {{a, 1}}, Exp(1.0)}});
        net.Finish();
        PlainImmediates plain;
        EXPECT_FALSE(plain.Compile(64));
        EXPECT_FALSE(plain.Usable());
    }
    TestNet net;
    Place* a = net.AddPlace("a", 1);
    Place* b = net.AddPlace("b");
    net.Add("i", {{{{a, 1}}, {{b, 1}}, Imm(1.0)}});
    net.Add("t", {{{{b, 1}}, {{a, 1}}, Exp(1.0)}});
    net.Finish();
    PlainImmediates plain;
    EXPECT_FALSE(plain.Compile(3));  // two places of a total and one slot each
    EXPECT_TRUE(plain.Compile(4));
    EXPECT_EQ(plain.Words(), 4u);
}

}  // namespace
