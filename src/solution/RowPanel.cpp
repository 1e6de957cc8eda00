// Values lie row-fastest (a panel column's kRows values together), so
// reducing the group by one entry of U is one short vector operation, and a
// run of rows of U is applied a few rows at a time per panel column, the
// panel's values loaded once for all of them.
#include "solution/RowPanel.h"

#include "solution/PanelKernel.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <functional>

RowPanel::RowPanel(int n, int* c, int* ic, int* work)
    : c_(c), ic_(ic), loc_(work), stamp_(work + (n + 1))
{
}

void RowPanel::Start(int first)
{
    for (int column : columns_) loc_[column] = 0;
    columns_.clear();
    values_.clear();
    holds_.clear();
    earlier_.clear();
    std::fill(rhs_, rhs_ + kRows, 0.0);
    first_ = first;
    done_until_ = 0;
}

int RowPanel::Add(int column)
{
    int local = static_cast<int>(columns_.size());
    loc_[column] = local + 1;
    columns_.push_back(column);
    holds_.push_back(0);
    values_.resize(Slot(local + 1), 0.0);
    if (ic_[column] < first_) {
        earlier_.push_back(ic_[column]);
        std::push_heap(earlier_.begin(), earlier_.end(), std::greater<int>());
    }
    return local;
}

bool RowPanel::Load(int row, const int* ia, const int* ja, const double* a, int i, double rhs)
{
    ++stamp_count_;
    for (int e = ia[i - 1]; e < ia[i]; ++e) {
        if (stamp_[ja[e]] == stamp_count_) return false;
        stamp_[ja[e]] = stamp_count_;
    }
    for (int e = ia[i - 1]; e < ia[i]; ++e) {
        int local = Local(ja[e]);
        values_[Slot(local) + row] = a[e];
        holds_[local] |= Mask(1u << row);
    }
    rhs_[row] = rhs;
    return true;
}

void RowPanel::ReduceByEarlier(const UpperFactor& U, const double* y)
{
    while (!earlier_.empty()) {
        std::pop_heap(earlier_.begin(), earlier_.end(), std::greater<int>());
        int j = earlier_.back();
        earlier_.pop_back();
        // A column no row holds came with a hole of a run.
        if (j <= done_until_ || !holds_[loc_[c_[j]] - 1]) continue;
        done_until_ = U.RunEnd(j);
        Apply(j, done_until_, Mask(~0u), U, y);
    }
}

void RowPanel::ReduceByStored(int row, int s, const UpperFactor& U, const double* y)
{
    Mask later = Mask(~((2u << row) - 1));
    if (holds_[loc_[c_[s]] - 1] & later) Apply(s, s, later, U, y);
}

void RowPanel::Apply(int j, int last, Mask rows, const UpperFactor& U, const double* y)
{
    const double* u = U.Values();
    int width = U.End(j) - U.Begin(j);
    int count = last - j + 1;
    if (static_cast<int>(targets_.size()) < width) targets_.resize(width);
    holes_.clear();
    for (int q = 0; q < count; ++q)
        U.Holes(j + q, [&](int offset) { holes_.push_back({q + offset, q}); });
    if (holes_.empty())
        MarkGained(j, count, width, rows, U);
    else
        MarkGainedPastHoles(j, count, width, rows, U);
    const int* targets = targets_.data();
    if (static_cast<int>(factors_.size()) < count * kRows) factors_.resize(count * kRows);
    double* values = values_.data();

    // Row q of the run reduces the rows holding its pivot column. The rows
    // go in blocks of four: within a block one after the other, each row's
    // factors taken once the rows before it have reached its pivot column,
    // then the block's four together on every column after its pivots.
    const double* row_values[4];
    for (int block = 0; block < count; block += 4) {
        int block_end = std::min(block + 4, count);
        for (int q = block; q < block_end; ++q) {
            int pivot_local = q == 0 ? loc_[c_[j]] - 1 : targets[q - 1];
            Mask mask = holds_[pivot_local] & rows;
            double* factor = &factors_[static_cast<std::size_t>(q) * kRows];
            double* pivot_values = values + Slot(pivot_local);
            for (int b = 0; b < kRows; ++b) {
                bool held = (mask >> b) & 1;
                factor[b] = held ? -pivot_values[b] : 0.0;
                if (held) {
                    pivot_values[b] = 0.0;
                    rhs_[b] += factor[b] * y[j + q];
                }
            }
            row_values[0] = u + U.Begin(j + q) - q;
            add_rows(values, targets, q, block_end - 1, row_values, factor, 1);
        }
        for (int q = block; q < block_end; ++q) row_values[q - block] = u + U.Begin(j + q) - q;
        add_rows(values, targets, block_end - 1, width, row_values,
                 &factors_[static_cast<std::size_t>(block) * kRows], block_end - block);
    }
}

void RowPanel::MarkGained(int j, int count, int width, Mask rows, const UpperFactor& U)
{
    const int* listed = U.ColumnsOf(j);
    int* targets = targets_.data();
    // The rows of the panel a column gains: for the pivot column of row
    // q + 1 (the run's column q), those reduced by the rows 0..q, which list
    // it; for the rest, those reduced by any row. `reduced` grows with them.
    Mask reduced = holds_[loc_[c_[j]] - 1] & rows;
    for (int p = 0; p < width; ++p) {
        int local = Local(listed[p]);
        targets[p] = local;
        holds_[local] |= reduced;
        if (p + 1 < count) reduced |= holds_[local] & rows;
    }
}

void RowPanel::MarkGainedPastHoles(int j, int count, int width, Mask rows, const UpperFactor& U)
{
    const int* listed = U.ColumnsOf(j);
    ListHolesByPosition(count, width);
    if (static_cast<int>(reduced_by_.size()) < count) reduced_by_.resize(count);
    // As MarkGained, but not the rows only reduced by rows with a hole at
    // the column; reduced_until_[q] holds the rows reduced by the rows 0..q.
    if (static_cast<int>(reduced_until_.size()) < count) reduced_until_.resize(count);
    Mask* by = reduced_by_.data();
    Mask* until = reduced_until_.data();
    int* targets = targets_.data();
    const int* hole_at = hole_at_.data();
    Mask reduced = by[0] = until[0] = holds_[loc_[c_[j]] - 1] & rows;
    for (int p = 0; p < width; ++p) {
        int local = Local(listed[p]);
        targets[p] = local;
        Mask gained = reduced;
        if (hole_at[p] >= 0) {
            // A row of the run without a hole here that reduces them is
            // mostly found at once from the first row reducing any of them.
            Mask doubtful = 0;
            for (int h = hole_at[p]; h >= 0; h = next_hole_[h]) {
                hole_stamp_[holes_[h].row] = p;
                doubtful |= by[holes_[h].row];
            }
            int last = std::min(p, count - 1);
            int q = static_cast<int>(std::partition_point(until, until + last + 1,
                                                          [&](Mask m) { return !(m & doubtful); }) -
                                     until);
            for (; doubtful && q <= last; ++q)
                if (hole_stamp_[q] != p) doubtful &= Mask(~by[q]);
            gained &= Mask(~doubtful);
        }
        holds_[local] |= gained;
        if (p + 1 < count) {
            by[p + 1] = holds_[local] & rows;
            reduced |= by[p + 1];
            until[p + 1] = reduced;
        }
    }
}

void RowPanel::ListHolesByPosition(int count, int width)
{
    hole_at_.assign(width, -1);
    next_hole_.resize(holes_.size());
    for (int h = 0; h < static_cast<int>(holes_.size()); ++h) {
        next_hole_[h] = hole_at_[holes_[h].position];
        hole_at_[holes_[h].position] = h;
    }
    if (static_cast<int>(hole_stamp_.size()) < count) hole_stamp_.resize(count);
    std::fill(hole_stamp_.begin(), hole_stamp_.begin() + count, -1);
}

int RowPanel::Pivot(int row)
{
    int s = first_ + row;
    Mask bit = Mask(1u << row);
    competing_.clear();
    int pivot = 0;
    double largest = 0.0;
    for (int local = 0, width = static_cast<int>(columns_.size()); local < width; ++local) {
        if (!(holds_[local] & bit)) continue;
        int column = columns_[local];
        if (ic_[column] < s) continue;
        competing_.push_back(column);
        double magnitude = std::fabs(values_[Slot(local) + row]);
        if (pivot == 0 || magnitude > largest ||
            (magnitude == largest && ic_[column] < ic_[pivot])) {
            pivot = column;
            largest = magnitude;
        }
    }
    if (pivot != 0) competing_.erase(std::find(competing_.begin(), competing_.end(), pivot));
    return pivot;
}

void RowPanel::Exchange(int s, int pivot)
{
    int displaced = c_[s];
    c_[ic_[pivot]] = displaced;
    ic_[displaced] = ic_[pivot];
    c_[s] = pivot;
    ic_[pivot] = s;
}

bool RowPanel::Store(int row, int pivot, double reciprocal, double droptol, int& dropped,
                     UpperFactor& U)
{
    auto value_of = [&](int column) { return values_[Slot(loc_[column] - 1) + row]; };
    return U.Store(first_ + row, pivot, competing_, value_of, reciprocal, droptol, dropped);
}
