#include "foundation/RecordsetFilter.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "foundation/ComError.h"
#include "foundation/FoundationErrors.h"
#include "foundation/RaisedError.h"
#include "foundation/Recordset.h"

namespace quarn {
namespace {

RecordsetPtr Items() {
    return Recordset::Create({"FID", "FName", "FPrice", "FCode"},
                             {{1, "Alpha", 2.5, "10"},
                              {2, "O'Brien", int16_t{-3}, "20"},
                              {3, Variant::Null(), 2.5, Variant::Null()},
                              {4, "Alpha", int64_t{10}, "-3"},
                              {-7, "O''Brien", Variant::Null(), "2.5"}});
}

// The values of a column in the rows the Recordset shows, from its first row on.
std::vector<int32_t> Column(Recordset& rs, std::string_view column) {
    std::vector<int32_t> values;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        values.push_back(rs.Fields(column).ToInt32());
    }
    return values;
}

TEST(RecordsetFilter, ShowsTheRowsThatEveryTermAdmits) {
    // Applied one after the other to one Recordset: each filter replaces the previous one. A
    // null matches neither = nor <>; a number never equals a text, nor a text a number.
    const struct {
        std::string filter;
        std::vector<int32_t> ids;
    } cases[] = {{"FID=2", {2}},
                 {"  fid   =   2  ", {2}},
                 {"FID<>2", {1, 3, 4, -7}},
                 {"FID = -7", {-7}},
                 {"FID=1.0", {1}},
                 {"FPrice=2.5", {1, 3}},
                 {"fprice=2.50", {1, 3}},
                 {"FPrice=10", {4}},
                 {"FPrice=-3", {2}},
                 {"FPrice<>2.5", {2, 4}},
                 {"FName='Alpha'", {1, 4}},
                 {"FName='alpha'", {}},
                 {"FName<>'Alpha'", {2, -7}},
                 {"FName='O''Brien'", {2}},
                 {"FName=" + QuoteFilterText("O'Brien"), {2}},
                 {"FName='O''''Brien'", {-7}},
                 {"FName=" + QuoteFilterText("O''Brien"), {-7}},
                 {"FName=''", {}},
                 {"FName<>'O''Brien'", {1, 4, -7}},
                 {"FCode=10", {}},
                 {"FCode<>10", {1, 2, 4, -7}},
                 {"FID='1'", {}},
                 {"FCode='10'", {1}},
                 {"FCode='-3'", {4}},
                 {"FName='O''Brien' AND FID=2", {2}},
                 {"FName='Alpha' AND FID<>1", {4}},
                 {"FPrice=2.5 aNd FID<>3   AND   FCode='10'", {1}},
                 {"FID<>1 and FID<>4 And FPrice<>-3", {3}},
                 {"FName='Alpha' AND FName<>'Alpha'", {}},
                 {"", {1, 2, 3, 4, -7}},
                 {"FID=4", {4}},
                 {"   ", {1, 2, 3, 4, -7}}};
    auto rs = Items();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.filter);
        rs->Filter(c.filter);
        EXPECT_EQ(rs->Filter(), c.filter);
        EXPECT_EQ(rs->RecordCount(), static_cast<int32_t>(c.ids.size()));
        EXPECT_EQ(Column(*rs, "FID"), c.ids);
    }
}

TEST(RecordsetFilter, ABadFilterRaisesAndLeavesTheRecordsetAsItWas) {
    const std::string syntaxErrors[] = {"FName='Alpha",
                                        "FName='O''Brien",
                                        "FID 1",
                                        "FID",
                                        "FID=",
                                        "=1",
                                        "FID==1",
                                        "FID<1",
                                        "FID=abc",
                                        "FID=1.2.3",
                                        "FID=1 AND",
                                        "FID=1 AND ",
                                        "FID=5AND FID=1",
                                        "FID=1 ANDFID=1",
                                        "#!?",
                                        "FID=1 OR FID=2",
                                        "FID=1 FID=2"};
    const std::string unknownColumns[] = {"FNmae='Alpha'", "FID=1 AND Missing='x'"};
    auto rs = Items();
    rs->Filter("FName='Alpha'");
    rs->MoveNext();
    const auto check = [&](const std::string& filter, FoundationError error) {
        SCOPED_TRACE(filter);
        EXPECT_EQ(RaisedError([&] { rs->Filter(filter); }), ErrorNumber(error));
        EXPECT_EQ(rs->Filter(), "FName='Alpha'");
        EXPECT_EQ(rs->RecordCount(), 2);
        ASSERT_FALSE(rs->Eof());
        EXPECT_EQ(rs->Fields("FID").ToInt32(), 4);
    };
    for (const auto& filter : syntaxErrors) {
        check(filter, FoundationError::FilterSyntax);
    }
    for (const auto& filter : unknownColumns) {
        check(filter, FoundationError::UnknownColumn);
    }
}

TEST(RecordsetFilter, EqualityLookupsGiveTheRowsThatAScanFinds) {
    // Ids with duplicates, stored as several numeric types and sometimes null; the filter reads
    // candidates from the index of the first equality term and must agree with a full scan.
    constexpr int kRows = 10000;
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> id(0, 2999);
    std::vector<RecordTable::Row> rows;
    for (int row = 0; row < kRows; ++row) {
        const int value = id(random);
        const Variant fid = row % 4 == 0    ? Variant(value)
                            : row % 4 == 1  ? Variant(static_cast<double>(value))
                            : row % 4 == 2  ? Variant(int64_t{value})
                            : row % 20 == 3 ? Variant::Null()
                                            : Variant(static_cast<int16_t>(value));
        rows.push_back({row, fid, row % 3, "c" + std::to_string(value % 500)});
    }
    const auto table = RecordTable::Create({"FRow", "FID", "FGroup", "FCode"}, rows);
    auto rs = Recordset::Create(table);

    for (int key = -5; key < 300; ++key) {
        const std::string k = std::to_string(key);
        const std::string filters[] = {"FID=" + k, "FGroup<>0 AND FID=" + k,
                                       "FCode='c" + k + "' AND FGroup<>1"};
        for (std::size_t form = 0; form < std::size(filters); ++form) {
            SCOPED_TRACE(filters[form]);
            std::vector<int32_t> expected;
            for (int row = 0; row < kRows; ++row) {
                const Variant& fid = table->Value(row, 1);
                const bool idMatches = !fid.IsNull() && fid.ToInt32() == key;
                const bool matches = form == 0 ? idMatches
                                     : form == 1
                                         ? idMatches && row % 3 != 0
                                         : table->Value(row, 3).ToText() == "c" + k && row % 3 != 1;
                if (matches) {
                    expected.push_back(row);
                }
            }
            rs->Filter(filters[form]);
            ASSERT_EQ(Column(*rs, "FRow"), expected);
        }
    }
}

}  // namespace
}  // namespace quarn
