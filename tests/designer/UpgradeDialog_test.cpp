#include "UpgradeDialog.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <cstdlib>
#include <string>

#include "DesignerFixture.h"
#include "ModalAnswers.h"
#include "ReleaseActions.h"
#include "UndoSteps.h"

namespace quarn::designer {
namespace {

using namespace Qt::StringLiterals;

// The demo database with customer subsystem 8005 in delivered group 15, which the releases of
// the command line's golden cases remove.
class Upgrade : public DesignerFixture {
  protected:
    void SetUp() override {
        DesignerFixture::SetUp();
        const std::string sql =
            "sqlite3 '" + (scratch_->folder / "tree.sqlite").string() +
            "' \"UPDATE t_DataFlowSubSystem SET FTopClassID = 15 WHERE FSubSysID = 8005\"";
        ASSERT_EQ(std::system(sql.c_str()), 0);
        window_->Reload();
    }

    static QString ReleaseOf(const char* goldenCase) {
        return QString::fromUtf8(QUARN_GOLDEN_DIR) + u'/' + QString::fromUtf8(goldenCase) +
               u"/stdin"_s;
    }

    // Every row of the tree but its version, the account types and the releases recorded.
    static std::string Stored() {
        std::string rows;
        for (const char* query :
             {"SELECT FTopClassID, FTopClassName_CHS, FTopClassName_CHT, FTopClassName_EN, FIndex, "
              "FVisible, FShowSysType, FAcctType FROM t_DataFlowTopClass ORDER BY 1",
              "SELECT FSubSysID, FTopClassID, FName_CHS, FName_CHT, FName_EN, FSUBID, FClassName, "
              "FVisible, FIndex, FAcctType, FShowSysType FROM t_DataFlowSubSystem ORDER BY 1",
              "SELECT * FROM t_AccountType ORDER BY 1",
              "SELECT FName, FDate FROM t_SuiteRelease ORDER BY FOrder"}) {
            const RecordsetPtr read = Query(query);
            for (; !read->Eof(); read->MoveNext()) {
                for (std::size_t column = 0; column < read->ColumnCount(); ++column) {
                    rows += read->Fields(column).TextOrEmpty() + "|";
                }
                rows += "\n";
            }
        }
        return rows;
    }

    // The lines below the top-level rows of the preview.
    static QStringList Details(const QTreeWidget& items) {
        QStringList lines;
        for (int row = 0; row < items.topLevelItemCount(); ++row) {
            for (int child = 0; child < items.topLevelItem(row)->childCount(); ++child) {
                const QTreeWidgetItem* line = items.topLevelItem(row)->child(child);
                lines << line->text(0) + u": "_s + line->text(2);
            }
        }
        return lines;
    }
};

// Each conflict names the customer item in the way; while one is left the upgrade cannot be
// applied, and leaving the preview writes nothing.
TEST_F(Upgrade, ThePreviewNamesBothItemsOfAConflictAndRefusesWhileOneIsLeft) {
    const std::string before = Stored();
    QStringList details;
    bool applicable = true;
    ModalAnswers answers([&](QDialog& dialog) {
        if (auto* preview = qobject_cast<UpgradeDialog*>(&dialog)) {
            details = Details(*preview->findChild<QTreeWidget*>(u"upgradeItems"_s));
            applicable = preview->findChild<QPushButton*>(u"applyUpgrade"_s)->isEnabled();
            dialog.reject();
        }
    });
    EXPECT_FALSE(window_->findChild<ReleaseActions*>()->UpgradeTo(ReleaseOf("upgrade-refused")));
    EXPECT_FALSE(applicable);
    EXPECT_TRUE(
        details.contains(u"conflict: Subsystem group 850 Custom Extensions already has "
                         u"the same Group name (Traditional Chinese)"_s))
        << details.join(u'\n').toStdString();
    EXPECT_TRUE(
        details.contains(u"conflict: Subsystem 8005 Supplier Evaluation is still in this "
                         u"group"_s));
    EXPECT_TRUE(details.contains(u"conflict: 5 business objects, reports or flows refer to it"_s));
    EXPECT_TRUE(
        details.contains(u"conflict: Subsystem 8001 Dealer Portal uses this account type"_s));
    EXPECT_EQ(Stored(), before);
}

// Choosing a customer group for the orphans plans again and lets the upgrade go ahead; the
// upgrade is one undo step, which takes it back exactly and writes it again.
TEST_F(Upgrade, MovedOrphansLetItGoAheadAsOneStepThatUndoesExactly) {
    // A customer row another program broke, which the check after the upgrade still finds.
    const std::string sql =
        "sqlite3 '" + (scratch_->folder / "tree.sqlite").string() +
        "' \"UPDATE t_DataFlowSubSystem SET FAcctType = '' WHERE FSubSysID = 8003\"";
    ASSERT_EQ(std::system(sql.c_str()), 0);
    const std::string before = Stored();
    QStringList movedLines;
    QString checkAfter;
    QStringList foundAfter;
    ModalAnswers answers([&](QDialog& dialog) {
        auto* preview = qobject_cast<UpgradeDialog*>(&dialog);
        if (!preview) {
            return;
        }
        auto* target = preview->findChild<QComboBox*>(u"orphanTarget"_s);
        ASSERT_NE(target, nullptr);
        target->setCurrentIndex(target->findData(852));
        emit target->activated(target->currentIndex());
        const QStringList details = Details(*preview->findChild<QTreeWidget*>(u"upgradeItems"_s));
        movedLines = details.filter(u"is moved to group 852"_s);
        foundAfter = details.filter(u"Subsystem 8003 "_s);
        checkAfter = preview->findChild<QLabel*>(u"upgradeConflicts"_s)->text();
        preview->findChild<QPushButton*>(u"applyUpgrade"_s)->click();
    });
    ASSERT_TRUE(window_->findChild<ReleaseActions*>()->UpgradeTo(ReleaseOf("upgrade-orphans")));
    EXPECT_EQ(movedLines.size(), 1);
    EXPECT_EQ(checkAfter, u"After the upgrade, the check would find 1 problem."_s)
        << checkAfter.toStdString();
    EXPECT_EQ(foundAfter.size(), 1) << foundAfter.join(u'\n').toStdString();
    const std::string upgraded = Stored();
    EXPECT_NE(upgraded.find("2027.06|2027-06-01|"), std::string::npos);
    EXPECT_NE(upgraded.find("8005|852|"), std::string::npos);
    // The editors offer the account type the release added at once.
    bool offered = false;
    const RecordsetPtr types = subsysmgr::GetAccountTypes(*session_->Module());
    for (types->MoveFirst(); !types->Eof(); types->MoveNext()) {
        offered = offered || types->Fields("FAcctType").ToInt32() == 14;
    }
    EXPECT_TRUE(offered);
    // A delivered item's history names the upgrade in the session language.
    ChooseLanguage("CHS");
    window_->Select(13, 0);
    window_->ShowHistory();
    const auto* changes = window_->findChild<QTreeWidget*>(u"changes"_s);
    ASSERT_GE(changes->topLevelItemCount(), 1);
    EXPECT_TRUE(changes->topLevelItem(0)->text(3).endsWith(u"(升级到发布 2027.06)"_s))
        << changes->topLevelItem(0)->text(3).toStdString();
    ChooseLanguage("EN");

    UndoSteps& undo = *window_->findChild<UndoSteps*>();
    EXPECT_EQ(undo.UndoAction()->text(), u"&Undo upgrade to release 2027.06"_s);
    undo.Undo();
    EXPECT_EQ(Stored(), before);
    undo.Redo();
    EXPECT_EQ(Stored(), upgraded);
}

// Another user's write while the preview is open refuses the upgrade, writing nothing, and the
// preview comes again over what they wrote.
TEST_F(Upgrade, AnotherUsersWriteWhileThePreviewIsOpenShowsItAgain) {
    int previews = 0;
    ModalAnswers answers([&](QDialog& dialog) {
        auto* preview = qobject_cast<UpgradeDialog*>(&dialog);
        if (!preview) {
            return;
        }
        if (++previews > 1) {
            preview->reject();
            return;
        }
        auto* target = preview->findChild<QComboBox*>(u"orphanTarget"_s);
        target->setCurrentIndex(target->findData(852));
        emit target->activated(target->currentIndex());
        OtherProcess({"edit", "subsystem", "8001", "--name-en", "Dealer Web"});
        preview->findChild<QPushButton*>(u"applyUpgrade"_s)->click();
    });
    const std::string before = Stored();
    EXPECT_FALSE(window_->findChild<ReleaseActions*>()->UpgradeTo(ReleaseOf("upgrade-orphans")));
    EXPECT_EQ(previews, 2);
    ASSERT_EQ(answers.messages.size(), 1u);
    EXPECT_NE(answers.messages[0].find("the database was changed after its preview was read"),
              std::string::npos)
        << answers.messages[0];
    EXPECT_NE(before.find("2026.12|2026-12-08|"), std::string::npos);
    EXPECT_EQ(Stored().find("2027.06"), std::string::npos);
}

}  // namespace
}  // namespace quarn::designer
