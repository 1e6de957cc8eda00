// Small nets shared by several tests, each described where it is built.
#pragma once

class TestNet;

// A vanishing initial marking: immediate bindings of weights 1 and 3 put
// the token of v on a or on b; exponential transitions move it between them.
void BuildVanishingStart(TestNet& net);
// Two bindings of equal weight of one transition are enabled initially, so
// the initial marking chooses between them; a second transition returns.
void BuildChoiceAtStart(TestNet& net);
