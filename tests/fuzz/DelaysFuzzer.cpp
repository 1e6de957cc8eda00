// libFuzzer harness of the delays-file reader: the input holds a first
// delays file and, after a NUL byte, a later one. The first builds the delay
// tables, the later one updates them, and the winning entries are looked up
// as a pass would; then the tables are emptied for the next input. Its
// reports go to /dev/null; a read that fails is not a finding, a crash or
// an out-of-bounds access is.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "foundation/RunState.h"
#include "run/DelayTables.h"
#include "run/SetRates.h"

namespace {

// Transitions of the sub-models: a name that ends in a digit is transition
// number that digit, any other name is unknown.
int FindTransition(const Str& fullName)
{
    const char* text = fullName.GetCChar();
    std::string name = text ? text : "";
    if (name.empty() || name.back() < '0' || name.back() > '9') return -1;
    return name.back() - '0';
}

void ForgetTables()
{
    nb_subtrans = 0;
    subnames.HardClear();
    mynumber = -1;
    nb_transarray.clear();
    transitionsarrays.clear();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (!std::freopen("/dev/null", "w", stdout)) std::abort();
    subname = "S1";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string input(reinterpret_cast<const char*>(data), size);
    std::size_t split = input.find('\0');
    DelaysFileWords first(input.substr(0, split));
    if (LoadDelayTables(first, FindTransition) && split != std::string::npos) {
        DelaysFileWords later(input.substr(split + 1));
        UpdateDelayTables(later);
    }
    SetRates();
    ForgetTables();
    return 0;
}
