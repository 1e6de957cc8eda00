// The stream readers on streams built byte by byte as the engine sends them:
// a correct stream gives the chain, preempting rates meet their targets
// through the member order, and every damaged stream (cut anywhere, a count
// out of range) is refused with a message instead of being half used.
#include <gtest/gtest.h>

#include <cstring>

#include "harness/TestChains.h"
#include "workers/EkilnStream.h"
#include "workers/KilnStream.h"
#include "workers/MemberOrder.h"

namespace {

class Bytes : public ByteSource {
public:
    explicit Bytes(std::string data = {}) : data(std::move(data)) {}

    bool Read(void* out, std::size_t size, std::string& error) override
    {
        if (data.size() - position < size) {
            error = "end of data";
            return false;
        }
        std::memcpy(out, data.data() + position, size);
        position += size;
        return true;
    }

    std::string data;
    std::size_t position = 0;
};

// The preempted chain of states 5 (entry) and 6 (TestChains.h), member list
// order 6, 5; visiting order 5, 6.
TestChain SmallChain()
{
    return PreemptedChain(3, 0.8);
}

Bytes KilnStream()
{
    return Bytes(KilnStreamOf(SmallChain()));
}

Bytes EkilnStream()
{
    TestChain chain = SmallChain();
    chain.classNumber = 4;
    return Bytes(EkilnStreamOf(chain));
}

bool SameMoves(const std::vector<ChainMove>& moves,
               const std::vector<std::pair<std::uint32_t, double>>& expected)
{
    if (moves.size() != expected.size()) return false;
    for (std::size_t i = 0; i < moves.size(); ++i)
        if (moves[i].target != expected[i].first || moves[i].value != expected[i].second)
            return false;
    return true;
}

TEST(KilnStream, PreemptingRatesMeetTheirTargetsThroughTheMemberOrder)
{
    Bytes bytes = KilnStream();
    StreamDecoder in(bytes);
    KilnInput input;
    ASSERT_TRUE(ReadKilnStream(in, input)) << in.Error();
    EXPECT_EQ(input.chain.classNumber, 3);
    EXPECT_EQ(input.chain.firstState, 5u);
    EXPECT_EQ(input.delay, 0.8);
    std::string error;
    ASSERT_TRUE(PairPreemptingArcs(input, {6, 5}, error)) << error;
    const ChainState& s5 = input.chain.states[0];
    const ChainState& s6 = input.chain.states[1];
    EXPECT_EQ(s5.exitRate, 2.5);
    EXPECT_TRUE(SameMoves(s5.moves, {{6, 2.0}, {1, 0.5}}));
    EXPECT_TRUE(SameMoves(s6.moves, {{2, 1.25}, {1, 0.25}}));
    EXPECT_TRUE(SameMoves(s5.firing, {{1, 0.3}, {2, 0.7}}));
    EXPECT_TRUE(SameMoves(s6.firing, {{5, 1.0}}));
}

TEST(KilnStream, MemberOrderMustListEveryStateOnce)
{
    for (const std::vector<std::uint32_t>& order :
         {std::vector<std::uint32_t>{5}, {5, 5}, {5, 7}, {6, 5, 4}}) {
        Bytes bytes = KilnStream();
        StreamDecoder in(bytes);
        KilnInput input;
        ASSERT_TRUE(ReadKilnStream(in, input));
        std::string error;
        EXPECT_FALSE(PairPreemptingArcs(input, order, error));
        EXPECT_NE(error.find("member order"), std::string::npos) << error;
    }
}

TEST(EkilnStream, RowsCarryTheirStatesAndAllMoves)
{
    Bytes bytes = EkilnStream();
    StreamDecoder in(bytes);
    EkilnInput input;
    ASSERT_TRUE(ReadEkilnStream(in, input)) << in.Error();
    EXPECT_EQ(input.transition, "T1");
    EXPECT_EQ(input.chain.classNumber, 4);
    ASSERT_EQ(input.chain.states.size(), 2u);
    EXPECT_TRUE(SameMoves(input.chain.states[0].moves, {{6, 2.0}, {1, 0.5}}));
    EXPECT_TRUE(SameMoves(input.chain.states[1].moves, {{2, 1.25}, {1, 0.25}}));
    EXPECT_TRUE(SameMoves(input.chain.states[1].firing, {{5, 1.0}}));
}

// Reads `data` and expects it refused with a message containing `reason`.
template <class Input, class Reader>
void ExpectRefused(const std::string& data, Reader read, const std::string& reason)
{
    Bytes bytes(data);
    StreamDecoder in(bytes);
    Input input;
    EXPECT_FALSE(read(in, input));
    EXPECT_NE(in.Error().find(reason), std::string::npos) << in.Error();
}

TEST(Streams, EveryCutStreamIsRefused)
{
    const std::string kiln = KilnStream().data, ekiln = EkilnStream().data;
    for (std::size_t cut = 0; cut < kiln.size(); ++cut)
        ExpectRefused<KilnInput>(kiln.substr(0, cut), ReadKilnStream, "bad data stream");
    for (std::size_t cut = 0; cut < ekiln.size(); ++cut)
        ExpectRefused<EkilnInput>(ekiln.substr(0, cut), ReadEkilnStream, "bad data stream");
}

// A correct stream with the bytes at `offset` replaced by `value`.
template <class T>
std::string Patched(const Bytes& whole, std::size_t offset, T value)
{
    std::string data = whole.data;
    std::memcpy(data.data() + offset, &value, sizeof value);
    return data;
}

TEST(Streams, InconsistentValuesAreRefusedWithTheirPlace)
{
    struct Damage {
        std::size_t offset;
        std::int32_t value;
        const char* reason;
    };
    const Damage kiln[] = {
        {4, 1 << 30, "no_states is 1073741824, outside"},
        {12, 4, "hold 3 preempting rates, the header announced 4"},
        {16, 2, "no_total_csmcs is 2 instead of 1"},
        {32, 100000000, "(Q row 1 of 2): no_n_states is 100000000"},
        {8, 1, "(Q row 1 of 2): the row of state 5 is not a state of the chain"},
    };
    for (const Damage& d : kiln)
        ExpectRefused<KilnInput>(Patched(KilnStream(), d.offset, d.value), ReadKilnStream,
                                 d.reason);
    ExpectRefused<KilnInput>(Patched(KilnStream(), 40, -3.0), ReadKilnStream,
                             "the diagonal -3.000000 does not match");

    const Damage ekiln[] = {
        {4, -3, "the name length is -3"},
        {10, 8, "not distinct consecutive"},
        {15, 5, "not distinct consecutive"},
        {72, 5, "(Q row 2 of 2): state 5 has a second row"},
    };
    for (const Damage& d : ekiln)
        ExpectRefused<EkilnInput>(Patched(EkilnStream(), d.offset, d.value), ReadEkilnStream,
                                  d.reason);
}

}  // namespace
