// Member-order file and the pairing of preempting rates with targets.
#include "workers/MemberOrder.h"

#include <fstream>

#include "workers/ChainFile.h"

std::string MemberOrderPath(const std::string& tmpDir, const std::string& netName, int classNumber)
{
    return ChainFilePath(tmpDir + "/" + netName, ".SMCORDER", classNumber);
}

bool ReadMemberOrder(const std::string& path, std::vector<std::uint32_t>& order, std::string& error)
{
    std::ifstream file(path);
    if (!file) {
        error = "can't open the member order file " + path;
        return false;
    }
    long long count = -1;
    file >> count;
    if (!file || count < 1 || count > kMaxChainStates) {
        error = "the member order file " + path + " does not start with a member count";
        return false;
    }
    order.clear();
    for (long long i = 0; i < count; ++i) {
        long long state = 0;
        file >> state;
        if (!file || state < 1 || state > 0xffffffffLL) {
            error = "the member order file " + path + " has no valid state number in line " +
                    std::to_string(i + 2);
            return false;
        }
        order.push_back(static_cast<std::uint32_t>(state));
    }
    std::string rest;
    if (file >> rest) {
        error = "the member order file " + path + " has more than " + std::to_string(count) +
                " state numbers";
        return false;
    }
    return true;
}

bool PairPreemptingArcs(KilnInput& input, const std::vector<std::uint32_t>& order,
                        std::string& error)
{
    SubordinatedChain& chain = input.chain;
    std::vector<bool> listed(chain.states.size(), false);
    for (std::uint32_t state : order) {
        if (!chain.Contains(state) || listed[state - chain.firstState]) {
            error = "the member order does not list each state of the chain once (state " +
                    std::to_string(state) + ")";
            return false;
        }
        listed[state - chain.firstState] = true;
    }
    if (order.size() != chain.states.size()) {
        error = "the member order lists " + std::to_string(order.size()) +
                " states, the chain has " + std::to_string(chain.states.size());
        return false;
    }
    std::size_t next = 0;
    for (std::uint32_t state : order) {
        const std::size_t i = state - chain.firstState;
        for (double rate : input.preemptingRates[i])
            chain.states[i].moves.push_back({input.preemptingTargets[next++], rate});
    }
    return true;
}
