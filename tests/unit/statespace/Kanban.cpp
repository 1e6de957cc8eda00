// The kanban net: per station i a machine place pm_i, a rework place
// pback_i, a card place pkan_i holding n cards and an output place pout_i;
// station 1 feeds stations 2 and 3, which together feed station 4.
#include "Kanban.h"

#include <string>

#include "TestNet.h"

void BuildKanban(TestNet& net, int n)
{
    Place* pm[5];
    Place* pback[5];
    Place* pkan[5];
    Place* pout[5];
    for (int i = 1; i <= 4; ++i) {
        std::string s = std::to_string(i);
        pm[i] = net.AddPlace(("pm" + s).c_str());
        pback[i] = net.AddPlace(("pback" + s).c_str());
        pkan[i] = net.AddPlace(("pkan" + s).c_str(), static_cast<unsigned short>(n));
        pout[i] = net.AddPlace(("pout" + s).c_str());
    }
    net.Add("tin1", {{{{pkan[1], 1}}, {{pm[1], 1}}, Exp(1.0)}});
    for (int i = 1; i <= 4; ++i) {
        std::string s = std::to_string(i);
        net.Add(("tredo" + s).c_str(), {{{{pm[i], 1}}, {{pback[i], 1}}, Exp(0.36)}});
        net.Add(("tback" + s).c_str(), {{{{pback[i], 1}}, {{pm[i], 1}}, Exp(0.3)}});
        net.Add(("tok" + s).c_str(), {{{{pm[i], 1}}, {{pout[i], 1}}, Exp(0.84)}});
    }
    net.Add("tsynch1_23", {{{{pout[1], 1}, {pkan[2], 1}, {pkan[3], 1}},
                            {{pkan[1], 1}, {pm[2], 1}, {pm[3], 1}},
                            Exp(0.4)}});
    net.Add("tsynch23_4", {{{{pout[2], 1}, {pout[3], 1}, {pkan[4], 1}},
                            {{pkan[2], 1}, {pkan[3], 1}, {pm[4], 1}},
                            Exp(0.5)}});
    net.Add("tout4", {{{{pout[4], 1}}, {{pkan[4], 1}}, Exp(0.9)}});
    net.Finish();
}
