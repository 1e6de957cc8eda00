#include "solution/ChainDepth.h"

#include <vector>

int chain_depth(int n, const int* ia, const int* ja, int from)
{
    std::vector<int> distance(n + 1, -1);
    std::vector<int> queue;
    queue.reserve(n);
    distance[from] = 0;
    queue.push_back(from);
    int deepest = 0;
    for (std::size_t head = 0; head < queue.size(); ++head) {
        int i = queue[head];
        for (int e = ia[i - 1]; e < ia[i]; ++e) {
            int j = ja[e];
            if (distance[j] >= 0) continue;
            distance[j] = distance[i] + 1;
            deepest = distance[j];
            queue.push_back(j);
        }
    }
    return deepest;
}
