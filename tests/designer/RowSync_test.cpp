#include "RowSync.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace quarn::designer {
namespace {

using Ids = std::vector<int32_t>;

// Rows that follow the steps as a view does, checking that each step is one a view can take.
struct Mirror {
    Ids rows;
    Ids fresh;
    std::set<int32_t> kept;
    int moves = 0;
    int changes = 0;  // removals and insertions

    explicit Mirror(Ids held, Ids target) : rows(std::move(held)), fresh(std::move(target)) {}

    RowSteps Steps() {
        const auto size = [this] { return static_cast<int>(rows.size()); };
        return {[this, size](int first, int last) {
                    ASSERT_TRUE(0 <= first && first <= last && last < size());
                    for (int row = first; row <= last; ++row) {
                        EXPECT_EQ(std::count(fresh.begin(), fresh.end(), rows[row]), 0);
                    }
                    rows.erase(rows.begin() + first, rows.begin() + last + 1);
                    ++changes;
                },
                [this, size](int first, int last) {
                    ASSERT_TRUE(0 <= first && first <= last && first <= size());
                    for (int row = first; row <= last; ++row) {
                        EXPECT_EQ(std::count(rows.begin(), rows.end(), fresh[row]), 0);
                    }
                    rows.insert(rows.begin() + first, fresh.begin() + first,
                                fresh.begin() + last + 1);
                    ++changes;
                },
                [this, size](int from, int to) {
                    ASSERT_TRUE(0 <= to && to < from && from < size());
                    std::rotate(rows.begin() + to, rows.begin() + from, rows.begin() + from + 1);
                    ++moves;
                },
                [this, size](int row) {
                    ASSERT_TRUE(0 <= row && row < size());
                    EXPECT_EQ(rows[row], fresh[row]);
                    EXPECT_TRUE(kept.insert(rows[row]).second) << "kept twice: " << rows[row];
                }};
    }

    void Sync() { SyncRows(rows, fresh, Steps()); }
};

std::string Text(const Ids& ids) {
    std::string text;
    for (const int32_t id : ids) {
        text += std::to_string(id) + " ";
    }
    return text;
}

// Every ordered choice of up to four of five identifiers.
std::vector<Ids> Orders() {
    std::vector<Ids> orders{{}};
    for (std::size_t from = 0; from < orders.size(); ++from) {
        if (orders[from].size() == 4) {
            continue;
        }
        for (int32_t id = 1; id <= 5; ++id) {
            if (std::count(orders[from].begin(), orders[from].end(), id) == 0) {
                Ids longer = orders[from];
                longer.push_back(id);
                orders.push_back(longer);
            }
        }
    }
    return orders;
}

TEST(RowSync, AnyRowsBecomeAnyFreshListThroughStepsAViewCanFollow) {
    const std::vector<Ids> orders = Orders();
    for (const Ids& held : orders) {
        for (const Ids& fresh : orders) {
            SCOPED_TRACE(Text(held) + "-> " + Text(fresh));
            Mirror mirror(held, fresh);
            mirror.Sync();
            ASSERT_EQ(mirror.rows, fresh);
            // Every row that stays is kept once, so the caller can take its changes; a new one
            // is not, it came in fresh.
            std::set<int32_t> stayed;
            for (const int32_t id : fresh) {
                if (std::count(held.begin(), held.end(), id) > 0) {
                    stayed.insert(id);
                }
            }
            ASSERT_EQ(mirror.kept, stayed);
        }
    }
}

TEST(RowSync, OnlyWhatChangedIsAnnounced) {
    Mirror same({1, 2, 3, 4}, {1, 2, 3, 4});
    same.Sync();
    EXPECT_EQ(same.moves + same.changes, 0);

    // The last row moved to the front: one move, not a removal and an insertion.
    Mirror moved({1, 2, 3, 4}, {4, 1, 2, 3});
    moved.Sync();
    EXPECT_EQ(moved.moves, 1);
    EXPECT_EQ(moved.changes, 0);

    // Runs go and come whole.
    Mirror runs({1, 2, 3, 4, 5, 6}, {1, 7, 8, 5, 6, 9});
    runs.Sync();
    EXPECT_EQ(runs.changes, 3);  // 2-4 out, 7-8 in, 9 in
    EXPECT_EQ(runs.moves, 0);
}

}  // namespace
}  // namespace quarn::designer
