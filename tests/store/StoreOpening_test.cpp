#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>

#include "host/IChangeHistory.h"
#include "host/IClassInfo.h"
#include "host/ProgIds.h"
#include "model/ChangeRevert.h"
#include "model/SubSysGroup.h"
#include "store/StoreFixture.h"
#include "suite/SuiteSession.h"
#include "suite/store/Database.h"
#include "suite/store/DatasUpdate.h"
#include "suite/store/NewDatabase.h"
#include "suite/store/Schema.h"
#include "suite/store/StoreErrors.h"

namespace quarn::suite {
namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string Bytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

StoreLocation SqliteAt(const fs::path& file) {
    return StoreLocation::FromDatabaseSpec("sqlite:" + file.string());
}

class StoreOpening : public ::testing::Test {
  protected:
    ScratchDatabase scratch{Backend::SQLite};
};

TEST_F(StoreOpening, FilesThatAreNotOursAreRefusedAndLeftByteForByte) {
    const fs::path notes = scratch.folder / "notes.sqlite";
    Connect(SqliteAt(notes), OpenMode::Create)->Execute("CREATE TABLE notes (body TEXT)");
    const fs::path empty = scratch.folder / "empty.sqlite";
    std::ofstream{empty};
    const fs::path text = scratch.folder / "my \"prod\".txt";
    std::ofstream(text) << std::string(4096, 'x');

    for (const fs::path& file : {notes, empty, text}) {
        SCOPED_TRACE(file.string());
        const std::string before = Bytes(file);
        EXPECT_EQ(RaisedError([&] { Database::Open(SqliteAt(file)); }),
                  ErrorNumber(StoreError::NotOurs));
        EXPECT_EQ(Bytes(file), before);
    }
    EXPECT_FALSE(fs::exists(notes.string() + "-wal"));

    const fs::path missing = scratch.folder / "missing.sqlite";
    EXPECT_EQ(RaisedError([&] { Database::Open(SqliteAt(missing)); }),
              ErrorNumber(StoreError::NoDatabase));
    EXPECT_FALSE(fs::exists(missing));
}

TEST_F(StoreOpening, ReadingTheTreeAndFreeQueriesLeaveOurFileAsItWas) {
    const fs::path file = scratch.location.target;
    const std::string before = Bytes(file);
    {
        HostSession host(scratch.Spec(), "EN");
        host.Activate();
        subsysmgr::SubSysGroup group;
        ASSERT_TRUE(group.initial(850));
        group.GetSubSystem(-1);
        host.Registry()
            .Create<IClassInfo>(progid::kClassInfo)
            ->GetData(host.Context(), "SELECT count(*) FROM t_Report");
    }
    EXPECT_EQ(Bytes(file), before);
}

TEST_F(StoreOpening, ReadersDoNotWaitForAWriter) {
    auto writer = Connect(scratch.location, OpenMode::ReadWrite);
    writer->BeginWrite();
    const auto start = Clock::now();
    HostSession host(scratch.Spec(), "EN");
    host.Activate();
    EXPECT_TRUE(subsysmgr::SubSysGroup().initial(850));
    EXPECT_LT(SecondsSince(start), 2.0);
    writer->Execute("ROLLBACK");
}

TEST_F(StoreOpening, ANewerSchemaIsRefused) {
    Connect(scratch.location, OpenMode::ReadWrite)
        ->Run("INSERT INTO t_SchemaVersion VALUES ($1)", {99});
    EXPECT_EQ(RaisedError([&] { Database::Open(scratch.location); }),
              ErrorNumber(StoreError::NewerSchema));
}

TEST_F(StoreOpening, AServerThatDoesNotAnswerIsUnavailableQuickly) {
    const auto start = Clock::now();
    EXPECT_EQ(RaisedError([] {
                  Database::Open(StoreLocation::FromDatabaseSpec(
                      "postgresql:host=127.0.0.1 port=1 dbname=x user=x connect_timeout=3"));
              }),
              ErrorNumber(StoreError::Unavailable));
    EXPECT_LT(SecondsSince(start), 5.0);
}

TEST_F(StoreOpening, AWriteWaitsForTheBusyTimeoutThenFailsWithoutWriting) {
    StoreLocation location = scratch.location;
    location.busyTimeoutSeconds = 1;
    DatasUpdate update(std::make_shared<SuiteSession>(location, "EN"));
    const DictionaryPtr record = Dictionary::Create();
    record->Item("FSubSysID", 8100);
    record->Item("FSysName", "条码打印");
    record->Item("FSysNameEN", "Barcode Printing");

    auto other = Connect(scratch.location, OpenMode::ReadWrite);
    other->BeginWrite();
    const auto start = Clock::now();
    EXPECT_EQ(RaisedError([&] { update.CreateSubSys(850, 6, record, true); }),
              ErrorNumber(StoreError::Busy));
    EXPECT_GT(SecondsSince(start), 0.9);
    other->Execute("ROLLBACK");

    const auto count = [&] {
        return other->Run("SELECT count(*) FROM t_DataFlowSubSystem WHERE FSubSysID = 8100", {});
    };
    EXPECT_EQ(count(), 0);
    update.CreateSubSys(850, 6, record, true);  // the connection was not left in a transaction
    EXPECT_EQ(count(), 1);
}

TEST_F(StoreOpening, CreationIsExplicitWholeAndNeverReplacesADatabase) {
    EXPECT_EQ(RaisedError([&] { CreateDatabaseAt(scratch.location, DatabaseContent::BaseData); }),
              ErrorNumber(StoreError::Exists));
    EXPECT_EQ(RaisedError([] { CreateDatabase(":memory:", DatabaseContent::BaseData); }),
              ErrorNumber(StoreError::InvalidLocation));

    // An empty file is taken; the base data is enough to add customer items.
    const fs::path file = scratch.folder / "base.sqlite";
    std::ofstream{file};
    CreateDatabase(file.string(), DatabaseContent::BaseData);
    auto connection = Connect(SqliteAt(file), OpenMode::ReadWrite);
    EXPECT_GT(connection->Run("SELECT count(*) FROM t_AccountType", {}), 0);
    EXPECT_GT(
        connection->Run("SELECT count(*) FROM t_DataFlowTopClass WHERE FTopClassID < 800", {}), 0);
    EXPECT_EQ(
        connection->Run("SELECT count(*) FROM t_DataFlowTopClass WHERE FTopClassID >= 800", {}), 0);
    // Nothing is left beside it.
    for (const auto& entry : fs::directory_iterator(scratch.folder)) {
        EXPECT_EQ(entry.path().filename().string().find(".creating"), std::string::npos);
    }
}

TEST_F(StoreOpening, TwoSessionsOnTwoDatabasesWorkSideBySide) {
    ScratchDatabase second(Backend::SQLite);
    Connect(second.location, OpenMode::ReadWrite)
        ->Run("UPDATE t_DataFlowTopClass SET FTopClassName_EN = $1 WHERE FTopClassID = 850",
              {std::string("Second Tree")});
    HostSession first(scratch.Spec(), "EN");
    HostSession other(second.Spec(), "EN");
    const auto nameOf850 = [](HostSession& host) {
        host.Activate();
        subsysmgr::SubSysGroup group;
        group.initial(850);
        return group.NameEN();
    };
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(nameOf850(first), "Custom Extensions");
        EXPECT_EQ(nameOf850(other), "Second Tree");
    }
}

TEST_F(StoreOpening, AnOlderSchemaIsReadAsItIsAndBroughtUpToDateByTheFirstWrite) {
    const fs::path file = scratch.folder / "version1.sqlite";
    {
        auto connection = Connect(SqliteAt(file), OpenMode::Create);
        connection->Execute("BEGIN IMMEDIATE");
        schema::Create(*connection, true, 1);
        connection->Execute("COMMIT");
        connection->Execute("PRAGMA journal_mode = WAL");
    }
    const std::string before = Bytes(file);
    HostSession host("sqlite:" + file.string(), "EN");
    host.Activate();
    subsysmgr::SubSysGroup group;
    ASSERT_TRUE(group.initial(850));
    group.OptType(subsysmgr::enm_OptType_SubSystem);
    const subsysmgr::SubSystemPtr edited = group.GetSubSystem(8005, false);
    ASSERT_TRUE(edited);
    // Without a change log there is no history, and a revert is refused without writing.
    const auto history = host.Registry().Create<IChangeHistory>(progid::kChangeHistory);
    EXPECT_FALSE(history->IsLogged(host.Context()));
    EXPECT_TRUE(history->Changes(host.Context(), std::nullopt).empty());
    EXPECT_TRUE(history->Change(host.Context(), 1).empty());
    EXPECT_EQ(RaisedError([&] { subsysmgr::ChangeRevert(host.Module()).Revert(1, true); }),
              ObjectError(1045));
    EXPECT_EQ(Bytes(file), before);

    StartEditing(*edited);
    edited->NameEN("Supplier Rating");
    group.UpdateSubSystem(edited);
    EXPECT_TRUE(group.Save());
    EXPECT_FALSE(group.LastSaveFailure());
    auto stored = Connect(SqliteAt(file), OpenMode::ReadWrite);
    EXPECT_EQ(schema::VersionOf(*stored), schema::kCurrentVersion);
    EXPECT_EQ(stored->Run("SELECT count(*) FROM t_DataFlowChangeLog WHERE FItemID = 8005", {}), 2);
    EXPECT_GT(stored->Run("SELECT FVersion FROM t_DataFlowSubSystem WHERE FSubSysID = 8005", {}),
              0);

    // From now on the session follows the log: another program's change is seen.
    stored->Execute("UPDATE t_DataFlowSubSystem SET FIndex = 9 WHERE FSubSysID = 8005");
    subsysmgr::SubSysGroup reread;  // tells the shared information to bring itself up to date
    ASSERT_TRUE(reread.initial(850));
    EXPECT_EQ(reread.GetSubSystem(8005, false)->Index(), 9);
}

}  // namespace
}  // namespace quarn::suite
