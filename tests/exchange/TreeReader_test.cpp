#include "exchange/TreeReader.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>
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

}  // namespace
}  // namespace quarn::subsysmgr::exchange
