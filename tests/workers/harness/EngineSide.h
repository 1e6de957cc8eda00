// The engine's side of the worker protocols, played by the tests: a chain
// described as the engine holds it (members in list order, each with its
// outgoing moves in list order and the targets of its firing), the byte
// streams the engine sends for it to kiln_da and to ekiln, and the member
// order file of kiln_da.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct TestMove {
    std::uint32_t target = 0;
    double rate = 0.0;
    bool preempting = false;  // leads to an exponential state
};

struct TestState {
    std::uint32_t state = 0;
    std::vector<TestMove> moves;                           // list order
    std::vector<std::pair<std::uint32_t, double>> firing;  // (target, probability)
};

struct TestChain {
    int classNumber = 1;
    std::vector<TestState> members;     // member-list order
    std::vector<std::size_t> visiting;  // positions in `members`, the engine's visiting order
    std::size_t entries = 1;            // the first `visiting` members are entry states
    double delay = 1.0;
    std::string transition = "T1";

    std::uint32_t FirstState() const;
    std::size_t PreemptingArcs() const;
};

class ByteWriter {
public:
    template <class T>
    ByteWriter& Put(T value)
    {
        bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
        return *this;
    }
    ByteWriter& Int(std::int32_t v) { return Put(v); }
    ByteWriter& Unsigned(std::uint32_t v) { return Put(v); }
    ByteWriter& Double(double v) { return Put(v); }

    std::string bytes;
};

std::string KilnStreamOf(const TestChain& chain);
// Q rows carry a (rate, target) pair for every exponential and preempting move.
std::string EkilnStreamOf(const TestChain& chain);
void WriteMemberOrderFile(const std::string& path, const TestChain& chain);
