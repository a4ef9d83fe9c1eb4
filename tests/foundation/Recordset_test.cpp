#include "foundation/Recordset.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "foundation/ComError.h"
#include "foundation/FoundationErrors.h"
#include "foundation/RaisedError.h"

namespace quarn {
namespace {

std::shared_ptr<const RecordTable> Three() {
    return RecordTable::Create({"FID", "FName"}, {{1, "One"}, {2, "Two"}, {3, "Three"}});
}

TEST(Recordset, TheCursorWalksTheVisibleRowsFromTheFirstToTheEnd) {
    auto rs = Recordset::Create(Three());
    ASSERT_FALSE(rs->Eof());
    EXPECT_FALSE(rs->Bof());
    EXPECT_EQ(rs->Fields("fid").ToInt32(), 1);
    EXPECT_EQ(RaisedError([&] { rs->Fields("FCode"); }),
              ErrorNumber(FoundationError::UnknownColumn));

    rs->MoveNext();
    rs->MoveNext();
    EXPECT_EQ(rs->Fields("FNAME").ToText(), "Three");
    EXPECT_EQ(rs->Fields(std::size_t{1}).ToText(), "Three");  // by position
    EXPECT_EQ(RaisedError([&] { rs->Fields(std::size_t{2}); }),
              ErrorNumber(FoundationError::UnknownColumn));
    rs->MoveNext();
    EXPECT_TRUE(rs->Eof());
    EXPECT_FALSE(rs->Bof());
    EXPECT_EQ(RaisedError([&] { rs->Fields("FID"); }), ErrorNumber(FoundationError::NoCurrentRow));
    EXPECT_EQ(RaisedError([&] { rs->MoveNext(); }), ErrorNumber(FoundationError::NoCurrentRow));
    rs->MoveFirst();
    EXPECT_EQ(rs->Fields("FID").ToInt32(), 1);

    // A filter moves to the first row it admits; MoveFirst comes back to it.
    rs->Filter("FID<>1");
    EXPECT_EQ(rs->Fields("FID").ToInt32(), 2);
    rs->MoveNext();
    EXPECT_EQ(rs->Fields("FID").ToInt32(), 3);
    rs->MoveFirst();
    EXPECT_EQ(rs->Fields("FID").ToInt32(), 2);
}

TEST(Recordset, WithoutRowsItIsAtBothEofAndBof) {
    auto empty = Recordset::Create({"FID"}, {});
    auto filtered = Recordset::Create(Three());
    filtered->MoveNext();
    filtered->Filter("FID=9");
    for (const auto& rs : {empty, filtered}) {
        EXPECT_TRUE(rs->Eof());
        EXPECT_TRUE(rs->Bof());
        EXPECT_EQ(rs->RecordCount(), 0);
        EXPECT_EQ(RaisedError([&] { rs->Fields("FID"); }),
                  ErrorNumber(FoundationError::NoCurrentRow));
        EXPECT_EQ(RaisedError([&] { rs->MoveNext(); }), ErrorNumber(FoundationError::NoCurrentRow));
    }
    filtered->Filter("");
    EXPECT_FALSE(filtered->Bof());
    EXPECT_EQ(filtered->Fields("FID").ToInt32(), 1);
}

TEST(Recordset, AfterCloseEveryUseRaisesRecordsetClosed) {
    auto rs = Recordset::Create(Three());
    rs->Filter("FID<>2");
    EXPECT_EQ(rs->State(), 1);
    rs->Close();
    EXPECT_EQ(rs->State(), 0);
    const std::function<void()> uses[] = {[&] { rs->Fields("FID"); },   [&] { rs->MoveFirst(); },
                                          [&] { rs->MoveNext(); },      [&] { rs->Eof(); },
                                          [&] { rs->Bof(); },           [&] { rs->RecordCount(); },
                                          [&] { rs->Filter("FID=1"); }, [&] { rs->Filter(""); },
                                          [&] { rs->ColumnCount(); },   [&] { rs->ColumnName(0); }};
    for (std::size_t i = 0; i < std::size(uses); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(RaisedError(uses[i]), ErrorNumber(FoundationError::RecordsetClosed));
    }
}

TEST(Recordset, RecordsetsOverOneTableKeepTheirOwnFilterAndCursor) {
    const auto table = Three();
    auto a = Recordset::Create(table);
    auto b = Recordset::Create(table);
    a->Filter("FID<>1");
    b->MoveNext();
    b->MoveNext();
    EXPECT_EQ(a->RecordCount(), 2);
    EXPECT_EQ(a->Fields("FID").ToInt32(), 2);
    EXPECT_EQ(b->RecordCount(), 3);
    EXPECT_EQ(b->Fields("FID").ToInt32(), 3);

    a->Close();
    b->Filter("FID=1");
    EXPECT_EQ(b->Fields("FName").ToText(), "One");
}

// A reader that gives one key's rows for a filter on FID and every row otherwise, and keeps
// what it was asked.
struct KeyedReader {
    std::vector<std::string> reads;

    Recordset::RowReader Reader() {
        return [this](const RecordsetFilter& filter) {
            const auto all = Three();
            const auto key = filter.EqualTo(0);
            reads.push_back(key ? std::to_string(std::get<int64_t>(*key)) : "all");
            if (!key) {
                return all;
            }
            std::vector<RecordTable::Row> rows;
            for (const uint32_t row : all->RowsEqualTo(0, *key)) {
                rows.push_back(all->RowAt(row));
            }
            return RecordTable::Create({"FID", "FName"}, std::move(rows));
        };
    }
};

TEST(Recordset, ADeferredRecordsetReadsOnlyTheRowsOfTheKeyItsFilterNames) {
    KeyedReader reader;
    auto rs = Recordset::Deferred(RecordTable::Create({"FID", "FName"}, {}), reader.Reader());
    EXPECT_TRUE(reader.reads.empty());  // nothing until the rows are needed
    EXPECT_EQ(rs->ColumnName(1), "FName");

    rs->Filter("FID=2");
    EXPECT_EQ(rs->Fields("FName").ToText(), "Two");
    EXPECT_EQ(rs->RecordCount(), 1);
    rs->Filter("FID=4");  // none: at both ends
    EXPECT_TRUE(rs->Eof() && rs->Bof());
    rs->Filter("FID=3 AND FName<>'Three'");
    EXPECT_TRUE(rs->Eof());
    EXPECT_EQ(reader.reads, (std::vector<std::string>{"2", "4", "3"}));

    rs->Filter("FName='One'");  // no key: every row
    EXPECT_EQ(rs->Fields("FID").ToInt32(), 1);
    rs->Filter("");
    EXPECT_EQ(rs->RecordCount(), 3);
    EXPECT_EQ(reader.reads.back(), "all");

    // A filter that names an unknown column is refused before anything is read.
    EXPECT_EQ(RaisedError([&] { rs->Filter("FCode=1"); }),
              ErrorNumber(FoundationError::UnknownColumn));
    rs->Close();
    EXPECT_EQ(RaisedError([&] { rs->RecordCount(); }),
              ErrorNumber(FoundationError::RecordsetClosed));
    EXPECT_EQ(reader.reads.size(), 5u);
}

TEST(Recordset, ADeferredReadThatFailsIsTriedAgainByTheNextUse) {
    int calls = 0;
    auto rs =
        Recordset::Deferred(RecordTable::Create({"FID", "FName"}, {}), [&](const RecordsetFilter&) {
            if (++calls == 1) {
                throw ComError(-1, "Store", "gone");
            }
            return Three();
        });
    EXPECT_THROW(rs->Eof(), ComError);
    EXPECT_EQ(rs->RecordCount(), 3);
}

}  // namespace
}  // namespace quarn
