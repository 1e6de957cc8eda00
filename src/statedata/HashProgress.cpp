// Progress display of the marking stores.
#include "statedata/HashProgress.h"

#include <iostream>

namespace {

char NextSpinner(char c)
{
    switch (c) {
    case '|': return '/';
    case '/': return '-';
    case '-': return '\\';
    default: return '|';
    }
}

}  // namespace

void HashProgress::Counted(unsigned counter)
{
    if (mode == kShowNothing) return;
    if (counter == 1) {
        std::cout << "\trunning rrg creation ...";
        if (mode == kShowSpinner) std::cout << ' ' << spinner << '\b';
        std::cout << std::flush;
    }
    if (counter != next_show) return;
    next_show += kStep;
    if (mode == kShowSpinner) {
        spinner = NextSpinner(spinner);
        std::cout << spinner << '\b' << std::flush;
    } else {
        std::cout << counter << "..." << std::flush;
    }
}
