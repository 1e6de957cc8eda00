// Small nets shared by several tests.
#include "SmallNets.h"

#include "TestNet.h"

void BuildVanishingStart(TestNet& net)
{
    Place* v = net.AddPlace("v", 1);
    Place* a = net.AddPlace("a");
    Place* b = net.AddPlace("b");
    net.Add("i", {{{{v, 1}}, {{a, 1}}, Imm(1.0)}, {{{v, 1}}, {{b, 1}}, Imm(3.0)}});
    net.Add("ta", {{{{a, 1}}, {{b, 1}}, Exp(1.0)}});
    net.Add("tb", {{{{b, 1}}, {{a, 1}}, Exp(1.0)}});
    net.Finish();
}

void BuildChoiceAtStart(TestNet& net)
{
    Place* p = net.AddPlace("p", 1);
    Place* q = net.AddPlace("q");
    net.Add("t", {{{{p, 1}}, {{q, 1}}, Exp(1.0), 1.0}, {{{p, 1}}, {{q, 1}}, Exp(1.0), 1.0}});
    net.Add("back", {{{{q, 1}}, {{p, 1}}, Exp(1.0)}});
    net.Finish();
}
