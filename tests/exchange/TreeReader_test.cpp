#include "exchange/TreeReader.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <optional>

#include "suite/HostSession.h"

namespace quarn::subsysmgr::exchange {
namespace {

// A demo database in a folder of its own, opened by a session in traditional Chinese (the fill
// stores the simplified name under the session language first, then the three names).
class TreeReaderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("quarn-tree-reader-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        const std::string file = (folder / "tree.sqlite").string();
        session.emplace("sqlite:" + file, "CHT");
        session->CreateDatabase(suite::DatabaseContent::DemoData);
        // Rows that the fill reads with care: no name in FName, no short code, no account types,
        // visible only on the web.
        sqlite3* database = nullptr;
        ASSERT_EQ(sqlite3_open(file.c_str(), &database), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(database,
                               "UPDATE t_DataFlowSubSystem SET FName = NULL, FSUBID = NULL, "
                               "FAcctType = NULL WHERE FSubSysID = 8002; UPDATE "
                               "t_DataFlowSubSystem SET FVisible = 0, FShowSysType = 2 WHERE "
                               "FSubSysID = 8004",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(database);
        session->Activate();
    }
    void TearDown() override {
        session.reset();
        std::filesystem::remove_all(folder);
    }

    std::filesystem::path folder;
    std::optional<suite::HostSession> session;
};

// The whole tree is read from the shared rows: every subsystem must come out exactly as the
// business objects load it alone, in display order within its group.
TEST_F(TreeReaderTest, TheTreeHoldsEverySubsystemAsTheBusinessObjectsLoadIt) {
    TreeReader reader(session->Module());
    const std::vector<GroupNode> tree = reader.Tree();
    std::size_t subSystems = 0;
    for (const GroupNode& node : tree) {
        EXPECT_EQ(reader.FindGroup(node.group.id), node.group);
        for (std::size_t i = 0; i < node.subSystems.size(); ++i) {
            const SubSystemItem& item = node.subSystems[i];
            SCOPED_TRACE(item.id);
            EXPECT_EQ(item.group, node.group.id);
            EXPECT_EQ(reader.FindSubSystem(item.id), item);
            if (i > 0) {
                const SubSystemItem& before = node.subSystems[i - 1];
                EXPECT_LT(std::pair(before.index, before.id), std::pair(item.index, item.id));
            }
        }
        subSystems += node.subSystems.size();
    }
    EXPECT_EQ(subSystems, reader.SubSystems().size());
    EXPECT_GT(subSystems, 10u);

    const auto web = reader.FindSubSystem(8004);
    ASSERT_TRUE(web);
    EXPECT_FALSE(web->visible);
    EXPECT_TRUE(web->web);
    EXPECT_FALSE(reader.FindSubSystem(8999));
    EXPECT_FALSE(reader.LoadSubSystem(8999));
}

// The designer's reads map the shared rows as the reads through the business objects do. Of many
// groups at once they leave out the groups whose rows the caller holds, and stop when told.
TEST_F(TreeReaderTest, TheCachedReadsGiveWhatTheBusinessObjectsGive) {
    TreeReader reader(session->Module());
    std::vector<TreeReader::Stored<GroupItem>> groups;
    for (const TreeReader::CachedGroup& group : reader.CachedGroups()) {
        ASSERT_TRUE(group.item);
        EXPECT_EQ(group.key.id, group.item->id);
        EXPECT_EQ(group.key.index, group.item->index);
        groups.push_back({*group.item, group.key.version});
    }
    ASSERT_EQ(groups, reader.StoredGroups());
    // The groups the caller holds come without their items.
    const auto cached =
        reader.CachedGroups([](const TreeReader::RowKey& key) { return key.id == 850; });
    ASSERT_EQ(cached.size(), groups.size());
    for (std::size_t n = 0; n < cached.size(); ++n) {
        EXPECT_EQ(cached[n].key.version, groups[n].version);
        EXPECT_EQ(cached[n].item.has_value(), groups[n].item.id != 850);
    }
    std::map<int32_t, int64_t> versions;
    for (const auto& subSystem : reader.StoredSubSystems()) {
        versions[subSystem.item.id] = subSystem.version;
    }
    const std::vector<GroupNode> tree = reader.Tree();
    ASSERT_EQ(tree.size(), groups.size());
    std::vector<int32_t> ids;
    TreeReader::SubSystemsByGroup byGroup;
    for (std::size_t n = 0; n < groups.size(); ++n) {
        const int32_t id = groups[n].item.id;
        ids.push_back(id);
        byGroup[id] = reader.CachedSubSystemsOf(id);
        std::vector<SubSystemItem> items;
        for (const auto& subSystem : byGroup[id]) {
            items.push_back(subSystem.item);
            EXPECT_EQ(subSystem.version, versions[subSystem.item.id]) << subSystem.item.id;
        }
        EXPECT_EQ(items, tree[n].subSystems) << id;
    }

    ASSERT_GT(ids.size(), TreeReader::kGroupsReadOneByOne);  // all rows at once
    const auto none = [](int32_t, const std::vector<TreeReader::RowKey>&) { return false; };
    const auto go = [](int64_t, int64_t) { return true; };
    EXPECT_EQ(reader.CachedSubSystemsOf(ids, none, go), byGroup);
    // The caller holds group 850's rows as they are, and rows of group 1 that are not.
    const auto held = [&](int32_t group, const std::vector<TreeReader::RowKey>& keys) {
        EXPECT_EQ(keys.size(), byGroup[group].size());
        return group == 850 || (group == 1 && keys.empty());
    };
    const auto read = reader.CachedSubSystemsOf(ids, held, go);
    ASSERT_TRUE(read);
    EXPECT_FALSE(read->contains(850));
    EXPECT_EQ(read->at(1), byGroup[1]);
    EXPECT_EQ(read->size(), byGroup.size() - 1);
    EXPECT_FALSE(reader.CachedSubSystemsOf(ids, none, [](int64_t, int64_t) { return false; }));
    EXPECT_TRUE(reader.CachedSubSystemsOf(8999).empty());
}

}  // namespace
}  // namespace quarn::subsysmgr::exchange
