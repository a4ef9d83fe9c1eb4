// The listing of every group that the business objects send as a free query is answered from the
// session's snapshot: it must give what the query gives on the database, after another
// program's change too.
#include <gtest/gtest.h>

#include <string>

#include "foundation/Utf8Text.h"
#include "host/IClassInfo.h"
#include "host/ProgIds.h"
#include "runtime/SessionContext.h"
#include "store/StoreFixture.h"

namespace quarn::suite {
namespace {

constexpr const char* kAllGroups = "SELECT * FROM t_DataFlowTopClass Order By FIndex asc";

class GroupListingTest : public StoreTest {
  protected:
    // Every column name and value of the listing, row by row.
    static std::vector<std::vector<std::string>> Cells(Recordset& rows) {
        std::vector<std::vector<std::string>> cells;
        std::vector<std::string> names;
        for (std::size_t column = 0; column < rows.ColumnCount(); ++column) {
            names.push_back(rows.ColumnName(column));
        }
        cells.push_back(names);
        for (rows.MoveFirst(); !rows.Eof(); rows.MoveNext()) {
            std::vector<std::string> row;
            for (std::size_t column = 0; column < rows.ColumnCount(); ++column) {
                const Variant& value = rows.Fields(column);
                row.push_back(value.IsNull() ? "NULL" : value.ToText());
            }
            cells.push_back(row);
        }
        return cells;
    }
    std::vector<std::vector<std::string>> OnTheDatabase() const {
        auto rows =
            Recordset::Create(Stored("SELECT * FROM t_DataFlowTopClass ORDER BY FIndex, "
                                     "FTopClassID"));
        auto cells = Cells(*rows);
        for (std::string& name : cells.front()) {
            name = text::ToUpperAscii(name);  // PostgreSQL names them in lower case
        }
        return cells;
    }
    std::vector<std::vector<std::string>> Listed(const std::string& sql) {
        const auto classInfo = host->Registry().Create<IClassInfo>(progid::kClassInfo);
        auto cells = Cells(*classInfo->GetData(Context(), sql));
        for (std::string& name : cells.front()) {
            name = text::ToUpperAscii(name);
        }
        return cells;
    }
};

TEST_P(GroupListingTest, TheListingFromTheSnapshotIsWhatTheQueryGives) {
    subsysmgr::GetDataFlowInfo(*module).GetTopClass_All();  // the snapshot is warm
    EXPECT_EQ(Listed(kAllGroups), OnTheDatabase());
    // Another program renames a group, moves it first and takes another's index; the listing
    // follows the change log.
    Administer(
        "UPDATE t_DataFlowTopClass SET FTopClassName_EN = 'Renamed', FIndex = -1 WHERE "
        "FTopClassID = 851");
    Administer("UPDATE t_DataFlowTopClass SET FIndex = 160 WHERE FTopClassID = 852");
    const auto listed = Listed(kAllGroups);
    EXPECT_EQ(listed, OnTheDatabase());
    ASSERT_GT(listed.size(), 2u);
    EXPECT_EQ(listed[1][0], "851");
    // Any other text is a free query on the database.
    EXPECT_EQ(Listed("SELECT * FROM t_DataFlowTopClass ORDER BY FIndex, FTopClassID"), listed);
}

INSTANTIATE_TEST_SUITE_P(Stores, GroupListingTest,
                         ::testing::Values(Backend::SQLite, Backend::PostgreSQL), BackendName);

}  // namespace
}  // namespace quarn::suite
