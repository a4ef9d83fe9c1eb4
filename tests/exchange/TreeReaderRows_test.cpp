// The tree read row by row (DataFlowInfo.TreeRows), on both stores: it gives what the reads
// through the snapshot give, whatever another program stored, and a host without the component
// gets the same through them.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "exchange/ExchangeText.h"
#include "exchange/SubSystemWriter.h"
#include "exchange/TreeReader.h"
#include "host/ProgIds.h"
#include "store/StoreFixture.h"

namespace quarn::subsysmgr::exchange {
namespace {

using suite::Backend;

// What the reads hand over, in their order.
struct Read {
    std::vector<GroupItem> groups;
    std::vector<SubSystemItem> subSystems;
    std::vector<int32_t> order;  // groups as their negative identifiers, then their subsystems

    bool operator==(const Read&) const = default;
};

Read InTree(TreeReader& reader) {
    Read read;
    reader.EachInTree(
        [&](const GroupItem& group) {
            read.groups.push_back(group);
            read.order.push_back(-group.id);
        },
        [&](const SubSystemItem& subSystem) {
            read.subSystems.push_back(subSystem);
            read.order.push_back(subSystem.id);
        });
    return read;
}

Read InRanges(TreeReader& reader, const std::vector<IdSpan>& groups,
              const std::vector<IdSpan>& subSystems) {
    Read read;
    reader.EachInRanges(
        groups, subSystems, [&](const GroupItem& group) { read.groups.push_back(group); },
        [&](const SubSystemItem& subSystem) { read.subSystems.push_back(subSystem); });
    return read;
}

std::vector<int32_t> Ids(const auto& items) {
    std::vector<int32_t> ids;
    for (const auto& item : items) {
        ids.push_back(item.id);
    }
    return ids;
}

class TreeReaderRowsTest : public suite::StoreTest {};

TEST_P(TreeReaderRowsTest, TheRowsReadStraightGiveWhatTheSnapshotGives) {
    // What another program may store: no short code and no account types, two subsystems at one
    // index (ordered by identifier), a group without subsystems; on SQLite also bytes that are
    // not UTF-8 and a subsystem of a group that is not stored.
    Administer(
        "UPDATE t_DataFlowSubSystem SET FSUBID = NULL, FAcctType = NULL WHERE FSubSysID = 8002");
    Administer("UPDATE t_DataFlowSubSystem SET FIndex = 1 WHERE FSubSysID IN (8003, 8001)");
    Administer(
        "INSERT INTO t_DataFlowTopClass (FTopClassID, FtopClassName, FTopClassName_CHS, "
        "FTopClassName_CHT, FTopClassName_EN, FIndex, FAcctType) VALUES (860, 'e', 'e', 'e', "
        "'Empty', 5, ',1,')");
    if (GetParam() == Backend::SQLite) {
        Administer(
            "UPDATE t_DataFlowSubSystem SET FName_CHT = CAST(X'E8FF41' AS TEXT) WHERE "
            "FSubSysID = 8004");
        Administer("PRAGMA foreign_keys = OFF");
        Administer(
            "INSERT INTO t_DataFlowSubSystem (FSubSysID, FTopClassID, FName_CHS) VALUES "
            "(8900, 899, 'orphan')");
    }
    TreeReader reader(module);
    const Read streamed = InTree(reader);
    std::vector<GroupItem> groups;
    std::vector<SubSystemItem> subSystems;
    for (const GroupNode& node : reader.Tree()) {
        groups.push_back(node.group);
        subSystems.insert(subSystems.end(), node.subSystems.begin(), node.subSystems.end());
    }
    EXPECT_EQ(streamed.groups, groups);
    EXPECT_EQ(streamed.subSystems, subSystems);
    ASSERT_FALSE(subSystems.empty());
    EXPECT_NE(std::find(streamed.order.begin(), streamed.order.end(), -860), streamed.order.end());

    // The exported ranges, and spans given in any order, overlapping or empty.
    const std::vector<IdSpan> customerGroups{{800, 899}, {10000, 19999}};
    const std::vector<IdSpan> customerSubSystems{{8000, 8999}, {100000, 199990}};
    const Read exported = InRanges(reader, customerGroups, customerSubSystems);
    EXPECT_EQ(Ids(exported.groups), (std::vector<int32_t>{850, 851, 852, 860}));
    ASSERT_FALSE(exported.subSystems.empty());
    EXPECT_TRUE(std::is_sorted(exported.subSystems.begin(), exported.subSystems.end(),
                               [](const auto& a, const auto& b) { return a.id < b.id; }));
    for (const SubSystemItem& item : exported.subSystems) {
        EXPECT_NE(std::find(subSystems.begin(), subSystems.end(), item), subSystems.end())
            << item.id;
    }
    const Read some = InRanges(reader, {{851, 851}, {900, 800}, {850, 851}},
                               {{8003, 8005}, {8001, 8004}, {9999, 8000}});
    EXPECT_EQ(Ids(some.groups), (std::vector<int32_t>{850, 851}));
    EXPECT_EQ(Ids(some.subSystems), (std::vector<int32_t>{8001, 8002, 8003, 8004, 8005}));

    // A host without the component gets the same through the snapshot.
    ASSERT_TRUE(host->Registry().Unregister(progid::kTreeRows));
    EXPECT_EQ(InTree(reader), streamed);
    EXPECT_EQ(InRanges(reader, customerGroups, customerSubSystems), exported);
}

// A reader that stops the read part way leaves the session's connection as it found it: the next
// read and a write go through.
TEST_P(TreeReaderRowsTest, AReadStoppedPartWayLeavesTheConnectionReady) {
    TreeReader reader(module);
    const Read whole = InTree(reader);
    int seen = 0;
    EXPECT_THROW(reader.EachInTree([](const GroupItem&) {},
                                   [&](const SubSystemItem&) {
                                       if (++seen == 3) {
                                           throw std::runtime_error("stop");
                                       }
                                   }),
                 std::runtime_error);
    EXPECT_EQ(InTree(reader), whole);
    const ExchangeText text(host->Registry(), "EN");
    SubSystemWriter(module, text).Edit(8001, [](SubSystemItem& item) { item.index = 42; });
    EXPECT_EQ(StoredValue("SELECT FIndex FROM t_DataFlowSubSystem WHERE FSubSysID = 8001"),
              Variant(42));
}

INSTANTIATE_TEST_SUITE_P(Stores, TreeReaderRowsTest,
                         ::testing::Values(Backend::SQLite, Backend::PostgreSQL),
                         suite::BackendName);

}  // namespace
}  // namespace quarn::subsysmgr::exchange
