#include "statedata/EdgeLabels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

// Triples that differ in one field only, and enough of them to grow the
// index several times and make probes collide.
std::vector<DelayVal> ManyTriples()
{
    std::vector<DelayVal> out;
    for (short t = 0; t < 150; ++t) {
        out.emplace_back(1.5, kDelayExponential, t);
        out.emplace_back(1.5, kDelayProbability, t);
        out.emplace_back(std::nextafter(1.5, 2.0), kDelayExponential, t);
    }
    return out;
}

}  // namespace

// A triple is numbered by its first appearance, found again under that
// number, and told apart from triples that differ in value, type or
// transition only; the index may be dropped and the numbers stay.
TEST(EdgeLabels, EachTripleKeepsTheNumberOfItsFirstAppearance)
{
    EdgeLabels::Clear();
    const std::vector<DelayVal> triples = ManyTriples();
    for (std::size_t k = 0; k < triples.size(); ++k) EXPECT_EQ(EdgeLabels::Intern(triples[k]), k);
    EXPECT_EQ(EdgeLabels::Count(), triples.size());

    for (std::size_t k = triples.size(); k-- > 0;) EXPECT_EQ(EdgeLabels::Intern(triples[k]), k);
    EdgeLabels::ReleaseIndex();
    for (std::size_t k = 0; k < triples.size(); ++k) EXPECT_EQ(EdgeLabels::Intern(triples[k]), k);
    EXPECT_EQ(EdgeLabels::Count(), triples.size());

    // 450 labels so far, and an invalid value is stored as 1.0.
    EXPECT_EQ(EdgeLabels::Intern(DelayVal(1.5, kDelayExponential, -1)), 450u);
    EXPECT_EQ(EdgeLabels::Intern(DelayVal(-3.0, kDelayExponential, 0)), 451u);
    EXPECT_EQ(EdgeLabels::Intern(DelayVal(1.0, kDelayExponential, 0)), 451u);
    // Transition 2's triples are 6, 7 and 8.
    EXPECT_EQ(EdgeLabels::At(7).GetDelayType(), kDelayProbability);
    EXPECT_EQ(EdgeLabels::At(8).GetDelayVal(), std::nextafter(1.5, 2.0));
    EXPECT_EQ(EdgeLabels::At(8).GetTransNo(), 2);
    EdgeLabels::Clear();
}
