// An entry (i, j) of A with both rows chosen is an edge between their
// vertices; scanning the chosen rows alone finds every such edge, so a part
// of the matrix costs time in proportion to its own rows.
#include "solution/SymmetricPattern.h"

SymmetricPattern symmetric_pattern(int n, const int* ia, const int* ja,
                                   const std::vector<int>& rows)
{
    std::vector<int> vertex_of(n + 1, -1);
    std::vector<int> chosen = rows;
    if (chosen.empty())
        for (int i = 1; i <= n; ++i) chosen.push_back(i);
    int size = static_cast<int>(chosen.size());
    for (int v = 0; v < size; ++v) vertex_of[chosen[v]] = v;

    SymmetricPattern pattern;
    pattern.start.assign(size + 1, 0);
    auto each_edge = [&](auto&& visit) {
        for (int v = 0; v < size; ++v) {
            int row = chosen[v];
            for (int e = ia[row - 1]; e < ia[row]; ++e) {
                int w = vertex_of[ja[e]];
                if (w >= 0 && w != v) visit(v, w);
            }
        }
    };
    each_edge([&](int v, int w) {
        ++pattern.start[v + 1];
        ++pattern.start[w + 1];
    });
    for (int v = 0; v < size; ++v) pattern.start[v + 1] += pattern.start[v];
    std::vector<int> both_ways(pattern.start[size]);
    std::vector<int> next(pattern.start.begin(), pattern.start.end() - 1);
    each_edge([&](int v, int w) {
        both_ways[next[v]++] = w;
        both_ways[next[w]++] = v;
    });

    // An edge found in both of its rows, or twice in one, is kept once.
    std::vector<int> seen_by(size, -1);
    pattern.adjacent.reserve(both_ways.size());
    int written = 0;
    for (int v = 0; v < size; ++v) {
        int from = pattern.start[v], to = pattern.start[v + 1];
        pattern.start[v] = written;
        for (int e = from; e < to; ++e) {
            int w = both_ways[e];
            if (seen_by[w] == v) continue;
            seen_by[w] = v;
            pattern.adjacent.push_back(w);
            ++written;
        }
    }
    pattern.start[size] = written;
    return pattern;
}

std::vector<int> rows_around_the_first(int n, const int* ia, const int* ja, int count)
{
    if (count > n) count = n;
    std::vector<bool> reached(n + 1, false);
    std::vector<int> rows;
    rows.reserve(count);
    int lowest_unreached = 1;
    for (std::size_t head = 0; static_cast<int>(rows.size()) < count;) {
        if (head == rows.size()) {
            while (reached[lowest_unreached]) ++lowest_unreached;
            reached[lowest_unreached] = true;
            rows.push_back(lowest_unreached);
        }
        int row = rows[head++];
        for (int e = ia[row - 1]; e < ia[row] && static_cast<int>(rows.size()) < count; ++e) {
            if (reached[ja[e]]) continue;
            reached[ja[e]] = true;
            rows.push_back(ja[e]);
        }
    }
    return rows;
}
