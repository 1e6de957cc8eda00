// libFuzzer harness of the description reader: every input, with the end
// byte 0xFF appended, is parsed, class checked and turned into the net-wide
// tables, in this process.
//
// Every error of the reader ends the process with exit(). The harness is
// linked with --wrap=exit: while a read runs, exit() jumps back here
// instead, so coverage, comparison feedback and the corpus stay in one
// process and the fuzzer keeps its speed. After each input the reader's
// process-wide state is released and reset (ResetReader); the blocks that
// the interrupted calls still held (parser stack values, objects under
// construction) are found by the AllocationTracker and released. So every
// input leaves the heap as it found it: libFuzzer's leak detection then
// reports exactly the blocks a successful read loses. To release abandoned
// blocks with free(), the harness routes operator new and delete through
// malloc and free (ReplacedNew.cpp); mismatched new/delete pairs are left to
// the sanitizer runs of the unit tests.
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "AllocationTracker.h"
#include "ReaderReset.h"
#include "foundation/RunState.h"
#include "language/ClassCheck.h"
#include "language/GlobalTables.h"
#include "language/Parser.h"

namespace {

std::jmp_buf backToHarness;
bool readerRunning = false;

}  // namespace

extern "C" [[noreturn]] void __real_exit(int status);

extern "C" [[noreturn]] void __wrap_exit(int status)
{
    if (readerRunning) {
        readerRunning = false;
        std::longjmp(backToHarness, 1);
    }
    __real_exit(status);
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // The reader's reports and echoes go nowhere; writing once now makes
    // stdio allocate its buffer before any input is tracked.
    if (!std::freopen("/dev/null", "w", stdout)) std::abort();
    std::puts("");
    std::fflush(stdout);
    AllocationTracker::Install();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    text += '\xFF';
    table_string = text.data();

    AllocationTracker::Start();
    if (setjmp(backToHarness) == 0) {
        readerRunning = true;
        yyparse();
        ClassCheck();
        InitGlobalVars();
        readerRunning = false;
        ResetReader();
        AllocationTracker::StopAndForget();
    } else {
        ResetReader();
        AllocationTracker::StopAndRelease();
    }
    return 0;
}
