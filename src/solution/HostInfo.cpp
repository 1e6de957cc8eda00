// The listing of the host list (-i).
#include "solution/HostInfo.h"

#include <iostream>

void ShowHostInfo(const HostList& hosts)
{
    std::cout << "\n\t\thost list (" << hosts.size() << " hosts) :\n";
    for (const hostinfo& h : hosts)
        std::cout << "\t\t\t" << h.name << " : priority " << h.priority << ", processes "
                  << h.processes << ", load " << h.load / 256.0 << ", free " << h.free
                  << ", usable " << h.usable << '\n';
    std::cout << std::flush;
}
