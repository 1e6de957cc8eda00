// The kanban net with four stations and n cards per station, all
// transitions exponential and exclusive: the scaling example of the graph
// generation (160, 4,600, 58,400, 454,475, 2,546,432 tangible markings for
// n = 1 to 5).
#pragma once

class TestNet;

void BuildKanban(TestNet& net, int n);
