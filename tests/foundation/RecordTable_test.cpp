#include "foundation/RecordTable.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "foundation/Recordset.h"

namespace quarn {
namespace {

// FID 0 .. count-1, FGroup FID % 3.
std::shared_ptr<const RecordTable> Numbers(int32_t count) {
    std::vector<RecordTable::Row> rows;
    for (int32_t id = 0; id < count; ++id) {
        rows.push_back({id, id % 3});
    }
    return RecordTable::Create({"FID", "FGroup"}, std::move(rows));
}

// The FIDs of the live rows whose column has the value, ascending by row number.
std::vector<int32_t> IdsWhere(const RecordTable& table, std::size_t column, int64_t value) {
    std::vector<int32_t> ids;
    for (const uint32_t row : table.RowsEqualTo(column, EqualityKey(value))) {
        ids.push_back(table.Value(row, 0).ToInt32());
    }
    return ids;
}

std::vector<uint32_t> RowsWithId(const RecordTable& table, int32_t id) {
    return table.RowsEqualTo(0, EqualityKey(int64_t{id}));
}

// A table that only its holder sees is changed in place: the same table, its indexes keeping up
// with the change. One that a Recordset still reads is patched, and the Recordset keeps seeing
// the rows it had.
TEST(RecordTable, AChangeIsMadeInPlaceOnlyWhenNoOneElseHoldsTheTable) {
    auto table = Numbers(6);
    EXPECT_EQ(IdsWhere(*table, 1, 0), (std::vector<int32_t>{0, 3}));  // builds the index
    const RecordTable* const before = table.get();

    const auto three = RowsWithId(*table, 3);
    table = RecordTable::Changed(std::move(table), three, {{6, 0}, {7, 1}});
    EXPECT_EQ(table.get(), before);
    EXPECT_EQ(IdsWhere(*table, 1, 0), (std::vector<int32_t>{0, 6}));
    EXPECT_EQ(IdsWhere(*table, 0, 7), (std::vector<int32_t>{7}));
    EXPECT_EQ(table->LiveRowCount(), 7u);

    const RecordsetPtr reader = Recordset::Create(table);
    const auto zero = RowsWithId(*table, 0);
    const auto changed = RecordTable::Changed(table, zero, {{8, 2}});
    EXPECT_NE(changed.get(), table.get());
    EXPECT_EQ(IdsWhere(*changed, 1, 0), (std::vector<int32_t>{6}));
    EXPECT_EQ(IdsWhere(*changed, 1, 2), (std::vector<int32_t>{2, 5, 8}));
    EXPECT_EQ(reader->RecordCount(), 7);
    EXPECT_EQ(reader->Fields("FID").ToInt32(), 0);
}

// A row replaced in place keeps its number; the indexes built so far move only the columns whose
// value changed. A table someone else reads, or a row its base shares, is left as it is.
TEST(RecordTable, ARowIsReplacedInItsSlotOnlyWhenNoOneElseSeesIt) {
    auto table = Numbers(6);
    EXPECT_EQ(IdsWhere(*table, 1, 1), (std::vector<int32_t>{1, 4}));  // builds FGroup's index
    const uint32_t four = RowsWithId(*table, 4).front();
    ASSERT_TRUE(RecordTable::ReplacedInPlace(table, four, {4, 0}));
    EXPECT_EQ(RowsWithId(*table, 4), std::vector<uint32_t>{four});
    EXPECT_EQ(IdsWhere(*table, 1, 0), (std::vector<int32_t>{0, 3, 4}));  // in row order
    EXPECT_EQ(IdsWhere(*table, 1, 1), (std::vector<int32_t>{1}));
    EXPECT_EQ(table->LastRowEqualTo(1, EqualityKey(int64_t{0})), four);
    ASSERT_TRUE(RecordTable::ReplacedInPlace(table, four, {40, 0}));  // FID's index built now
    EXPECT_TRUE(RowsWithId(*table, 4).empty());
    EXPECT_EQ(RowsWithId(*table, 40), std::vector<uint32_t>{four});

    const RecordsetPtr reader = Recordset::Create(table);
    EXPECT_FALSE(RecordTable::ReplacedInPlace(table, four, {41, 0}));
    reader->Close();
    const auto patch = RecordTable::Changed(table, {}, {{6, 0}});
    EXPECT_FALSE(RecordTable::ReplacedInPlace(patch, four, {42, 0}));  // the base's row
    EXPECT_EQ(IdsWhere(*patch, 0, 40), (std::vector<int32_t>{40}));
    EXPECT_EQ(patch->LastRowEqualTo(1, EqualityKey(int64_t{0})), 6u);  // the patch's own row
    const auto withoutIt = RecordTable::Changed(patch, RowsWithId(*patch, 6), {});
    EXPECT_EQ(withoutIt->LastRowEqualTo(1, EqualityKey(int64_t{0})), four);  // the base's, live
    EXPECT_EQ(withoutIt->LastRowEqualTo(1, EqualityKey(int64_t{7})), std::nullopt);
}

// A long run of single changes in place, with a row named twice among the removed and rows of a
// patch removed in place and then patched again: every lookup and count stays right, also after the
// removed rows made the table compact itself.
TEST(RecordTable, ManyChangesInPlaceKeepLookupsAndCountsRight) {
    constexpr int32_t kCount = 1200;
    auto base = Numbers(kCount);
    auto table = base->Patched({}, {{kCount, 0}});  // a patch over a base that others share
    std::vector<bool> live(kCount + 1, true);
    for (int32_t id = 0; id <= kCount; id += 2) {
        // The row is rewritten: removed (named twice, removed once), then added again, as a save
        // does. Every other one is then deleted.
        auto rows = RowsWithId(*table, id);
        rows.push_back(rows.front());
        table = RecordTable::Changed(std::move(table), rows, {{id, 9}});
        if (id % 4 == 0) {
            const auto rewritten = RowsWithId(*table, id);
            table = RecordTable::Changed(std::move(table), rewritten, {});
            live[static_cast<std::size_t>(id)] = false;
        }
        if (id == 200) {
            // Before any compaction: a copy of the patch leaves its rows removed in place behind.
            const RecordsetPtr reader = Recordset::Create(table);
            const auto copy = RecordTable::Changed(table, {}, {{5000, 0}});
            ASSERT_NE(copy.get(), table.get());
            EXPECT_TRUE(RowsWithId(*copy, 8).empty());
            EXPECT_EQ(copy->Value(RowsWithId(*copy, 2).front(), 1).ToInt32(), 9);
            EXPECT_EQ(copy->LiveRowCount(), table->LiveRowCount() + 1);
        }
    }
    std::size_t expected = 0;
    for (int32_t id = 0; id <= kCount; ++id) {
        SCOPED_TRACE(id);
        const bool isLive = live[static_cast<std::size_t>(id)];
        expected += isLive ? 1 : 0;
        ASSERT_EQ(RowsWithId(*table, id).size(), isLive ? 1u : 0u);
        if (isLive && id % 2 == 0) {
            EXPECT_EQ(table->Value(RowsWithId(*table, id).front(), 1).ToInt32(), 9);
        }
    }
    EXPECT_EQ(table->LiveRowCount(), expected);
    EXPECT_EQ(table->LiveRows().size(), expected);
    EXPECT_EQ(base->LiveRowCount(), static_cast<std::size_t>(kCount));  // shared: never changed
}

}  // namespace
}  // namespace quarn
