// Byte streams as the engine's senders lay them out.
#include "harness/EngineSide.h"

#include <algorithm>
#include <fstream>

std::uint32_t TestChain::FirstState() const
{
    std::uint32_t first = members.front().state;
    for (const TestState& s : members) first = std::min(first, s.state);
    return first;
}

std::size_t TestChain::PreemptingArcs() const
{
    std::size_t count = 0;
    for (const TestState& s : members)
        for (const TestMove& m : s.moves) count += m.preempting;
    return count;
}

namespace {

double TotalRate(const TestState& s)
{
    double sum = 0.0;
    for (const TestMove& m : s.moves) sum += m.rate;
    return sum;
}

void KilnQRow(ByteWriter& out, const TestState& s)
{
    out.Int(0);
    if (s.moves.empty()) {  // the deterministic transition is its only one
        out.Int(1).Unsigned(s.state).Double(0.0).Int(0);
        return;
    }
    std::vector<std::pair<std::uint32_t, double>> pairs{{s.state, -TotalRate(s)}};
    std::vector<double> preempting;
    for (const TestMove& m : s.moves) {
        if (m.preempting)
            preempting.push_back(m.rate);
        else
            pairs.emplace_back(m.target, m.rate);
    }
    std::stable_sort(pairs.begin(), pairs.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    out.Int(static_cast<std::int32_t>(pairs.size()));
    for (const auto& [state, rate] : pairs) out.Unsigned(state).Double(rate);
    out.Int(static_cast<std::int32_t>(preempting.size()));
    for (auto it = preempting.rbegin(); it != preempting.rend(); ++it) out.Double(*it);
}

}  // namespace

std::string KilnStreamOf(const TestChain& chain)
{
    ByteWriter out;
    out.Int(chain.classNumber)
        .Int(static_cast<std::int32_t>(chain.members.size()))
        .Unsigned(chain.FirstState())
        .Int(static_cast<std::int32_t>(chain.PreemptingArcs()))
        .Int(1)
        .Int(0)
        .Int(0);
    for (std::size_t i : chain.visiting) KilnQRow(out, chain.members[i]);
    out.Int(1).Int(1).Double(chain.delay).Int(0).Double(chain.delay);
    for (std::size_t i : chain.visiting) {
        const TestState& s = chain.members[i];
        out.Int(1).Int(static_cast<std::int32_t>(s.firing.size()));
        for (const auto& [target, probability] : s.firing) out.Unsigned(target).Double(probability);
    }
    for (const TestState& s : chain.members)
        for (const TestMove& m : s.moves)
            if (m.preempting) out.Unsigned(m.target);
    return out.bytes;
}

std::string EkilnStreamOf(const TestChain& chain)
{
    ByteWriter out;
    out.Int(chain.classNumber).Int(static_cast<std::int32_t>(chain.transition.size()));
    out.bytes += chain.transition;
    for (std::size_t k = 0; k < chain.visiting.size(); ++k)
        out.Unsigned(chain.members[chain.visiting[k]].state)
            .Put(static_cast<std::uint8_t>(k < chain.entries ? 2 : 0));
    out.Int(0);
    for (std::size_t i : chain.visiting) {
        const TestState& s = chain.members[i];
        out.Double(-TotalRate(s))
            .Unsigned(s.state)
            .Unsigned(static_cast<std::uint32_t>(s.moves.size()));
        for (const TestMove& m : s.moves) out.Double(m.rate).Unsigned(m.target);
    }
    for (std::size_t i : chain.visiting) {
        const TestState& s = chain.members[i];
        out.Unsigned(s.state).Unsigned(static_cast<std::uint32_t>(s.firing.size()));
        for (const auto& [target, probability] : s.firing) out.Double(probability).Unsigned(target);
    }
    return out.bytes;
}

void WriteMemberOrderFile(const std::string& path, const TestChain& chain)
{
    std::ofstream file(path);
    file << chain.members.size() << "\n";
    for (const TestState& s : chain.members) file << s.state << "\n";
}
