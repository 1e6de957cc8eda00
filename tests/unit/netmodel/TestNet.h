// A small net for the enabling and firing tests: elementary places with
// given tokens and capacities, transitions of the three classes with
// constant arc inscriptions. Install() builds the net-wide arrays and
// counts the way the run control does; the destructor releases everything
// and resets the globals.
#pragma once

#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

#include "foundation/PtrList.h"
#include "netmodel/Binding.h"
#include "netmodel/Place.h"
#include "netmodel/Transition.h"

class TestNet {
public:
    enum Class { Exclusive, Immediates, Infinite };

    TestNet() = default;
    TestNet(const TestNet&) = delete;
    TestNet& operator=(const TestNet&) = delete;
    ~TestNet();

    // An elementary place; a negative capacity means unbounded.
    Place* AddPlace(const char* name, unsigned short tokens, int capacity = -1);
    // Arcs moving plain tokens: (place, quantity) pairs.
    static PtrList<Arc>* Arcs(std::initializer_list<std::pair<Place*, unsigned short>> arcs);
    static Binding* NewBinding(const Delay& d, PtrList<Arc>* in, PtrList<Arc>* out,
                               double weight = 1.0, const Condition& c = Condition(true));
    Transition* AddTransition(const char* name, Class cls, std::initializer_list<Binding*> bindings,
                              const Condition& guard = Condition(true));

    void Install();

    // The number of plain tokens in place i of a marking vector (0 if absent).
    static unsigned short Tokens(const Pms& pms, int place);

private:
    std::vector<std::unique_ptr<PlaceHeader>> headers;
    std::vector<std::unique_ptr<Place>> places;
    std::vector<Transition*> classes[3];
};
