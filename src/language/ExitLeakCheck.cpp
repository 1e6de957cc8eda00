// Exit handlers run in the reverse order of their registration, and the
// destructors of the globals were registered before main: a handler
// registered now runs before them.
#include "language/ExitLeakCheck.h"

#include <cstdlib>

extern "C" void __lsan_do_leak_check() __attribute__((weak));

namespace {

void LeakCheck()
{
    __lsan_do_leak_check();
}

}  // namespace

void CheckLeaksBeforeGlobalsGo()
{
    static bool registered = false;
    if (registered || !__lsan_do_leak_check) return;
    registered = true;
    std::atexit(LeakCheck);
}
