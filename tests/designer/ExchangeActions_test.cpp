#include "ExchangeActions.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QFile>
#include <QMainWindow>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "DesignerFixture.h"
#include "ImportDialog.h"
#include "MainWindow.h"
#include "ModalAnswers.h"
#include "UndoSteps.h"
#include "exchange/ExchangeExport.h"
#include "suite/DataPaths.h"
#include "suite/store/Database.h"
#include "ui/QtPlatform.h"

namespace quarn::designer {
namespace {

using ::testing::HasSubstr;

// Against the demo database: 850 as stored, 851 renamed and put on the web, 860 and its 8300
// new, 861 named as a delivered group is (refused), 8002 moved.
const char* const kPrepared = R"({
  "format": 1,
  "groups": [
    {"id": 850, "names": {"CHS": "客户化扩展", "CHT": "客戶化擴充", "EN": "Custom Extensions"},
     "index": 160, "visible": true, "web": false, "accountTypes": [1, 2, 3]},
    {"id": 851, "names": {"CHS": "行业套件", "CHT": "產業套件", "EN": "Industry Solutions"},
     "index": 170, "visible": true, "web": true, "accountTypes": [1, 3]},
    {"id": 860, "names": {"CHS": "物流", "CHT": "物流", "EN": "Logistics"},
     "index": 190, "visible": true, "web": false, "accountTypes": [1]},
    {"id": 861, "names": {"CHS": "资金二", "CHT": "資金二", "EN": "Treasury"},
     "index": 200, "visible": true, "web": false, "accountTypes": [1]}
  ],
  "subsystems": [
    {"id": 8300, "group": 860, "number": "wms", "names": {"CHS": "仓储", "CHT": "倉儲", "EN": "Warehousing"},
     "index": 1, "visible": true, "web": false, "accountTypes": [1, 3]},
    {"id": 8002, "group": 850, "number": "epi", "names": {"CHS": "设备巡检", "CHT": "設備巡檢", "EN": "Equipment Patrol Inspection"},
     "index": 7, "visible": true, "web": false, "accountTypes": [1, 3]}
  ]
})";

// A row of the import dialog: "item | outcome | details", its fields' rows below it.
struct PreviewRow {
    std::string line;
    bool checkable = false;
    std::vector<std::string> fields;
};

// Answers the import dialog through `onImport` after noting its rows, and the other modal dialogs
// as ModalAnswers does.
class ImportAnswers : public ModalAnswers {
  public:
    explicit ImportAnswers(std::function<void(ImportDialog&)> onImport)
        : ModalAnswers([this, onImport = std::move(onImport)](QDialog& modal) {
              if (auto* dialog = qobject_cast<ImportDialog*>(&modal)) {
                  Note(*dialog);
                  onImport(*dialog);
              }
          }) {}

    std::vector<PreviewRow> preview;

  private:
    void Note(const ImportDialog& dialog) {
        auto* items = dialog.findChild<QTreeWidget*>(QStringLiteral("importItems"));
        for (int row = 0; row < items->topLevelItemCount(); ++row) {
            const QTreeWidgetItem* item = items->topLevelItem(row);
            PreviewRow shown{(item->text(0) + QStringLiteral(" | ") + item->text(1) +
                              QStringLiteral(" | ") + item->text(2))
                                 .toStdString(),
                             (item->flags() & Qt::ItemIsUserCheckable) != 0,
                             {}};
            for (int child = 0; child < item->childCount(); ++child) {
                shown.fields.push_back((item->child(child)->text(0) + QStringLiteral(": ") +
                                        item->child(child)->text(2))
                                           .toStdString());
            }
            preview.push_back(shown);
        }
    }
};

// Unticks the items whose row starts with one of `codes` ("group 851") and applies the rest.
std::function<void(ImportDialog&)> ApplyAllBut(std::vector<QString> codes) {
    return [codes](ImportDialog& dialog) {
        auto* items = dialog.findChild<QTreeWidget*>(QStringLiteral("importItems"));
        for (int row = 0; row < items->topLevelItemCount(); ++row) {
            QTreeWidgetItem* item = items->topLevelItem(row);
            for (const QString& code : codes) {
                if (item->text(0).startsWith(code + QStringLiteral(" "))) {
                    item->setCheckState(0, Qt::Unchecked);
                }
            }
        }
        dialog.findChild<QPushButton*>(QStringLiteral("applyChosen"))->click();
    };
}

// A database of its own with the demo data, a window and the designer's exchange actions.
struct Designer {
    Designer() : scratch(suite::Backend::SQLite), session(scratch.Spec(), "EN") {
        Activate();
        actions = std::make_unique<ExchangeActions>(session, &window);
    }

    void Activate() {
        session.Activate();
        subsysmgr::InstallQtPlatform(*session.Module(), session.Registry(),
                                     suite::DataDirectory() / "help");
    }

    // The stored items an export writes, as the file writes them.
    std::string Customer() {
        Activate();
        return subsysmgr::exchange::WriteExchange(
            subsysmgr::exchange::CustomerItems(session.Module()));
    }

    // Every stored group and subsystem with all of their fields: "id name-EN index ...", the row
    // versions left out on request.
    std::string Everything(bool versions = true) {
        Activate();
        std::string all;
        for (const char* sql : {"select * from t_DataFlowTopClass order by FTopClassID",
                                "select * from t_DataFlowSubSystem order by FSubSysID"}) {
            for (RecordsetPtr rows = Query(sql); !rows->Eof(); rows->MoveNext()) {
                for (std::size_t column = 0; column < rows->ColumnCount(); ++column) {
                    if (versions || rows->ColumnName(column) != "FVersion") {
                        all += rows->Fields(column).TextOrEmpty() + "|";
                    }
                }
                all += "\n";
            }
        }
        return all;
    }

    suite::ScratchDatabase scratch;
    suite::HostSession session;
    QMainWindow window;
    std::unique_ptr<ExchangeActions> actions;
};

class ExchangeActionsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        setenv("QUARN_DATA_DIR", QUARN_RESOURCES_DIR, 1);
    }

    QString Write(const QString& name, const std::string& content) const {
        const QString path = folder_.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content.data(), static_cast<qint64>(content.size()));
        return path;
    }

    // The file without the head of the history it records, which names its own database's.
    static std::string WithoutHistory(std::string file) {
        const std::size_t start = file.find("  \"history\": {\n");
        if (start != std::string::npos) {
            file.erase(start, file.find("  },\n", start) + 5 - start);
        }
        return file;
    }

    static std::string Read(const QString& path) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll().toStdString();
    }

    QTemporaryDir folder_;
};

TEST_F(ExchangeActionsTest, ThePreviewListsEveryOutcomeAndOnlyTheChosenItemsAreWritten) {
    Designer designer;
    const QString file = Write(QStringLiteral("prepared.json"), kPrepared);
    // The import's writes are one step for an undo history, which learns what they added.
    std::vector<TreeItemRef> changed{{TreeItemRef::Kind::Group, 0}};
    std::vector<TreeItemRef> added;
    designer.actions->RecordStepsWith([&](const std::vector<TreeItemRef>& items, std::size_t count,
                                          const std::function<std::vector<TreeItemRef>()>& write) {
        changed = items;
        EXPECT_EQ(count, 2u);
        added = write();
    });
    ImportAnswers answers(
        ApplyAllBut({QStringLiteral("Subsystem group 851"), QStringLiteral("Subsystem 8002")}));
    EXPECT_TRUE(designer.actions->ImportFile(file));
    EXPECT_TRUE(changed.empty());
    EXPECT_EQ(added, (std::vector<TreeItemRef>{{TreeItemRef::Kind::Group, 860},
                                               {TreeItemRef::Kind::SubSystem, 8300}}));

    ASSERT_EQ(answers.preview.size(), 6u);
    const auto row = [&](std::size_t n) { return answers.preview[n].line; };
    EXPECT_THAT(row(0), HasSubstr("850  Custom Extensions | unchanged |"));
    EXPECT_THAT(row(1), HasSubstr("851  Industry Solutions | changed |"));
    EXPECT_EQ(
        answers.preview[1].fields,
        (std::vector<std::string>{"Group name (English): Industry Packs \u2192 Industry Solutions",
                                  "Visible in the Web console: no \u2192 yes"}));
    EXPECT_THAT(row(2), HasSubstr("860  Logistics | added |"));
    EXPECT_THAT(row(3), HasSubstr("861  Treasury | refused | "));
    EXPECT_THAT(row(3), HasSubstr("already exists"));
    EXPECT_FALSE(answers.preview[3].checkable);
    EXPECT_TRUE(answers.preview[2].checkable);
    EXPECT_THAT(row(4), HasSubstr("8300  Warehousing | added |"));
    EXPECT_THAT(row(5), HasSubstr("8002  Equipment Patrol Inspection | changed |"));
    EXPECT_EQ(answers.preview[5].fields, std::vector<std::string>{"Display order: 2 \u2192 7"});

    // Only the ticked ones: 860 and 8300 added, 851 and 8002 as they were.
    const std::string stored = designer.Everything();
    EXPECT_THAT(stored, HasSubstr("860|物流|"));
    EXPECT_THAT(stored, HasSubstr("8300|860|"));
    EXPECT_THAT(stored, HasSubstr("Industry Packs"));
    EXPECT_THAT(stored, ::testing::Not(HasSubstr("Industry Solutions")));
    EXPECT_THAT(stored, ::testing::Not(HasSubstr("861|")));
    ASSERT_EQ(answers.messages.size(), 1u);
    EXPECT_THAT(answers.messages[0], HasSubstr("2 added, 0 changed, 0 unchanged, 0 refused"));
}

TEST_F(ExchangeActionsTest, ABrokenOrForeignFileIsRefusedWithItsReasonAndNothingWritten) {
    Designer designer;
    const std::string before = designer.Everything();
    const std::map<std::string, std::string> files = {
        {"not JSON", "{\"format\": 1, \"groups\": ["},
        {"newer format", R"({"format": 99, "groups": [], "subsystems": []})"},
        {"foreign", R"({"name": "a package.json", "version": "1.0.0"})"},
        {"missing field", R"({"format": 1, "groups": [{"id": 860}], "subsystems": []})"},
        {"half good",
         std::string(kPrepared).replace(std::string(kPrepared).find("\"wms\""), 5, "17")},
    };
    for (const auto& [what, content] : files) {
        SCOPED_TRACE(what);
        ImportAnswers answers([](ImportDialog& dialog) {
            ADD_FAILURE() << "previewed";
            dialog.reject();
        });
        EXPECT_FALSE(designer.actions->ImportFile(Write(QStringLiteral("broken.json"), content)));
        ASSERT_EQ(answers.messages.size(), 1u);
        EXPECT_THAT(answers.messages[0], HasSubstr("nothing was written"));
        EXPECT_THAT(answers.messages[0], HasSubstr("broken.json"));
    }
    {
        ModalAnswers answers({});
        EXPECT_FALSE(designer.actions->ImportFile(folder_.filePath(QStringLiteral("absent.json"))));
        ASSERT_EQ(answers.messages.size(), 1u);
        EXPECT_THAT(answers.messages[0], HasSubstr("Cannot read the file"));
    }
    EXPECT_EQ(designer.Everything(), before);
}

// A text another program stored as invalid UTF-8 cannot be held exactly by an export: the item
// and field are named and no file is written.
TEST_F(ExchangeActionsTest, AnExportNamesATextThatIsNotUtf8AndWritesNothing) {
    Designer from;
    suite::Connect(from.scratch.location, suite::OpenMode::ReadWrite)
        ->Execute(
            "UPDATE t_DataFlowSubSystem SET FName_EN = CAST(X'E8FF41' AS TEXT) WHERE FSubSysID = "
            "8001");
    const QString path = folder_.filePath(QStringLiteral("broken.json"));
    ModalAnswers answers([](QDialog&) {});
    from.Activate();
    EXPECT_FALSE(
        from.actions->ExportTo(path, subsysmgr::exchange::CustomerItems(from.session.Module())));
    ASSERT_EQ(answers.messages.size(), 1u);
    EXPECT_THAT(answers.messages[0], HasSubstr("subsystem 8001 is not valid UTF-8"));
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(ExchangeActionsTest, WhatOneDatabaseExportsAnotherImportsUnchanged) {
    Designer from;
    RunOtherProcess(from.scratch.Spec(),
                    {"add", "group", "--id", "862", "--name-chs", "物流", "--name-cht", "物流",
                     "--name-en", "Logistics", "--index", "0", "--acct-types", "1,2"});
    RunOtherProcess(from.scratch.Spec(),
                    {"add", "subsystem", "--id", "8301", "--group", "862", "--name-chs", "仓储",
                     "--name-cht", "倉儲", "--name-en", "Warehousing", "--acct-types", "1"});
    RunOtherProcess(from.scratch.Spec(),
                    {"edit", "subsystem", "8001", "--name-en", "Dealer Portal 2"});
    const QString exported = folder_.filePath(QStringLiteral("all.json"));
    from.Activate();
    ASSERT_TRUE(from.actions->ExportTo(exported,
                                       subsysmgr::exchange::CustomerItems(from.session.Module())));
    EXPECT_EQ(Read(exported), from.Customer());

    Designer to;
    {
        to.Activate();
        ImportAnswers answers([](ImportDialog& dialog) {
            dialog.findChild<QPushButton*>(QStringLiteral("applyAll"))->click();
        });
        EXPECT_TRUE(to.actions->ImportFile(exported));
        ASSERT_EQ(answers.messages.size(), 1u);
        EXPECT_THAT(answers.messages[0], HasSubstr("2 added, 1 changed"));
    }
    EXPECT_EQ(WithoutHistory(to.Customer()), WithoutHistory(Read(exported)));

    // Back into the first: every item as it is.
    from.Activate();
    ImportAnswers answers([](ImportDialog& dialog) { dialog.reject(); });
    EXPECT_FALSE(from.actions->ImportFile(exported));
    ASSERT_FALSE(answers.preview.empty());
    for (const PreviewRow& row : answers.preview) {
        EXPECT_THAT(row.line, HasSubstr("| unchanged |"));
    }

    // A selection: the group with all its subsystems, a subsystem of another group alone.
    const QString selection = folder_.filePath(QStringLiteral("selection.json"));
    ASSERT_TRUE(from.actions->ExportTo(
        selection, subsysmgr::exchange::ChosenItems(from.session.Module(), {862}, {8001})));
    const std::string chosen = Read(selection);
    EXPECT_THAT(chosen, HasSubstr("\"id\": 862"));
    EXPECT_THAT(chosen, HasSubstr("\"id\": 8301"));
    EXPECT_THAT(chosen, HasSubstr("\"id\": 8001"));
    EXPECT_THAT(chosen, ::testing::Not(HasSubstr("\"id\": 8002")));
    EXPECT_THAT(chosen, ::testing::Not(HasSubstr("\"id\": 850")));
}

TEST_F(ExchangeActionsTest, AnImportInTheWindowIsUndoneAsOneStep) {
    KeepSettingsIn(folder_.path());
    Designer designer;
    MainWindow window(designer.session);
    window.Reload();
    const std::string before = designer.Everything(false);
    {
        ImportAnswers answers([](ImportDialog& dialog) {
            dialog.findChild<QPushButton*>(QStringLiteral("applyAll"))->click();
        });
        EXPECT_TRUE(window.findChild<ExchangeActions*>()->ImportFile(
            Write(QStringLiteral("prepared.json"), kPrepared)));
    }
    ASSERT_THAT(designer.Everything(false), HasSubstr("Industry Solutions"));
    ASSERT_THAT(designer.Everything(false), HasSubstr("8300|860|"));

    ModalAnswers answers({});
    window.findChild<UndoSteps*>()->Undo();
    EXPECT_TRUE(answers.messages.empty()) << ::testing::PrintToString(answers.messages);
    EXPECT_EQ(designer.Everything(false), before);
}

}  // namespace
}  // namespace quarn::designer
