// Search through the index the database keeps: what matches (codes, names in any language and
// case, texts too short for the index, wildcards taken literally), rows other programs write,
// and a database without the index, which is searched row by row and says so once.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "host/ITreeSearch.h"
#include "host/ProgIds.h"
#include "model/SubSysGroup.h"
#include "store/StoreFixture.h"
#include "suite/store/Schema.h"

namespace quarn::suite {
namespace {

using Kind = TreeItemRef::Kind;

class TreeSearchTest : public StoreTest {
  protected:
    // What a search finds, as "g850" for a group and "s8001@850" for a subsystem in its group.
    std::vector<std::string> Found(const std::string& text) const {
        const auto search = host->Registry().Create<ITreeSearch>(progid::kTreeSearch);
        std::vector<std::string> found;
        for (const TreeMatch& match : search->Find(Context(), text)) {
            found.push_back(match.item.kind == Kind::Group ? "g" + std::to_string(match.item.id)
                                                           : "s" + std::to_string(match.item.id) +
                                                                 "@" + std::to_string(match.group));
        }
        return found;
    }

    bool Postgres() const { return GetParam() != Backend::SQLite; }

    // Rows of a group and a subsystem with names of other scripts, written as another program
    // writes them.
    void AddForeignRows() const {
        Administer(
            "INSERT INTO t_DataFlowTopClass (FTopClassID, FtopClassName, FTopClassName_CHS, "
            "FTopClassName_CHT, FTopClassName_EN, FIndex) VALUES (870, 'Ärger', 'Ärger', "
            "'Straße', 'Rabatt 50% _x_', 5)");
        Administer(
            "INSERT INTO t_DataFlowSubSystem (FSubSysID, FTopClassID, FName, FName_CHS, "
            "FName_CHT, FName_EN) VALUES (8701, 870, 'Ωμέγα', 'Ωμέγα', '\"quoted\" OR x', "
            "'ÉCOLE')");
    }
};

TEST_P(TreeSearchTest, FindsCodesAndNamesInAnyLanguageAndCaseWithTheirGroups) {
    AddForeignRows();
    // English, any case; groups first in display order, then subsystems in the tree's order.
    EXPECT_THAT(Found("PORTAL"), ::testing::ElementsAre("s8001@850"));
    EXPECT_THAT(Found("école"), ::testing::ElementsAre("s8701@870"));
    EXPECT_THAT(Found("ÄRG"), ::testing::ElementsAre("g870"));
    EXPECT_THAT(Found("ΩΜΈΓΑ"), ::testing::ElementsAre("s8701@870"));
    // Either Chinese; one and two characters, shorter than the index's trigrams, are exact too.
    EXPECT_THAT(Found("經銷商入口"), ::testing::ElementsAre("s8001@850"));
    EXPECT_THAT(Found("巡检"), ::testing::ElementsAre("s8002@850"));
    EXPECT_THAT(Found("ä"), ::testing::Contains("g870"));
    EXPECT_THAT(Found("ω"), ::testing::ElementsAre("s8701@870"));
    // A code's digits anywhere in it; an item that matches twice is listed once.
    EXPECT_THAT(Found("8010"), ::testing::ElementsAre("s8010@851"));
    EXPECT_THAT(Found("01"), ::testing::IsSupersetOf({"s8001@850", "s8010@851"}));
    EXPECT_THAT(Found("85"), ::testing::IsSupersetOf({"g850", "g851", "g852"}));
    // Wildcards and query syntax are plain characters.
    EXPECT_THAT(Found("50%"), ::testing::ElementsAre("g870"));
    EXPECT_THAT(Found("_x_"), ::testing::ElementsAre("g870"));
    EXPECT_THAT(Found("%"), ::testing::ElementsAre("g870"));
    EXPECT_THAT(Found("\"quoted\" OR"), ::testing::ElementsAre("s8701@870"));
    EXPECT_THAT(Found("Portal OR x"), ::testing::IsEmpty());
    EXPECT_THAT(Found("\\"), ::testing::IsEmpty());
    EXPECT_THAT(Found(""), ::testing::IsEmpty());
    // Nothing matches across two names.
    EXPECT_THAT(Found("PortalDealer"), ::testing::IsEmpty());
}

TEST_P(TreeSearchTest, RowsOtherProgramsWriteAreFoundAsTheyChange) {
    EXPECT_THAT(Found("Gatekeeping"), ::testing::IsEmpty());
    AddForeignRows();
    Administer("UPDATE t_DataFlowSubSystem SET FName_EN = 'Gatekeeping' WHERE FSubSysID = 8002");
    Administer("UPDATE t_DataFlowSubSystem SET FTopClassID = 851 WHERE FSubSysID = 8001");
    EXPECT_THAT(Found("gatekeeping"), ::testing::ElementsAre("s8002@850"));
    EXPECT_THAT(Found("Patrol"), ::testing::IsEmpty());
    EXPECT_THAT(Found("Dealer Portal"), ::testing::ElementsAre("s8001@851"));
    Administer("DELETE FROM t_DataFlowSubSystem WHERE FSubSysID = 8002");
    EXPECT_THAT(Found("gatekeeping"), ::testing::IsEmpty());
    // The program's own save, a delete and an insert, is found by its new name only.
    subsysmgr::SubSysGroup group;
    ASSERT_TRUE(group.initial(850));
    group.OptType(subsysmgr::enm_OptType_SubSystem);
    const subsysmgr::SubSystemPtr edited = group.GetSubSystem(8003, false);
    StartEditing(*edited);
    edited->NameEN("Retail Desk");
    group.UpdateSubSystem(edited);
    ASSERT_TRUE(group.Save());
    EXPECT_THAT(Found("retail desk"), ::testing::ElementsAre("s8003@850"));
    EXPECT_THAT(Found("Store Operations"), ::testing::IsEmpty());
}

TEST_P(TreeSearchTest, WithoutTheIndexEveryRowIsSearchedAndTheLogSaysSoOnce) {
    AddForeignRows();
    const std::vector<std::string> indexed[] = {Found("ärger"), Found("Portal"), Found("80")};
    if (Postgres()) {
        Administer("DROP INDEX ix_topclass_search");
        Administer("DROP INDEX ix_subsystem_search");
    } else {
        Administer("DROP TABLE t_DataFlowTopClassSearch");
        Administer("DROP TABLE t_DataFlowSubSystemSearch");
    }
    const std::string log =
        (scratch->folder.empty() ? std::string("/tmp/quarn-search-") + std::to_string(::getpid())
                                 : (scratch->folder / "search").string()) +
        ".log";
    ::setenv("QUARN_LOG_FILE", log.c_str(), 1);
    EXPECT_EQ(Found("ärger"), indexed[0]);
    EXPECT_EQ(Found("Portal"), indexed[1]);
    EXPECT_EQ(Found("80"), indexed[2]);
    ::unsetenv("QUARN_LOG_FILE");
    std::stringstream written;
    written << std::ifstream(log).rdbuf();
    std::remove(log.c_str());
    const std::string text = written.str();
    const auto first = text.find("has no search index");
    EXPECT_NE(first, std::string::npos) << text;
    EXPECT_EQ(text.find("has no search index", first + 1), std::string::npos) << text;

    // The triggers that kept the index no longer match it: writes wait for a repair, which
    // makes the index again with the rows there are.
    if (!Postgres()) {
        EXPECT_FALSE(host->RepairHistory().empty());
    } else {
        host->RepairHistory();
    }
    EXPECT_EQ(StoredValue(Postgres() ? "SELECT count(*) FROM pg_indexes WHERE indexname LIKE "
                                       "'ix_%_search'"
                                     : "SELECT count(*) FROM t_DataFlowSubSystemSearch WHERE "
                                       "t_DataFlowSubSystemSearch MATCH '\"ΩΜΈΓΑ\"'")
                  .ToInt32(),
              Postgres() ? 2 : 1);
    Administer("UPDATE t_DataFlowSubSystem SET FName_EN = 'Gatekeeping' WHERE FSubSysID = 8002");
    EXPECT_THAT(Found("gatekeeping"), ::testing::ElementsAre("s8002@850"));
}

TEST_P(TreeSearchTest, AnOlderSchemaIsSearchedAsItIsAndIndexedByItsFirstWrite) {
    if (Postgres()) {
        GTEST_SKIP() << "the schema versions are tried on SQLite files";
    }
    const auto file = scratch->folder / "version5.sqlite";
    {
        auto connection =
            Connect(StoreLocation::FromDatabaseSpec("sqlite:" + file.string()), OpenMode::Create);
        connection->Execute("BEGIN IMMEDIATE");
        schema::Create(*connection, true, 5);
        connection->Execute("COMMIT");
    }
    HostSession old("sqlite:" + file.string(), "EN");
    old.Activate();
    const auto search = old.Registry().Create<ITreeSearch>(progid::kTreeSearch);
    ASSERT_EQ(search->Find(old.Context(), "Portal").size(), 1U);
    auto stored =
        Connect(StoreLocation::FromDatabaseSpec("sqlite:" + file.string()), OpenMode::ReadWrite);
    EXPECT_FALSE(stored->HasTable("t_DataFlowSubSystemSearch")) << "opening never writes";

    subsysmgr::SubSysGroup group;
    ASSERT_TRUE(group.initial(850));
    group.OptType(subsysmgr::enm_OptType_SubSystem);
    const subsysmgr::SubSystemPtr edited = group.GetSubSystem(8005, false);
    StartEditing(*edited);
    edited->NameEN("Vendor Scorecard");
    group.UpdateSubSystem(edited);
    ASSERT_TRUE(group.Save());
    EXPECT_EQ(schema::VersionOf(*stored), schema::kCurrentVersion);
    EXPECT_EQ(stored->Run("SELECT rowid FROM t_DataFlowSubSystemSearch WHERE "
                          "t_DataFlowSubSystemSearch MATCH '\"scorecard\"'",
                          {}),
              8005);
    EXPECT_EQ(stored->Run("SELECT rowid FROM t_DataFlowSubSystemSearch WHERE "
                          "t_DataFlowSubSystemSearch MATCH '\"dealer portal\"'",
                          {}),
              8001);
    host->Activate();
}

INSTANTIATE_TEST_SUITE_P(Stores, TreeSearchTest, AllBackends(), BackendName);

}  // namespace
}  // namespace quarn::suite
