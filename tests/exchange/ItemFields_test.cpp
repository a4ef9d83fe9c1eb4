#include "exchange/ItemFields.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "exchange/LoggedTime.h"

namespace quarn::subsysmgr::exchange {
namespace {

DictionaryPtr Row(std::initializer_list<std::pair<const char*, Variant>> columns) {
    auto row = Dictionary::Create();
    for (const auto& [column, value] : columns) {
        row->Item(column, value);
    }
    return row;
}

// A change another program made: internal columns, and a console bit that is not the web's,
// are not the user's fields; the rest speak the exchange file's keys and values.
TEST(LoggedFields, NameTheExchangeFieldsAndLeaveOutWhatTheEditorsDoNotShow) {
    ItemChange change;
    change.item = {TreeItemRef::Kind::SubSystem, 8003};
    change.operation = ItemChange::Operation::Changed;
    change.before = Row({{"FTopClassID", 850},
                         {"FName", "a"},
                         {"FClassName", "x"},
                         {"FShowSysType", 1},
                         {"FAcctType", ",1,3,"}});
    change.after = Row({{"FTopClassID", 851},
                        {"FName", "b"},
                        {"FClassName", "y"},
                        {"FShowSysType", 3},
                        {"FAcctType", ",3,1,"}});
    const std::vector<FieldDifference> fields = LoggedFields(change);
    ASSERT_EQ(fields.size(), 2u);
    EXPECT_EQ(fields[0].key, "group");
    EXPECT_EQ(fields[0].before, 850);
    EXPECT_EQ(fields[1].key, "web");
    EXPECT_EQ(fields[1].before, false);
    EXPECT_EQ(fields[1].after, true);

    change.item.kind = TreeItemRef::Kind::Group;  // a group's own identifier is its code
    EXPECT_EQ(LoggedFields(change)[0].key, "id");
}

TEST(LoggedTime, ShowsLocalTimesAndReadsTypedOnesAsLocalUnlessMarkedUtc) {
    setenv("TZ", "Asia/Shanghai", 1);
    tzset();
    EXPECT_EQ(LocalTimeText("2026-12-07T12:23:12.848Z"), "2026-12-07 20:23:12");
    EXPECT_EQ(LocalTimeText("not a time"), "not a time");
    EXPECT_EQ(UtcOfTypedTime("2026-12-01"), "2026-11-30T16:00:00");
    EXPECT_EQ(UtcOfTypedTime("2026-12-01 08:30"), "2026-12-01T00:30:00");
    EXPECT_EQ(UtcOfTypedTime("2026-12-01T08:30:00Z"), "2026-12-01T08:30:00");
    EXPECT_EQ(UtcOfTypedTime("yesterday"), std::nullopt);
    unsetenv("TZ");
    tzset();
}

}  // namespace
}  // namespace quarn::subsysmgr::exchange
