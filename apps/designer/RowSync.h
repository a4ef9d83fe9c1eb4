#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace quarn::designer {

/// The steps that bring one parent's rows to a fresh list, each run by the caller as it comes,
/// so that a view told of each step keeps its selection, expanded items and scroll position.
/// Rows are named by position at the time of the step; the fresh list's positions are the rows'
/// final ones.
struct RowSteps {
    /// Rows first..last go.
    std::function<void(int first, int last)> remove;
    /// The fresh entries first..last come in as rows first..last.
    std::function<void(int first, int last)> insert;
    /// Row `from` moves up to row `to` (to < from), before the row that was there.
    std::function<void(int from, int to)> move;
    /// Row `row` is the fresh entry `row`'s item: the caller takes what changed in it.
    std::function<void(int row)> keep;
};

/// Brings rows keyed by identifier (`held`, in display order) to `fresh` (each identifier
/// once): removes the runs of rows that are gone, inserts the runs of new ones, moves each row
/// that comes earlier now and keeps every row in place, in that order, calling `steps` for each.
void SyncRows(std::vector<int32_t> held, const std::vector<int32_t>& fresh, const RowSteps& steps);

}  // namespace quarn::designer
