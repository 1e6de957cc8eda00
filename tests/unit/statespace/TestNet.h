// Small nets built directly from the net-model classes, with the numbering,
// colour slots, dependencies and net-wide tables that the description reader
// would set up, and fresh marking stores. One TestNet at a time; its
// destructor releases the net and resets every global it touched.
#pragma once

#include <memory>
#include <vector>

#include "netmodel/Delay.h"
#include "netmodel/Place.h"
#include "netmodel/Transition.h"

// Tokens moved between a binding and an elementary place.
struct Flow {
    Place* place;
    unsigned short tokens;
};

struct BindingShape {
    std::vector<Flow> in;
    std::vector<Flow> out;
    std::shared_ptr<Delay> delay;
    double weight = 1.0;  // the choice among the bindings of an exclusive transition
};

std::shared_ptr<Delay> Exp(double rate);
std::shared_ptr<Delay> Det(double delay);
std::shared_ptr<Delay> Gen();
std::shared_ptr<Delay> Imm(double weight);
// An immediate weight as given, even zero or negative (the expression
// delays refuse such numbers themselves).
std::shared_ptr<Delay> RawWeight(double weight);

class TestNet {
public:
    static constexpr int kUnbounded = -1;

    TestNet();
    TestNet(const TestNet&) = delete;
    TestNet& operator=(const TestNet&) = delete;
    ~TestNet();

    Place* AddPlace(const char* name, unsigned short initial = 0, int capacity = kUnbounded);
    // Immediate when the first binding is; otherwise timed with the server.
    Transition* Add(const char* name, std::vector<BindingShape> bindings,
                    ServerType server = ExclusiveServer);
    // Numbering, colour slots, dependencies, the net-wide tables and stores.
    void Finish();

private:
    std::vector<PlaceHeader*> headers;
    std::vector<Place*> places;
    std::vector<Transition*> transitions;
};
