// Infinite-server and immediate transitions with three bindings: the
// markings explored when they are fired come out in the order of the queue
// of pending successors, which fires known enabled bindings first found
// first, then last found first, and finds them again in binding order only
// after a firing that may have changed them, immediate firings included.
#include <gtest/gtest.h>

#include <chrono>
#include <cstddef>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "GraphGeneration.h"
#include "TestNet.h"
#include "statespace/InterningPipeline.h"

namespace {

using NetBuilder = std::function<std::vector<Place*>(TestNet&)>;

// Three stations i = 1..3, each with two jobs that an infinite server moves
// from p_i to q_i (the three bindings of "serve") and a single server sends
// back (the three bindings of "back", so that a marking with several jobs in
// the q places has one branch per binding it may have chosen). A switch
// turns between x and y, independently of both. With `throughImmediates`
// a job of station 1 sent back goes on to u, from where "go" takes it to r
// and an immediate transition returns it to p_1, turning the station's
// parity between e and o so that the markings it reaches are new: the
// immediate firing, not the timed one, changes serve.
std::vector<Place*> BuildStations(TestNet& net, bool throughImmediates)
{
    std::vector<Place*> p;
    for (const char* name : {"p1", "p2", "p3"}) p.push_back(net.AddPlace(name, 2));
    for (const char* name : {"q1", "q2", "q3"}) p.push_back(net.AddPlace(name));
    Place* const x = p.emplace_back(net.AddPlace("x", 1));
    Place* const y = p.emplace_back(net.AddPlace("y"));
    Place* const u = p.emplace_back(net.AddPlace("u"));
    Place* const r = p.emplace_back(net.AddPlace("r"));
    Place* const even = p.emplace_back(net.AddPlace("e", 1));
    Place* const odd = p.emplace_back(net.AddPlace("o"));
    std::vector<BindingShape> serve, back;
    for (int i = 0; i < 3; ++i) {
        serve.push_back({{{p[i], 1}}, {{p[i + 3], 1}}, Exp(i + 1.0)});
        back.push_back({{{p[i + 3], 1}}, {{throughImmediates && i == 0 ? u : p[i], 1}}, Exp(0.5 * (i + 1)), i + 1.0});
    }
    net.Add("serve", serve, InfiniteServer);
    net.Add("back", back);
    if (throughImmediates) {
        net.Add("go", {{{{u, 1}}, {{r, 1}}, Exp(2.0)}});
        net.Add("rejoin", {{{{r, 1}, {even, 1}}, {{p[0], 1}, {odd, 1}}, Imm(1.0)},
                           {{{r, 1}, {odd, 1}}, {{p[0], 1}, {even, 1}}, Imm(1.0)}});
    }
    net.Add("tick", {{{{x, 1}}, {{y, 1}}, Exp(3.0)}});
    net.Add("tock", {{{{y, 1}}, {{x, 1}}, Exp(4.0)}});
    net.Finish();
    return p;
}

// Which firing on the ways of BuildMeetingWays reads p1, from which serve
// takes its jobs.
enum class Reader { kFirstOnNewestWay, kLastOnOtherWay };

// Three stations of one job each, served as in BuildStations, and a token
// that "go" sends from u to r, whence two immediate transitions take it by s
// or by t to z, where it waits to go home. The queue's elimination expands
// the newest marking first, the one by t: its enabling set of z is made on
// that way, and the way by s only drops from it what its last firing
// drops. One firing on the ways reads p1, so that the set finds serve's
// bindings again. With `meetVanishing` the token moves on from z at once,
// so that a vanishing marking is met twice.
std::vector<Place*> BuildMeetingWays(TestNet& net, Reader reader, bool meetVanishing)
{
    std::vector<Place*> p;
    for (const char* name : {"p1", "p2", "p3"}) p.push_back(net.AddPlace(name, 1));
    for (const char* name : {"q1", "q2", "q3"}) p.push_back(net.AddPlace(name));
    Place* const u = p.emplace_back(net.AddPlace("u", 1));
    Place* const r = p.emplace_back(net.AddPlace("r"));
    Place* const s = p.emplace_back(net.AddPlace("s"));
    Place* const t = p.emplace_back(net.AddPlace("t"));
    Place* const z = p.emplace_back(net.AddPlace("z"));
    Place* const w = p.emplace_back(net.AddPlace("w"));
    std::vector<BindingShape> serve, back;
    for (int i = 0; i < 3; ++i) {
        serve.push_back({{{p[i], 1}}, {{p[i + 3], 1}}, Exp(i + 1.0)});
        back.push_back({{{p[i + 3], 1}}, {{p[i], 1}}, Exp(0.5 * (i + 1)), i + 1.0});
    }
    // A firing that reads p1 takes its job and puts it back.
    auto step = [&](Place* from, Place* to, bool reads) {
        if (reads) return BindingShape{{{from, 1}, {p[0], 1}}, {{to, 1}, {p[0], 1}}, Imm(1.0)};
        return BindingShape{{{from, 1}}, {{to, 1}}, Imm(1.0)};
    };
    net.Add("serve", serve, InfiniteServer);
    net.Add("back", back);
    net.Add("go", {{{{u, 1}}, {{r, 1}}, Exp(2.0)}});
    net.Add("toS", {step(r, s, false)});
    net.Add("toT", {step(r, t, reader == Reader::kFirstOnNewestWay)});
    net.Add("sOn", {step(s, z, reader == Reader::kLastOnOtherWay)});
    net.Add("tOn", {step(t, z, false)});
    if (meetVanishing) net.Add("settle", {step(z, w, false)});
    Place* const waiting = meetVanishing ? w : z;
    net.Add("home", {{{{waiting, 1}}, {{u, 1}}, Exp(1.5)}});
    net.Finish();
    return p;
}

// Two stations A and B, each with one job. A single timed firing sends both
// on, where an immediate transition of three bindings (weights 1, 2, 3) puts
// each in one of three places; infinite servers send them back.
std::vector<Place*> BuildPairedChoices(TestNet& net)
{
    std::vector<Place*> p;
    for (const char* name : {"a0", "a1", "aa", "ab", "ac", "b0", "b1", "ba", "bb", "bc"})
        p.push_back(net.AddPlace(name, name[1] == '0' ? 1 : 0));
    net.Add("send", {{{{p[0], 1}, {p[5], 1}}, {{p[1], 1}, {p[6], 1}}, Exp(1.0)}});
    for (std::size_t s : {0, 5}) {
        std::vector<BindingShape> choose, home;
        for (std::size_t k = 0; k < 3; ++k) {
            choose.push_back({{{p[s + 1], 1}}, {{p[s + 2 + k], 1}}, Imm(k + 1.0)});
            home.push_back({{{p[s + 2 + k], 1}}, {{p[s], 1}}, Exp(k + 1.0)});
        }
        net.Add(s == 0 ? "chooseA" : "chooseB", choose);
        net.Add(s == 0 ? "homeA" : "homeB", home, InfiniteServer);
    }
    net.Finish();
    return p;
}

// A helper's batch is never taken back: a loaded machine must not decide
// which process explores.
std::vector<std::string> Generate(const NetBuilder& build, bool whenFired, bool helper, std::size_t batch)
{
    return GenerateGraph(build, ExplorationSettings{helper, batch, std::chrono::hours(1), whenFired});
}

// The whole graph explored when fired, alone and shared with the helper in
// batches of these sizes, is the queue's.
void ExpectTheQueuesGraph(const NetBuilder& build, const std::vector<std::string>& queue,
                          std::initializer_list<std::size_t> batches)
{
    EXPECT_EQ(Generate(build, true, false, 256), queue);
    for (std::size_t batch : batches) {
        SCOPED_TRACE("shared with the helper in batches of " + std::to_string(batch));
        EXPECT_EQ(Generate(build, true, true, batch), queue);
        EXPECT_GT(MarkingsExploredByHelper(), 0u);
    }
}

// The tokens of a graph line on the places from `first` on, `count` of them.
std::string Tokens(const std::string& line, std::size_t first, std::size_t count)
{
    std::vector<std::string> tokens;
    std::size_t at = 0;
    while (tokens.size() < first + count) {
        const std::size_t end = line.find(' ', at);
        tokens.push_back(line.substr(at, end - at));
        at = end + 1;
    }
    std::string joined;
    for (std::size_t k = first; k < first + count; ++k) joined += tokens[k];
    return joined;
}

}  // namespace

TEST(KeptBindingOrder, InfiniteServerBindingsComeInTheQueuesOrder)
{
    for (bool throughImmediates : {false, true}) {
        SCOPED_TRACE(throughImmediates ? "jobs rejoin through immediate firings" : "jobs rejoin at once");
        const NetBuilder build = [throughImmediates](TestNet& net) { return BuildStations(net, throughImmediates); };
        const std::vector<std::string> queue = Generate(build, false, false, 256);
        ASSERT_GT(queue.size(), 100u);
        // The initial marking's three enabled bindings were found at the
        // start: after the switch's successor, serve's come first found
        // first, then last found first.
        EXPECT_EQ(Tokens(queue[2], 3, 3), "100");
        EXPECT_EQ(Tokens(queue[3], 3, 3), "001");
        EXPECT_EQ(Tokens(queue[4], 3, 3), "010");
        ExpectTheQueuesGraph(build, queue, {1, 3, 16});
    }
}

TEST(KeptBindingOrder, ImmediateBindingsComeInTheQueuesOrder)
{
    const NetBuilder build = BuildPairedChoices;
    const std::vector<std::string> queue = Generate(build, false, false, 256);
    // The initial marking, then the nine pairs of choices the first firing
    // of send reaches. Both choices are made at its successor, in binding
    // order; each marking that one of them reaches keeps the other's
    // bindings and fires them first found first, then last found first.
    // The graph is walked from its newest edge, one of chooseB's, so the
    // markings reached come in B's binding order, each with A's choices in
    // A's kept order.
    ASSERT_EQ(queue.size(), 16u);
    const char* inBindingOrder[] = {"100", "010", "001"};
    const char* inKeptOrder[] = {"100", "001", "010"};
    for (std::size_t b = 0; b < 3; ++b)
        for (std::size_t a = 0; a < 3; ++a) {
            const std::string& line = queue[1 + 3 * b + a];
            EXPECT_EQ(Tokens(line, 2, 3), inKeptOrder[a]) << line;
            EXPECT_EQ(Tokens(line, 7, 3), inBindingOrder[b]) << line;
        }
    ExpectTheQueuesGraph(build, queue, {1, 3});
}

TEST(KeptBindingOrder, MarkingsReachedTwiceKeepTheSetTheQueueMadeThem)
{
    for (Reader reader : {Reader::kFirstOnNewestWay, Reader::kLastOnOtherWay})
        for (bool meetVanishing : {false, true}) {
            SCOPED_TRACE(std::string(reader == Reader::kFirstOnNewestWay ? "the newest way's first firing"
                                                                         : "the other way's last firing") +
                         " reads p1, the ways meet at a " + (meetVanishing ? "vanishing" : "tangible") +
                         " marking");
            const NetBuilder build = [reader, meetVanishing](TestNet& net) {
                return BuildMeetingWays(net, reader, meetVanishing);
            };
            const std::vector<std::string> queue = Generate(build, false, false, 256);
            ASSERT_GT(queue.size(), 16u);
            ExpectTheQueuesGraph(build, queue, {1, 3});
        }
}
