// An infinite-server transition with three bindings: the markings explored
// when they are fired come out in the order of the queue of pending
// successors, which fires known enabled bindings first found first, then
// last found first, and finds them again in binding order only after a
// firing that may have changed them.
#include <gtest/gtest.h>

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

#include "GraphGeneration.h"
#include "TestNet.h"
#include "statespace/InterningPipeline.h"

namespace {

// Three stations i = 1..3, each with two jobs that an infinite server moves
// from p_i to q_i (the three bindings of "serve") and a single server sends
// back (the three bindings of "back", so that a marking with several jobs in
// the q places has one branch per binding it may have chosen). A switch
// turns between x and y, independently of both. With `forceQueue` a dead
// immediate transition of three bindings is added last: no marking enables
// it, but it keeps every marking for the queue, whose order is then the
// reference.
std::vector<Place*> BuildStations(TestNet& net, bool forceQueue)
{
    std::vector<Place*> p;
    for (const char* name : {"p1", "p2", "p3"}) p.push_back(net.AddPlace(name, 2));
    for (const char* name : {"q1", "q2", "q3"}) p.push_back(net.AddPlace(name));
    p.push_back(net.AddPlace("x", 1));
    p.push_back(net.AddPlace("y"));
    p.push_back(net.AddPlace("dead"));
    std::vector<BindingShape> serve, back;
    for (int i = 0; i < 3; ++i) {
        serve.push_back({{{p[i], 1}}, {{p[i + 3], 1}}, Exp(i + 1.0)});
        back.push_back({{{p[i + 3], 1}}, {{p[i], 1}}, Exp(0.5 * (i + 1)), i + 1.0});
    }
    net.Add("serve", serve, InfiniteServer);
    net.Add("back", back);
    net.Add("tick", {{{{p[6], 1}}, {{p[7], 1}}, Exp(3.0)}});
    net.Add("tock", {{{{p[7], 1}}, {{p[6], 1}}, Exp(4.0)}});
    if (forceQueue) {
        std::vector<BindingShape> never;
        for (unsigned short k = 1; k <= 3; ++k) never.push_back({{{p[8], k}}, {{p[8], k}}, Imm(1.0)});
        net.Add("never", never);
    }
    net.Finish();
    return p;
}

// A helper's batch is never taken back: a loaded machine must not decide
// which process explores.
std::vector<std::string> Generate(bool forceQueue, bool helper, std::size_t batch)
{
    return GenerateGraph([forceQueue](TestNet& net) { return BuildStations(net, forceQueue); },
                         ExplorationSettings{helper, batch, std::chrono::hours(1)});
}

// The q places' tokens of a graph line: the second three numbers.
std::string ServedJobs(const std::string& line)
{
    std::vector<std::string> tokens;
    std::size_t at = 0;
    while (tokens.size() < 6) {
        const std::size_t end = line.find(' ', at);
        tokens.push_back(line.substr(at, end - at));
        at = end + 1;
    }
    return tokens[3] + tokens[4] + tokens[5];
}

}  // namespace

TEST(KeptBindingOrder, MarkingsExploredWhenFiredComeInTheQueuesOrder)
{
    const std::vector<std::string> queue = Generate(true, false, 256);
    ASSERT_GT(queue.size(), 100u);
    // The initial marking's three enabled bindings were found at the start:
    // after the switch's successor, serve's come first found first, then
    // last found first.
    ASSERT_GE(queue.size(), 5u);
    EXPECT_EQ(ServedJobs(queue[2]), "100");
    EXPECT_EQ(ServedJobs(queue[3]), "001");
    EXPECT_EQ(ServedJobs(queue[4]), "010");

    EXPECT_EQ(Generate(false, false, 256), queue);
    for (std::size_t batch : {1, 3, 16}) {
        SCOPED_TRACE("shared with the helper in batches of " + std::to_string(batch));
        EXPECT_EQ(Generate(false, true, batch), queue);
        EXPECT_GT(MarkingsExploredByHelper(), 0u);
    }
}
