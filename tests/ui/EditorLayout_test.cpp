// Both editors as a user of each session language meets them, with the real translation catalogs
// and form fonts: every caption shown whole, every control named for a screen reader, and the
// tab order the focus table's.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QStyleOptionButton>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <tuple>
#include <vector>

#include "suite/fonts/FrmResLoader.h"
#include "ui/CaptionText.h"
#include "ui/EditorFixture.h"
#include "ui/InputTool.h"
#include "ui/QtText.h"
#include "ui/SpreadGrid.h"
#include "ui/frmSubSysGroup.h"
#include "ui/frmSubSystem.h"

namespace quarn::subsysmgr {
namespace {

using namespace Qt::StringLiterals;

// The text a label or button shows for its caption: a mnemonic's "&" is not drawn.
QString Drawn(QString caption) {
    return caption.remove(QRegularExpression(u"&(?!&)"_s));
}

// Whether the text fits into the width, in the widget's font.
::testing::AssertionResult Fits(const QWidget& widget, const QString& text, int width) {
    const int needed = widget.fontMetrics().horizontalAdvance(Drawn(text));
    if (needed <= width) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << widget.objectName().toStdString() << ": \"" << text.toStdString() << "\" needs "
           << needed << " px, has " << width;
}

// The room a check box or push button leaves its text.
int TextRoom(const QAbstractButton& button, QStyle::SubElement contents) {
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    return button.style()->subElementRect(contents, &option, &button).width();
}

QString AccessibleName(QWidget* widget) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible ? accessible->text(QAccessible::Name) : QString();
}

// The controls of each editor in the order of its focus table, by the names they carry.
const std::vector<const char*> kGroupTabOrder = {"inID",     "inIndex",   "inName", "inNameCHT",
                                                 "inNameEN", "inVisible", "InWeb",  "vaSpread",
                                                 "cmdSave",  "cmdCancel"};
const std::vector<const char*> kSubSystemTabOrder = {
    "inID",    "inIndex",   "inNumber", "inName",   "inNameCHT", "inNameEN",
    "inGroup", "inVisible", "InWeb",    "vaSpread", "cmdSave",   "cmdCancel"};

// One dialog as the tests see it: its controls in focus-table order.
struct Shown {
    std::unique_ptr<EditorDialog> dialog;
    std::vector<QWidget*> tabOrder;

    // The controls of one kind, in tab order.
    template <class Control>
    std::vector<Control*> All() const {
        std::vector<Control*> found;
        for (QWidget* widget : tabOrder) {
            if (auto* control = qobject_cast<Control*>(widget)) {
                found.push_back(control);
            }
        }
        return found;
    }
    QLabel* GridCaption() const { return dialog->findChild<QLabel*>(u"lblFitAcct"_s); }
};

class EditorLayout : public EditorFixture {
  protected:
    EditorLayout() {
        for (const std::string language : {"CHS", "CHT", "EN"}) {
            std::ifstream file(std::filesystem::path(QUARN_RESOURCES_DIR) / "catalogs" /
                               ("QuarnDesign." + language + ".json"));
            suite.resLoader->catalog[language] =
                nlohmann::json::parse(file).get<std::map<std::string, std::string>>();
        }
        suite.module->frmResLoader = std::make_shared<suite::FrmResLoader>();
    }

    // The group editor on group 850, the subsystem editor on its subsystem 8001.
    Shown Open(const std::string& language, bool subsystem, int32_t status) {
        suite.SetContext("Language=" + language + ";");
        suite.module->languageCache.clear();
        auto group = std::make_shared<SubSysGroup>();
        Shown shown;
        if (subsystem) {
            auto dialog = std::make_unique<frmSubSystem>();
            group->Id(850);
            dialog->objSubSysGroup = group;
            dialog->objSubSystem =
                status == kStatusEdit ? group->GetSubSystem(8001, false) : nullptr;
            dialog->lngStatus = status;
            dialog->Form_Load();
            shown.dialog = std::move(dialog);
        } else {
            auto dialog = std::make_unique<frmSubSysGroup>();
            if (status == kStatusEdit) {
                group->initial(850);
                dialog->objSubSysGroup = group;
            }
            dialog->lngStatus = status;
            dialog->Form_Load();
            shown.dialog = std::move(dialog);
        }
        for (const char* name : subsystem ? kSubSystemTabOrder : kGroupTabOrder) {
            shown.tabOrder.push_back(shown.dialog->findChild<QWidget*>(QLatin1String(name)));
            EXPECT_NE(shown.tabOrder.back(), nullptr) << name;
        }
        ShowActive(*shown.dialog);
        return shown;
    }

    // Every caption of the dialog shows whole in the room its control gives it.
    static void ExpectWholeCaptions(const Shown& shown) {
        for (InputTool* field : shown.All<InputTool>()) {
            SCOPED_TRACE(field->objectName().toStdString());
            if (QLabel* caption = field->CaptionLabel()) {
                EXPECT_EQ(caption->text(), field->Caption());
                EXPECT_TRUE(Fits(*caption, caption->text(), caption->contentsRect().width()));
            } else {
                const auto* box = qobject_cast<QCheckBox*>(field->Editor());
                ASSERT_NE(box, nullptr);
                EXPECT_TRUE(Fits(*box, box->text(), TextRoom(*box, QStyle::SE_CheckBoxContents)));
            }
        }
        const QLabel& gridCaption = *shown.GridCaption();
        EXPECT_TRUE(Fits(gridCaption, gridCaption.text(), gridCaption.contentsRect().width()));
        for (QPushButton* button : shown.All<QPushButton>()) {
            EXPECT_TRUE(
                Fits(*button, button->text(), TextRoom(*button, QStyle::SE_PushButtonContents)));
        }
    }
};

// The session language, whether the subsystem editor, and the mode.
using Case = std::tuple<std::string, bool, int32_t>;

std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
    const auto& [language, subsystem, status] = info.param;
    return std::string(subsystem ? "Subsystem" : "Group") +
           (status == kStatusAdd ? "Add" : "Edit") + language;
}

class EditorInEveryLanguage : public EditorLayout, public ::testing::WithParamInterface<Case> {};

TEST_P(EditorInEveryLanguage, ShowsWholeCaptionsNamesEveryControlAndTabsInTheFocusTablesOrder) {
    const auto& [language, subsystem, status] = GetParam();
    const Shown shown = Open(language, subsystem, status);
    ExpectWholeCaptions(shown);

    for (InputTool* field : shown.All<InputTool>()) {
        SCOPED_TRACE(field->objectName().toStdString());
        EXPECT_FALSE(field->Caption().startsWith(u'['));  // a catalog's text, not the key
        const QString name = WithoutMnemonic(field->Caption());
        QAccessibleInterface* editor = QAccessible::queryAccessibleInterface(field->Editor());
        // A drop-down list is named by its label; its own name is its choice on Linux.
        const auto* list = qobject_cast<QComboBox*>(field->Editor());
        EXPECT_EQ(editor->text(QAccessible::Name), list ? list->currentText() : name);
        if (QLabel* caption = field->CaptionLabel()) {
            EXPECT_EQ(caption->buddy(), field->Editor());
            const auto labels = editor->relations(QAccessible::Label);
            ASSERT_EQ(labels.size(), 1);
            EXPECT_EQ(labels[0].first->text(QAccessible::Name), name);
        }
    }
    // The save button's and the account types' names in each language.
    const std::map<std::string, std::pair<QString, QString>> names = {
        {"CHS", {u"保存"_s, u"适应的账套类型"_s}},
        {"CHT", {u"儲存"_s, u"適用的帳套類型"_s}},
        {"EN", {u"Save"_s, u"Applicable account types"_s}}};
    const std::vector<QPushButton*> buttons = shown.All<QPushButton>();
    EXPECT_EQ(AccessibleName(buttons.at(0)), names.at(language).first);
    EXPECT_EQ(AccessibleName(buttons.at(1)), WithoutMnemonic(buttons.at(1)->text()));
    SpreadGrid* grid = shown.All<SpreadGrid>().at(0);
    EXPECT_EQ(shown.GridCaption()->buddy(), grid);
    EXPECT_EQ(AccessibleName(grid), names.at(language).second);
    ASSERT_GT(grid->MaxRows(), 0);
    // The grid ends on a whole row.
    EXPECT_EQ(grid->viewport()->height() % grid->rowHeight(0), 0);

    // Every label has an access key, and no two controls of the dialog share one.
    QStringList captions{shown.GridCaption()->text()};
    for (InputTool* field : shown.All<InputTool>()) {
        captions << field->Caption();
    }
    for (QPushButton* button : buttons) {
        captions << button->text();
    }
    QSet<QString> keys;
    for (const QString& caption : captions) {
        const QKeySequence key = QKeySequence::mnemonic(caption);
        EXPECT_FALSE(key.isEmpty()) << caption.toStdString();
        EXPECT_FALSE(keys.contains(key.toString())) << caption.toStdString();
        keys.insert(key.toString());
    }

    // The dialog's focus chain, of the widgets that Tab stops at, each field's editor standing
    // for its field, from the first of the focus table on.
    std::vector<QWidget*> chain;
    QWidget* widget = shown.dialog.get();
    do {
        if ((widget->focusPolicy() & Qt::TabFocus) && !widget->focusProxy()) {
            auto* field = qobject_cast<InputTool*>(widget->parentWidget());
            chain.push_back(field && field->Editor() == widget ? field : widget);
        }
        widget = widget->nextInFocusChain();
    } while (widget != shown.dialog.get());
    const auto start = std::find(chain.begin(), chain.end(), shown.tabOrder.front());
    ASSERT_NE(start, chain.end());
    std::rotate(chain.begin(), start, chain.end());
    EXPECT_EQ(chain, shown.tabOrder);
}

INSTANTIATE_TEST_SUITE_P(, EditorInEveryLanguage,
                         ::testing::Combine(::testing::Values("CHS", "CHT", "EN"),
                                            ::testing::Bool(),
                                            ::testing::Values(kStatusAdd, kStatusEdit)),
                         CaseName);

// The account-type grid shows whole rows at any height the dialog gives it; its first row,
// selected when the dialog opens, looks chosen only once the grid has the focus.
TEST_F(EditorLayout, TheGridShowsWholeRowsAndItsSelectionOnlyWithTheFocus) {
    for (const bool subsystem : {false, true}) {
        SCOPED_TRACE(subsystem);
        const Shown shown = Open("EN", subsystem, kStatusEdit);
        SpreadGrid& grid = *shown.All<SpreadGrid>().at(0);
        const int opened = shown.dialog->height();
        for (const int taller : {0, 7, 13, 31}) {
            shown.dialog->resize(shown.dialog->width(), opened + taller);
            QApplication::processEvents();
            EXPECT_EQ(grid.viewport()->height() % grid.rowHeight(0), 0) << taller;
        }

        ASSERT_EQ(grid.SelectedBlock().row, 1);
        const auto firstRowColour = [&grid] {
            const QRect cell = grid.visualItemRect(grid.item(0, SpreadGrid::kTextColumn - 1));
            return grid.viewport()->grab().toImage().pixelColor(cell.right() - 2,
                                                                cell.center().y());
        };
        EXPECT_EQ(firstRowColour(), grid.palette().color(QPalette::Base));
        grid.setFocus();
        EXPECT_NE(firstRowColour(), grid.palette().color(QPalette::Base));
    }
}

// A desktop with a larger font gets it in the form font's family, and the dialogs grow with it.
TEST_F(EditorLayout, ALargerDesktopFontGrowsTheDialogsAndCutsNoCaption) {
    const QFont desktop = QApplication::font();
    for (const bool subsystem : {false, true}) {
        SCOPED_TRACE(subsystem);
        const QSize designFont = Open("EN", subsystem, kStatusEdit).dialog->size();
        QFont large = desktop;
        large.setPointSize(18);
        QApplication::setFont(large);
        const Shown shown = Open("EN", subsystem, kStatusEdit);
        QApplication::setFont(desktop);
        EXPECT_EQ(shown.dialog->font().pointSize(), 18);
        EXPECT_EQ(shown.dialog->font().family(),
                  ToQString(suite::FrmResLoader::FontFamilyFor("EN")));
        EXPECT_GT(shown.dialog->width(), designFont.width());
        EXPECT_GT(shown.dialog->height(), designFont.height());
        ExpectWholeCaptions(shown);
    }
}

}  // namespace
}  // namespace quarn::subsysmgr
