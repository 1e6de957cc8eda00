// Immediate firings on flat counts against the same firings on the places:
// the weight and the successor's vector must agree for every binding on
// markings that include empty, short and full (wrapping) places.
#include <gtest/gtest.h>

#include <cstdint>
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
    // bindings; an input of an empty inscription (never enabled).
    net.Add("loop", {{{{a, 2}}, {{b, 1}, {a, 1}}, Imm(1.0)}});
    net.Add("twice", {{{{a, 1}, {a, 2}}, {{c, 3}}, Imm(1.5)}});
    net.Add("choice", {{{{b, 1}}, {{a, 1}}, Imm(2.0)}, {{{c, 2}}, {{b, 1}}, Imm(0.5)}});
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
                        const double weight = plain.Fire(i, k, from.data(), to.data());
                        ASSERT_EQ(weight, expected) << i << "/" << k << " at " << x << "," << y << "," << z;
                        ASSERT_TRUE(may || weight == 0.0) << i << "/" << k << " ruled out";
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
