// Reading the steady-state vector.
#include "frontend/SteadyStateFile.h"

#include <fstream>
#include <iterator>

std::optional<std::vector<double>> ReadSteadyState(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
    if (bytes.size() % sizeof(double) != 0 || bytes.size() < 2 * sizeof(double))
        return std::nullopt;
    std::vector<double> values(bytes.size() / sizeof(double));
    std::copy(bytes.begin(), bytes.end(), reinterpret_cast<char*>(values.data()));
    if (values[0] != 0.0 || values[1] != -1.0) return std::nullopt;
    return std::vector<double>(values.begin() + 2, values.end());
}
