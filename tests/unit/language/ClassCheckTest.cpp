// The class check: colour slots of the places and the net-wide tables built
// afterwards. The dependency records (in the class listing), the throughputs
// bound to their transitions and the errors of the check are end-to-end
// cases.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "ReaderRun.h"
#include "netmodel/NetArrays.h"
#include "netmodel/Place.h"
#include "netmodel/Registries.h"
#include "netmodel/Transition.h"
#include "statedata/NetCounts.h"
#include "statedata/StateSpaceGlobals.h"

namespace {

// token:quantity of every colour slot of every place.
std::string Slots()
{
    std::ostringstream out;
    for (auto* e = PlaceRefs.first; e; e = e->next) {
        const PTms* slots = e->item->GetPlaceHeader()->GetActTms();
        out << e->item->GetName().GetString().GetCChar() + 10 << ":";
        for (int i = 0; slots && i < slots->size; ++i)
            out << " " << slots->entries[i].token << ":" << slots->entries[i].quant;
        out << "\n";
    }
    return out.str();
}

TEST(ClassCheck, SlotsHoldEveryColourThatCanReachAPlace)
{
    // Colours c, d, a, b get the numbers 1 to 4. B gets a and b from its arcs
    // and c from its initial marking; C gets what the arcs into B bring
    // (not B's initial marking); D has only its initial marking.
    std::string net =
        Net("A ; ; 2'e", "B ; ; 2'c.1 | C ; ; | D ; ; 3'd.1",
            "T1 [ in#A = e , out#B = a.1 ; Exponential(1) | in#A = e , out#B = b.1 + a.1 ; "
            "Exponential(1) ]\n"
            "T2 [ in#B = @B , out#C = @B ; Exponential(1) ]\n");
    EXPECT_EQ(Described(net, Slots, true), "A: 0:2\nB: 1:2 3:0 4:0\nC: 3:0 4:0\nD: 2:3\n");
}

std::string Tables()
{
    std::ostringstream out;
    out << "places=" << no_of_places << " exc=" << no_of_exc_transitions
        << " imm=" << no_of_imm_transitions << " inf=" << no_of_inf_transitions << "\n";
    for (int i = 0; i < no_of_places; ++i)
        out << "place " << i << " no=" << PlaceArray[i]->GetNo() << "\n";
    for (int i = 0; i < no_of_exc_transitions; ++i)
        out << "exc " << i << " pos=" << ExcTrans[i]->GetFieldPos() << "\n";
    for (int i = 0; i < no_of_imm_transitions; ++i)
        out << "imm " << i << " pos=" << ImmTrans[i]->GetFieldPos() << "\n";
    out << "inf array " << (InfTrans ? "allocated" : "null") << "\n";
    out << "chains " << MLists.det_smcs.count << " " << MLists.gen_smcs.count << " counter "
        << MCount[kCountAll] << "\n";
    return out.str();
}

TEST(ClassCheck, GlobalTablesNumberPlacesAndTransitionsByClass)
{
    std::string net = Net("p ; ; e | q ; ;", "",
                          "T1 [ in#p = e , out#q = e ; Deterministic(1) ]\n"
                          "T2 [ in#q = e , out#p = e ; Exponential(1) ]\n"
                          "I [ in#p = e , out#p = e ; Immediate ]\n");
    EXPECT_EQ(Described(net, Tables, true),
              "places=2 exc=2 imm=1 inf=0\nplace 0 no=0\nplace 1 no=1\nexc 0 pos=1\nexc 1 "
              "pos=2\nimm 0 pos=1\n"
              "inf array null\nchains 1 0 counter 0\n");
}

}  // namespace
