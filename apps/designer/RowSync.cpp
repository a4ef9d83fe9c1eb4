#include "RowSync.h"

#include <algorithm>
#include <cstddef>
#include <unordered_set>

namespace quarn::designer {

namespace {

// Removes the runs of `held` that `fresh` lacks, last run first, so that the positions of the
// runs before stay as they were.
void RemoveGone(std::vector<int32_t>& held, const std::vector<int32_t>& fresh,
                const RowSteps& steps) {
    std::unordered_set<int32_t> freshIds;
    freshIds.reserve(fresh.size());
    freshIds.insert(fresh.begin(), fresh.end());
    for (int last = static_cast<int>(held.size()) - 1; last >= 0;) {
        if (freshIds.contains(held[static_cast<std::size_t>(last)])) {
            --last;
            continue;
        }
        int first = last;
        while (first > 0 && !freshIds.contains(held[static_cast<std::size_t>(first - 1)])) {
            --first;
        }
        steps.remove(first, last);
        held.erase(held.begin() + first, held.begin() + last + 1);
        last = first - 1;
    }
}

}  // namespace

void SyncRows(std::vector<int32_t> held, const std::vector<int32_t>& fresh, const RowSteps& steps) {
    if (held == fresh) {  // the rows stay where they are, as on most refreshes
        for (std::size_t row = 0; row < fresh.size(); ++row) {
            steps.keep(static_cast<int>(row));
        }
        return;
    }
    RemoveGone(held, fresh, steps);
    // What is left of `held` is in `fresh`; walking `fresh`, each place gets its row by an
    // insertion of the new ones or by moving the row up from further down.
    std::unordered_set<int32_t> old;
    old.reserve(held.size());
    old.insert(held.begin(), held.end());
    for (std::size_t i = 0; i < fresh.size(); ++i) {
        if (i < held.size() && held[i] == fresh[i]) {
            steps.keep(static_cast<int>(i));
            continue;
        }
        if (!old.contains(fresh[i])) {
            std::size_t end = i + 1;
            while (end < fresh.size() && !old.contains(fresh[end])) {
                ++end;
            }
            steps.insert(static_cast<int>(i), static_cast<int>(end - 1));
            held.insert(held.begin() + static_cast<std::ptrdiff_t>(i),
                        fresh.begin() + static_cast<std::ptrdiff_t>(i),
                        fresh.begin() + static_cast<std::ptrdiff_t>(end));
            i = end - 1;
            continue;
        }
        std::size_t from = i + 1;
        while (held[from] != fresh[i]) {
            ++from;
        }
        steps.move(static_cast<int>(from), static_cast<int>(i));
        std::rotate(held.begin() + static_cast<std::ptrdiff_t>(i),
                    held.begin() + static_cast<std::ptrdiff_t>(from),
                    held.begin() + static_cast<std::ptrdiff_t>(from + 1));
        steps.keep(static_cast<int>(i));
    }
}

}  // namespace quarn::designer
