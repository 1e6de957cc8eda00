// mosk's steady-state vector, <net>.PROBMARK: the doubles -0.0 and -1.0,
// then the probabilities of the states 1 to n, in native byte order.
#pragma once

#include <optional>
#include <string>
#include <vector>

// The probabilities (entry k - 1 for state k); nothing when the file is
// missing or does not start as such a file does.
std::optional<std::vector<double>> ReadSteadyState(const std::string& path);
