#include "FunctionalTreeModel.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QAbstractItemModelTester>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "OtherProcess.h"
#include "host/IClassInfo.h"
#include "host/ProgIds.h"
#include "runtime/SessionContext.h"
#include "store/StoreFixture.h"

namespace quarn::designer {
namespace {

using suite::Backend;

// Every warning of the model tester, which reports a model that breaks Qt's rules that way.
// Left out are those of insertions nested in another one: when a refresh inserts rows, the
// tester fetches their children while it still handles the insertion and then takes its own
// fetch for a change nested in the refresh's.
std::vector<std::string> testerWarnings;
int insertionDepth = 0;

void RecordWarning(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type != QtDebugMsg && type != QtInfoMsg && insertionDepth <= 1) {
        testerWarnings.push_back(message.toStdString());
    }
}

// "group: subsystem subsystem ..." per group, in display order, with the English names.
using TreeLines = std::vector<std::string>;

// The model on a database of its own; other users change the tree with the command-line tool.
class FunctionalTreeModelTest : public ::testing::TestWithParam<Backend> {
  protected:
    void SetUp() override {
        if (GetParam() != Backend::SQLite && suite::TestServer().empty()) {
            GTEST_SKIP() << "QUARN_TEST_PG is not set (run under scripts/with-postgres)";
        }
        setenv("QUARN_DATA_DIR", QUARN_RESOURCES_DIR, 1);
        scratch_ = std::make_unique<suite::ScratchDatabase>(GetParam());
        session_ = std::make_unique<suite::HostSession>(scratch_->Spec(), "EN");
        session_->Activate();
        model_.SetLanguage("EN");
        model_.Load();
        testerWarnings.clear();
        previousHandler_ = qInstallMessageHandler(RecordWarning);
    }

    void TearDown() override {
        qInstallMessageHandler(previousHandler_);
        session_.reset();
        scratch_.reset();
    }

    void OtherProcess(std::initializer_list<const char*> arguments) {
        RunOtherProcess(scratch_->Spec(), arguments);
    }

    // The tree as the model shows it; groups not yet read show no subsystems.
    TreeLines Shown() const {
        TreeLines lines;
        for (int row = 0; row < model_.rowCount(); ++row) {
            const QModelIndex group = model_.index(row, 0);
            std::string line = group.data(kIdRole).toString().toStdString() + ":";
            for (int child = 0; child < model_.rowCount(group); ++child) {
                const QModelIndex item = model_.index(child, 0, group);
                line += " " + item.data(kIdRole).toString().toStdString() + "=" +
                        item.siblingAtColumn(FunctionalTreeModel::kNameColumn)
                            .data()
                            .toString()
                            .toStdString();
            }
            lines.push_back(line);
        }
        return lines;
    }

    // The same read straight from the database's tables.
    TreeLines Stored() const {
        auto& module = *subsysmgr::ModuleState::Current();
        const auto classInfo = module.registry->Create<IClassInfo>(progid::kClassInfo);
        const std::string props = subsysmgr::GetPropsString(module);
        const RecordsetPtr groups = classInfo->GetData(
            props, "select FTopClassID from t_DataFlowTopClass order by FIndex, FTopClassID");
        TreeLines lines;
        for (; !groups->Eof(); groups->MoveNext()) {
            const std::string id = groups->Fields("FTopClassID").ToText();
            const RecordsetPtr subSystems = classInfo->GetData(
                props, "select FSubSysID, FName_EN from t_DataFlowSubSystem where FTopClassID=" +
                           id + " order by FIndex, FSubSysID");
            std::string line = id + ":";
            for (; !subSystems->Eof(); subSystems->MoveNext()) {
                line += " " + subSystems->Fields("FSubSysID").ToText() + "=" +
                        subSystems->Fields("FName_EN").ToText();
            }
            lines.push_back(line);
        }
        return lines;
    }

    QModelIndex SubSystem(int32_t groupId, int32_t id) {
        return model_.SubSystemIndex(groupId, id);
    }

    std::unique_ptr<suite::ScratchDatabase> scratch_;
    std::unique_ptr<suite::HostSession> session_;
    FunctionalTreeModel model_;
    QtMessageHandler previousHandler_ = nullptr;
};

TEST_P(FunctionalTreeModelTest,
       RowsMatchTheStoredTreeAfterARefreshThatFollowsAnotherSessionsChange) {
    // An insertion counts from before the tester's slots see it to after they have.
    QObject::connect(&model_, &QAbstractItemModel::rowsAboutToBeInserted, [] { ++insertionDepth; });
    QAbstractItemModelTester tester(&model_,
                                    QAbstractItemModelTester::FailureReportingMode::Warning);
    QObject::connect(&model_, &QAbstractItemModel::rowsInserted, [] { --insertionDepth; });
    for (int row = 0; row < model_.rowCount(); ++row) {
        model_.fetchMore(model_.index(row, 0));
    }
    ASSERT_EQ(Shown(), Stored());
    const QPersistentModelIndex untouched = SubSystem(850, 8004);
    ASSERT_TRUE(untouched.isValid());

    OtherProcess({"edit", "subsystem", "8002", "--name-en", "Renamed Elsewhere"});
    OtherProcess({"edit", "subsystem", "8003", "--index", "0"});
    OtherProcess({"add", "group", "--id", "861", "--name-chs", "物流", "--name-cht", "物流",
                  "--name-en", "Logistics", "--index", "0"});
    OtherProcess({"edit", "subsystem", "8001", "--group", "861"});
    ASSERT_TRUE(model_.Refresh([](int64_t, int64_t) { return true; }));

    EXPECT_EQ(Shown(), Stored());
    EXPECT_EQ(untouched.data(kIdRole).toInt(), 8004);
    EXPECT_EQ(untouched.parent().data(kIdRole).toInt(), 850);

    // Back again, and a deletion: rows go as well as come.
    OtherProcess({"edit", "subsystem", "8001", "--group", "850"});
    OtherProcess({"delete", "group", "861"});
    ASSERT_TRUE(model_.Refresh([](int64_t, int64_t) { return true; }));
    EXPECT_EQ(Shown(), Stored());
    EXPECT_EQ(untouched.data(kIdRole).toInt(), 8004);
    EXPECT_TRUE(testerWarnings.empty()) << testerWarnings.front();
}

// What the filter matches is the store's to find; here: the rows it shows, and all of them again
// after.
TEST_P(FunctionalTreeModelTest, TheFilterShowsTheMatchesWithTheirGroupsAndThenEverythingAgain) {
    const auto found = [&](const char* text) {
        EXPECT_TRUE(
            model_.SetFilter(QString::fromUtf8(text), [](int64_t, int64_t) { return true; }));
        std::vector<std::string> matched;
        for (int row = 0; row < model_.rowCount(); ++row) {
            const QModelIndex group = model_.index(row, 0);
            if (group.data(kMatchRole).toBool()) {
                matched.push_back("group " + group.data(kIdRole).toString().toStdString());
            }
            for (int child = 0; child < model_.rowCount(group); ++child) {
                if (model_.index(child, 0, group).data(kMatchRole).toBool()) {
                    matched.push_back(
                        model_.index(child, 0, group).data(kIdRole).toString().toStdString());
                }
            }
        }
        return matched;
    };
    using ::testing::ElementsAre;
    EXPECT_THAT(found("巡檢"), ElementsAre("8002"));
    EXPECT_EQ(Shown(), TreeLines{"850: 8002=Equipment Patrol Inspection"});
    // A refresh asks the store again: another user's rename is a match at once.
    OtherProcess({"edit", "subsystem", "8003", "--name-cht", "門市巡檢"});
    ASSERT_TRUE(model_.Refresh([](int64_t, int64_t) { return true; }));
    EXPECT_EQ(model_.MatchCount(), 2);
    EXPECT_TRUE(model_.SubSystemIndex(850, 8003).data(kMatchRole).toBool());
    // A group matched by name keeps all its subsystems, the matched group highlighted alone.
    EXPECT_THAT(found("850"), ElementsAre("group 850"));
    EXPECT_EQ(model_.rowCount(), 1);
    EXPECT_EQ(model_.rowCount(model_.index(0, 0)), 5);
    EXPECT_THAT(found("no such thing"), ::testing::IsEmpty());
    EXPECT_EQ(model_.rowCount(), 0);
    EXPECT_TRUE(model_.SetFilter(QString(), [](int64_t, int64_t) { return true; }));
    EXPECT_EQ(Shown().size(), Stored().size());
}

INSTANTIATE_TEST_SUITE_P(Stores, FunctionalTreeModelTest,
                         ::testing::Values(Backend::SQLite, Backend::PostgreSQL),
                         suite::BackendName);

}  // namespace
}  // namespace quarn::designer
