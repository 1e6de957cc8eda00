// The load of the hosts that workers may be spread over, asked of each host
// through the remote shell ("<shell> <host> -n cat /proc/loadavg"). A host
// that does not answer within a few seconds counts as not free.
#pragma once

#include "solution/HostInfo.h"

#include <string>

// Sets the host's free flag and, when it answered, its one-minute load
// average (fixed point x 256).
void QueryHostLoad(const std::string& shell, hostinfo& host);
