// What users trust the history for, tried the way a careless or hostile program would break it:
// a change is one transaction of one user, the application's login cannot rewrite the log,
// the seal names a forged or removed change, and missing protections stop writes until repaired.

#include <gtest/gtest.h>
#include <unistd.h>

#include "host/IChangeHistory.h"
#include "host/ProgIds.h"
#include "model/ChangeRevert.h"
#include "model/SubSysGroup.h"
#include "store/StoreFixture.h"
#include "suite/store/ChangeSeal.h"
#include "suite/store/Database.h"
#include "suite/store/StoreErrors.h"

namespace quarn::suite {
namespace {

using subsysmgr::ChangeRevert;
using subsysmgr::ModuleState;
using subsysmgr::SubSysGroup;
using subsysmgr::SubSystem;
using Kind = TreeItemRef::Kind;
using Finding = SealCheck::Finding;

// Runs a save; the error it raised or the one Save skipped the item for, or 0.
template <class Save>
int32_t Outcome(Save&& save) {
    try {
        return save();
    } catch (const ComError& error) {
        return error.Number();
    }
}

int32_t SaveOutcome(SubSysGroup& group) {
    return Outcome([&] {
        const bool saved = group.Save();
        if (const std::exception_ptr failure = group.LastSaveFailure()) {
            std::rethrow_exception(failure);
        }
        return saved ? 0 : -1;
    });
}

int32_t DeleteSubSystem(const std::shared_ptr<ModuleState>& module, int32_t groupId, int32_t id) {
    SubSysGroup group(module);
    EXPECT_TRUE(group.initial(groupId));
    group.OptType(subsysmgr::enm_OptType_SubSystem);
    group.GetSubSystem(-1);
    EXPECT_TRUE(group.DeleteSubSystem(id));
    return SaveOutcome(group);
}

int32_t AddSubSystem(const std::shared_ptr<ModuleState>& module, int32_t groupId, int32_t id,
                     const std::string& name) {
    SubSysGroup group(module);
    group.OptType(subsysmgr::enm_OptType_SubSystem);
    const auto subSystem = SubSystem::Create(module);
    subSystem->SubSystemGroupID(groupId);
    subSystem->Id(id);
    subSystem->DictName(Names("子" + name, "子" + name + "繁", name));
    group.UpdateSubSystem(subSystem);
    return SaveOutcome(group);
}

// A subsystem of group 850 loaded as the editor loads it, renamed and saved.
struct Rename {
    std::unique_ptr<SubSysGroup> group;
    subsysmgr::SubSystemPtr subSystem;

    Rename(const std::shared_ptr<ModuleState>& module, int32_t id)
        : group(std::make_unique<SubSysGroup>(module)) {
        EXPECT_TRUE(group->initial(850));
        group->OptType(subsysmgr::enm_OptType_SubSystem);
        subSystem = group->GetSubSystem(id, false);
        StartEditing(*subSystem);
    }
    int32_t To(const std::string& name) {
        subSystem->DictName(Names(subSystem->NameCHS(), subSystem->NameCHT(), name));
        group->UpdateSubSystem(subSystem);
        return SaveOutcome(*group);
    }
};

class ChangeTrust : public StoreTest {
  protected:
    void TearDown() override {
        sessions_.clear();
        for (const std::string& role : roles_) {
            Administer("DROP OWNED BY " + role);
            Administer("DROP ROLE " + role);
        }
        StoreTest::TearDown();
    }

    bool OnPostgres() const { return GetParam() != Backend::SQLite; }

    // A login of its own on PostgreSQL, given the writing role the database's creator made; a
    // second session on the same file on SQLite, which knows no users.
    std::shared_ptr<ModuleState> SessionOf(const std::string& name) {
        std::string spec = scratch->Spec();
        if (OnPostgres()) {
            const std::string role = name + "_" + std::to_string(::getpid());
            Administer("CREATE ROLE " + role + " LOGIN");
            Administer("GRANT quarn_writer TO " + role);
            roles_.push_back(role);
            spec += " user=" + role;
        }
        sessions_.push_back(std::make_unique<HostSession>(spec, "EN"));
        sessions_.back()->Activate();
        const auto other = sessions_.back()->Module();
        other->messageBox = std::make_shared<RecordingMessageBox>();
        ModuleState::Install(module);
        return other;
    }
    std::string LastRole() const { return roles_.back(); }

    std::shared_ptr<IChangeHistory> History() const {
        return host->Registry().Create<IChangeHistory>(progid::kChangeHistory);
    }
    SealCheck Verify(const std::optional<ChainHead>& exported = {}) const {
        return History()->VerifySeals(Context(), exported);
    }
    // Every log row as text, to show that nothing in the log changed.
    std::string WholeLog() const {
        const auto rows = Stored("SELECT * FROM t_DataFlowChangeLog ORDER BY FSeq");
        std::string text;
        for (const uint32_t row : rows->LiveRows()) {
            for (std::size_t column = 0; column < rows->ColumnCount(); ++column) {
                text += rows->Value(row, column).TextOrEmpty() + "|";
            }
            text += "\n";
        }
        return text;
    }
    // The log row (its key on this engine) that holds the last change of the item.
    std::string LastRowOf(int32_t subSystemId) const {
        const std::string key = OnPostgres() ? "FChangeID" : "FSeq";
        return key + " = (SELECT max(" + key +
               ") FROM t_DataFlowChangeLog WHERE FItemID = " + std::to_string(subSystemId) + ")";
    }

    // What someone who may write the log does to hide a change: every seal computed again.
    void RewriteWholeChain() const {
        Administer("UPDATE t_DataFlowChangePruned SET FSeq = 0, FSeal = NULL");
        const std::string key = OnPostgres() ? "FChangeID" : "FSeq";
        std::string columns;
        for (const std::string_view column : changelog::kSealedColumns) {
            columns.append(column).append(", ");
        }
        const auto rows = Stored("SELECT " + columns + key + " FROM t_DataFlowChangeLog ORDER BY " +
                                 (OnPostgres() ? "FSeq, FChangeID" : "FSeq"));
        std::string seal;
        for (const uint32_t row : rows->LiveRows()) {
            changelog::LogRow logged;
            for (std::size_t c = 0; c < changelog::kSealedColumnCount; ++c) {
                if (!rows->Value(row, c).IsNull()) {
                    logged.values[c] = rows->Value(row, c).ToText();
                }
            }
            seal = changelog::SealOf(seal, logged);
            Administer("UPDATE t_DataFlowChangeLog SET FSeal = '" + seal + "' WHERE " + key +
                       " = " + rows->Value(row, changelog::kSealedColumnCount).ToText());
        }
    }

  private:
    std::vector<std::unique_ptr<HostSession>> sessions_;
    std::vector<std::string> roles_;
};

TEST_P(ChangeTrust, ADeletionAndAnotherUsersAdditionOfItsCodeAreTwoChangesAndNoRevertDestroysIt) {
    const auto alice = SessionOf("quarn_alice");
    const std::string aliceRole = OnPostgres() ? LastRole() : "";
    const auto bob = SessionOf("quarn_bob");
    const std::string bobRole = OnPostgres() ? LastRole() : "";

    ASSERT_EQ(DeleteSubSystem(alice, 850, 8004), 0);
    ASSERT_EQ(AddSubSystem(bob, 850, 8004, "Bob's Scanner"), 0);

    const std::vector<ItemChange> changes =
        History()->Changes(Context(), {{Kind::SubSystem, 8004}});
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0].operation, ItemChange::Operation::Added);
    EXPECT_EQ(changes[1].operation, ItemChange::Operation::Deleted);
    EXPECT_FALSE(changes[0].otherProgram);
    if (OnPostgres()) {
        EXPECT_EQ(changes[0].databaseUser, bobRole);
        EXPECT_EQ(changes[1].databaseUser, aliceRole);
    } else {
        EXPECT_FALSE(changes[0].databaseUser.empty()) << "the OS user this program ran as";
    }

    // Alice's revert of her deletion would replace Bob's item: refused, unless forced.
    ChangeRevert revert(alice);
    EXPECT_EQ(Outcome([&] {
                  revert.Revert(changes[1].number);
                  return 0;
              }),
              kChangedElsewhere);
    EXPECT_EQ(StoredName(8004), "Bob's Scanner");
    EXPECT_EQ(History()->Changes(Context(), {{Kind::SubSystem, 8004}}).size(), 2u);
    EXPECT_EQ(Verify().finding, Finding::Intact);
}

TEST_P(ChangeTrust, TheApplicationsLoginMayOnlyReadTheLogAndItsCounter) {
    if (!OnPostgres()) {
        GTEST_SKIP() << "SQLite knows no logins: its seal shows what was altered";
    }
    const auto app = SessionOf("quarn_app");
    ASSERT_EQ(Rename(app, 8005).To("Renamed By The App"), 0);
    const std::string before = WholeLog();
    const auto login =
        Connect(StoreLocation::FromDatabaseSpec(scratch->Spec() + " user=" + LastRole()),
                OpenMode::ReadWrite);
    for (const std::string sql : {
             "UPDATE t_DataFlowChangeLog SET FClient = 'mallory@forged', FDbUser = 'alice'",
             "DELETE FROM t_DataFlowChangeLog",
             "INSERT INTO t_DataFlowChangeLog (FSeq, FTime, FOperation, FTableName, FItemID) "
             "VALUES (1, 'x', 'UPDATE', 't_DataFlowSubSystem', 8001)",
             "TRUNCATE t_DataFlowChangeLog",
             "UPDATE t_DataFlowChangeSeq SET FSeq = 0",
             "DELETE FROM t_DataFlowChangePruned",
             "INSERT INTO t_SchemaVersion (FVersion) VALUES (99)",
             "ALTER TABLE t_DataFlowSubSystem DISABLE TRIGGER ALL",
             "DROP TRIGGER tr_changelog_seal ON t_DataFlowChangeLog",
             "CREATE OR REPLACE FUNCTION quarn_change_number() RETURNS bigint LANGUAGE sql AS "
             "'SELECT 1::bigint'",
         }) {
        SCOPED_TRACE(sql);
        EXPECT_THROW(login->Execute(sql), StoreFailure);
    }
    EXPECT_EQ(WholeLog(), before);
    EXPECT_EQ(Verify().finding, Finding::Intact);
    // Putting protections back is the owner's: the login is told so, not that it is read-only.
    HostSession asApp(scratch->Spec() + " user=" + LastRole(), "EN");
    try {
        asApp.RepairHistory();
        ADD_FAILURE() << "the application's login repaired the log";
    } catch (const ComError& error) {
        EXPECT_EQ(error.Number(), ErrorNumber(StoreError::WriteProtected));
        EXPECT_NE(error.Description().find("Only the owner"), std::string::npos)
            << error.Description();
    }
    ModuleState::Install(module);
    EXPECT_EQ(WholeLog(), before);

    // The client label and note are the transaction's, the user is the one that logged in.
    const ItemChange change = History()->Changes(Context(), {{Kind::SubSystem, 8005}}).front();
    EXPECT_EQ(change.databaseUser, LastRole());
    EXPECT_NE(change.client, "");
}

TEST_P(ChangeTrust, TheSealNamesAChangeAlteredOrRemovedAndAnExportCatchesARewrittenChain) {
    const auto other = SessionOf("quarn_editor");
    ASSERT_EQ(Rename(other, 8005).To("First Name"), 0);
    const int64_t first = History()->Changes(Context(), {{Kind::SubSystem, 8005}}).front().number;
    ASSERT_EQ(Rename(other, 8005).To("Second Name"), 0);
    ASSERT_EQ(Rename(other, 8003).To("Third Name"), 0);
    const SealCheck intact = Verify();
    EXPECT_EQ(intact.finding, Finding::Intact);
    EXPECT_GT(intact.checked, 0);
    const ChainHead exported = History()->SealHead(Context());
    EXPECT_EQ(exported, intact.head);

    // Forged by raw SQL (on PostgreSQL by the owner, the only one who may): the change is named.
    const std::string forgedRow =
        (OnPostgres() ? "FChangeID = (SELECT max(FChangeID) FROM t_DataFlowChangeLog WHERE FSeq = "
                      : "FSeq = (SELECT max(FSeq) FROM t_DataFlowChangeLog WHERE FTxn = ") +
        std::to_string(OnPostgres() ? first : first - 1) + ")";
    const Variant client =
        StoredValue("SELECT FClient FROM t_DataFlowChangeLog WHERE " + forgedRow);
    Administer("UPDATE t_DataFlowChangeLog SET FClient = 'mallory@forged' WHERE " + forgedRow);
    SealCheck forged = Verify();
    EXPECT_EQ(forged.finding, Finding::Altered);
    EXPECT_EQ(forged.change, first);
    // Values of a forged change are never written back, forced or not.
    EXPECT_TRUE(History()->IsSealBroken(Context(), first));
    EXPECT_FALSE(History()->IsSealBroken(Context(), intact.head.change));
    for (const bool force : {false, true}) {
        EXPECT_EQ(Outcome([&] {
                      ChangeRevert(module).Revert(first, force);
                      return 0;
                  }),
                  ObjectError(1048));
    }
    EXPECT_EQ(StoredName(8005), "Second Name");
    Administer("UPDATE t_DataFlowChangeLog SET FClient = '" + client.ToText() + "' WHERE " +
               forgedRow);
    EXPECT_EQ(Verify().finding, Finding::Intact) << "the original content seals again";

    // A change removed from the middle.
    Administer("DELETE FROM t_DataFlowChangeLog WHERE " + forgedRow);
    const SealCheck removed = Verify();
    EXPECT_EQ(removed.finding, Finding::Removed);
    EXPECT_EQ(removed.change, first);
    EXPECT_EQ(removed.matchesExport, std::nullopt);

    // Someone who computes every seal again after the point they change passes the chain, but
    // not an export made before.
    RewriteWholeChain();
    const SealCheck rewritten = Verify(exported);
    EXPECT_EQ(rewritten.finding, Finding::Intact);
    EXPECT_EQ(rewritten.matchesExport, false);
    EXPECT_EQ(Verify(rewritten.head).matchesExport, true);
}

TEST_P(ChangeTrust, MissingProtectionsRefuseWritesUntilRepairedAndThenStaleSavesAreRefusedAgain) {
    const auto other = SessionOf("quarn_editor");
    if (OnPostgres()) {
        Administer("DROP TRIGGER tr_t_DataFlowSubSystem_log ON t_DataFlowSubSystem");
        Administer("DROP FUNCTION quarn_change_number()");
        Administer(
            "ALTER TABLE t_DataFlowSubSystem DISABLE TRIGGER tr_t_DataFlowSubSystem_version");
        // What the earlier recommendation granted the application's login.
        Administer("GRANT UPDATE, DELETE ON t_DataFlowChangeLog TO " + LastRole());
    } else {
        for (const char* trigger : {"insert", "update", "delete"}) {
            Administer(std::string("DROP TRIGGER tr_t_DataFlowSubSystem_") + trigger);
        }
    }
    const std::string before = StoredName(8005);
    Rename mine(module, 8005);
    EXPECT_EQ(mine.To("Never Stored"), ErrorNumber(StoreError::Unprotected));
    try {
        std::rethrow_exception(mine.group->LastSaveFailure());
    } catch (const ComError& error) {
        EXPECT_NE(error.Description().find("tr_t_DataFlowSubSystem_"), std::string::npos)
            << "names what is missing: " << error.Description();
    }
    EXPECT_EQ(Rename(other, 8005).To("Never Stored Either"), ErrorNumber(StoreError::Unprotected));
    EXPECT_EQ(StoredName(8005), before);
    EXPECT_EQ(CachedName(8005), before) << "reading goes on";

    const std::vector<std::string> repaired = host->RepairHistory();
    // Three triggers, or a trigger dropped, one disabled, the counter's function and two grants.
    EXPECT_EQ(repaired.size(), OnPostgres() ? 5u : 3u);
    EXPECT_TRUE(host->RepairHistory().empty()) << "nothing is missing any more";
    EXPECT_EQ(StoredCount("t_DataFlowChangeLog", "FOperation = 'REPAIR'"), 2);
    EXPECT_EQ(Verify().finding, Finding::Intact);

    // Two editors of one subsystem: the second is told, as before the triggers were dropped.
    Rename first(module, 8005);
    Rename second(other, 8005);
    EXPECT_EQ(first.To("Stored After Repair"), 0);
    EXPECT_EQ(second.To("Lost Update"), kChangedElsewhere);
    EXPECT_EQ(StoredName(8005), "Stored After Repair");
}

TEST_P(ChangeTrust, RulesOnValuesDroppedAreNamedAndPutBackByRepair) {
    const std::string tooLong = "UPDATE t_DataFlowSubSystem SET FSUBID = '" + std::string(41, 'x') +
                                "' WHERE FSubSysID = 8005";
    if (OnPostgres()) {
        Administer("ALTER TABLE t_DataFlowSubSystem DROP CONSTRAINT ck_subsystem_number");
    } else {
        Administer("DROP TRIGGER tr_ck_subsystem_number_UPDATE");
        Administer("DROP TRIGGER tr_ck_topclass_names_INSERT");
        Administer(
            "CREATE TRIGGER tr_ck_topclass_names_INSERT BEFORE INSERT ON "
            "t_DataFlowTopClass BEGIN SELECT 1; END");
    }
    const std::vector<std::string> missing =
        OnPostgres() ? std::vector<std::string>{"constraint ck_subsystem_number is missing"}
                     : std::vector<std::string>{"trigger tr_ck_topclass_names_INSERT was altered",
                                                "trigger tr_ck_subsystem_number_UPDATE is missing"};
    EXPECT_EQ(host->MissingValueRules(), missing);
    EXPECT_TRUE(host->MissingHistoryProtections().empty()) << "the log stays trusted";

    EXPECT_EQ(host->RepairHistory(), missing);
    EXPECT_TRUE(host->MissingValueRules().empty());
    EXPECT_THROW(Administer(tooLong), std::exception) << "the rule holds again";
}

TEST_P(ChangeTrust, AnotherProgramsWritesAreItsOwnChangesSealedByOurNextWrite) {
    Administer("UPDATE t_DataFlowSubSystem SET FIndex = 9 WHERE FSubSysID IN (8002, 8003)");
    const ItemChange console = History()->Changes(Context(), {{Kind::SubSystem, 8002}}).front();
    const SealCheck pending = Verify();
    EXPECT_EQ(pending.finding, Finding::Intact);
    if (OnPostgres()) {
        // The server knows who logged in, whatever the program says of itself.
        EXPECT_FALSE(console.otherProgram);
        EXPECT_EQ(console.databaseUser, "postgres");
        EXPECT_EQ(pending.awaitingSeal, 0);
        return;
    }
    EXPECT_TRUE(console.otherProgram);
    EXPECT_EQ(console.databaseUser, "");
    EXPECT_EQ(pending.awaitingSeal, 2);

    ASSERT_EQ(Rename(module, 8005).To("Ours"), 0);
    const SealCheck sealed = Verify();
    EXPECT_EQ(sealed.finding, Finding::Intact);
    EXPECT_EQ(sealed.awaitingSeal, 0);
    const ItemChange after = History()->Changes(Context(), {{Kind::SubSystem, 8002}}).front();
    EXPECT_EQ(after.number, console.number);
    EXPECT_TRUE(after.otherProgram) << "still another program's, now sealed as such";
    EXPECT_FALSE(History()->Changes(Context(), {{Kind::SubSystem, 8005}}).front().otherProgram);
}

TEST_P(ChangeTrust, BytesAnotherProgramStoredAreReadAsTheyAreAndARevertSaysWhyItCannotWriteThem) {
    if (OnPostgres()) {
        GTEST_SKIP() << "a UTF8 database refuses such bytes";
    }
    const std::string valid =
        StoredValue("SELECT FName_CHS FROM t_DataFlowSubSystem WHERE FSubSysID = 8001").ToText();
    Administer(
        "UPDATE t_DataFlowSubSystem SET FName_CHS = CAST(X'E8FF41' AS TEXT) WHERE FSubSysID = "
        "8001");
    const ItemChange change = History()->Changes(Context(), {{Kind::SubSystem, 8001}}).front();
    ASSERT_TRUE(change.before && change.after);
    EXPECT_EQ(change.before->Item("FName_CHS").ToText(), valid);
    EXPECT_EQ(change.after->Item("FName_CHS").ToText(),
              "\xE8\xFF"
              "A");
    EXPECT_EQ(change.after->Item("FName_EN").ToText(), "Dealer Portal") << "the other fields too";

    ChangeRevert revert(module);
    const int64_t reverted = revert.Revert(change.number).change;
    EXPECT_EQ(reverted, change.number);
    EXPECT_EQ(
        StoredValue("SELECT FName_CHS FROM t_DataFlowSubSystem WHERE FSubSysID = 8001").ToText(),
        valid);
    // Reverting the revert would store the bytes again, which no editor may: the rule says so.
    const int64_t revertOfRevert =
        History()->Changes(Context(), {{Kind::SubSystem, 8001}}).front().number;
    EXPECT_EQ(Outcome([&] {
                  revert.Revert(revertOfRevert);
                  return 0;
              }),
              ObjectError(1040));
}

INSTANTIATE_TEST_SUITE_P(Stores, ChangeTrust, AllBackends(), BackendName);

}  // namespace
}  // namespace quarn::suite
