// Each part is ordered by minimum degree, and also by nested dissection when
// the minimum degree order leaves enough work for a better order to pay for
// METIS (about ten microseconds a state); the order with less work wins.
#include "solution/EliminationForecast.h"

#include "solution/FillCount.h"
#include "solution/FillReducingOrder.h"
#include "solution/SymmetricPattern.h"

#include <algorithm>
#include <new>

namespace {

// The first part; smaller chains are looked at whole at once.
constexpr int kFirstPartStates = 16384;
// Multiply-adds per state beyond which nested dissection is tried too.
constexpr double kDissectionWorthPerState = 1e4;

struct OrderedPart {
    std::vector<int> order;  // vertices of the part's pattern
    FillCount count;
};

// `last` (a vertex, or -1) moved to the end of `order`.
std::vector<int> with_last_at_end(std::vector<int> order, int last)
{
    if (last < 0) return order;
    auto at = std::find(order.begin(), order.end(), last);
    if (at != order.end()) std::rotate(at, at + 1, order.end());
    return order;
}

OrderedPart counted(const SymmetricPattern& pattern, std::vector<int> order, int last)
{
    if (order.empty()) return {};
    order = with_last_at_end(std::move(order), last);
    FillCount count = count_fill(pattern, order);
    return {std::move(order), std::move(count)};
}

OrderedPart best_order(const SymmetricPattern& pattern, int last, const EliminationBudget& budget)
{
    OrderedPart best = counted(pattern, minimum_degree_order(pattern), last);
    bool worth_dissecting = !best.count.counted || best.count.work > budget.work ||
                            best.count.u_entries > budget.u_entries ||
                            best.count.work > kDissectionWorthPerState * pattern.Size();
    if (!worth_dissecting) return best;
    OrderedPart dissected = counted(pattern, nested_dissection_order(pattern), last);
    if (dissected.count.counted && (!best.count.counted || dissected.count.work < best.count.work))
        return dissected;
    return best;
}

}  // namespace

EliminationForecast forecast_elimination(int n, const int* ia, const int* ja, int last,
                                         const EliminationBudget& budget)
{
    EliminationForecast forecast;
    try {
        for (long size = std::min(n, kFirstPartStates);; size = std::min<long>(4 * size, n)) {
            bool whole = size == n;
            std::vector<int> rows;
            if (!whole) rows = rows_around_the_first(n, ia, ja, static_cast<int>(size));
            SymmetricPattern pattern = symmetric_pattern(n, ia, ja, rows);
            OrderedPart part = best_order(pattern, whole ? last - 1 : -1, budget);
            if (!part.count.counted) return EliminationForecast();
            forecast.u_entries = part.count.u_entries;
            forecast.work = part.count.work;
            forecast.states = static_cast<int>(size);
            forecast.ordered = true;
            if (!whole && forecast.Within(budget, static_cast<int>(size))) continue;
            if (!whole) return forecast;
            forecast.order.assign(1, 0);
            for (int vertex : part.order) forecast.order.push_back(vertex + 1);
            return forecast;
        }
    } catch (const std::bad_alloc&) {
        return EliminationForecast();
    }
}
