// The statistics block of the reduced reachability graph.
#include "run/ListingsRRGParams.h"

#include <iostream>

#include "foundation/Framing.h"
#include "run/RunStatistics.h"
#include "statedata/StateSpaceGlobals.h"

namespace {

void ShowSizes()
{
    std::cout << "rrg size  (markings)          : " << MHash.GetCounter() << "\n"
              << "rrg size  (KB)                : " << rrg_diff_size << "\n";
}

void ShowSizeRemark()
{
    std::cout << "\n"
              << "MARK : You are not working with a Linux operating system !\n"
              << "The real used size may be less than the showed size above.\n"
              << "The showed size corresponds to the size of the used pages.\n"
              << "\n";
}

}  // namespace

void ShowRRGParams(int mode)
{
    switch (mode) {
        case 0:
            std::cout << "\n\n" << kFrameLine << "\n";
            ShowSizes();
            std::cout << "used time                     : ";
            ShowTime(rrg_diff_time);
            ShowSizeRemark();
            std::cout << kFrameLine << "\n\n";
            break;
        case 1:
            std::cout << "\n" << kFrameLine << "\n";
            ShowSizes();
            ShowSizeRemark();
            std::cout << kFrameLine << "\n";
            break;
        case 2:
            std::cout << "\n"
                      << kFrameLine << "\n"
                      << "used time for rrg creation    : ";
            ShowTime(rrg_diff_time);
            std::cout << "used time for whole programm  : ";
            ShowTime(all_diff_time);
            std::cout << kFrameLine << "\n";
            break;
        default:
            break;
    }
    std::cout << std::flush;
}
