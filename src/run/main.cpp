// mosk: steady-state analysis of stochastic Petri nets.
int main() { return 0; }
