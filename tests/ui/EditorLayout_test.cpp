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
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyleOptionButton>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
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

// One dialog as the tests see it: its members in focus-table order, the fields among them with
// their captions.
struct Shown {
    std::unique_ptr<EditorDialog> dialog;
    std::vector<std::pair<QWidget*, const char*>> tabOrder;
    std::vector<InputTool*> fields;
    QLabel* gridCaption = nullptr;
    SpreadGrid* grid = nullptr;
    std::vector<QPushButton*> buttons;
};

struct Case {
    const char* language;
    bool subsystem;
    int32_t status;
    QString save;          // the save button's accessible name
    QString accountTypes;  // the grid's
};

std::string Named(const Case& c) {
    return std::string(c.subsystem ? "Subsystem" : "Group") +
           (c.status == kStatusAdd ? "Add" : "Edit") + c.language;
}

void PrintTo(const Case& c, std::ostream* os) {
    *os << Named(c);
}

std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
    return Named(info.param);
}

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

    Shown Open(const std::string& language, bool subsystem, int32_t status) {
        suite.SetContext("Language=" + language + ";");
        suite.module->languageCache.clear();
        Shown shown;
        if (subsystem) {
            auto dialog = std::make_unique<frmSubSystem>();
            dialog->objSubSysGroup = std::make_shared<SubSysGroup>();
            dialog->objSubSysGroup->Id(850);
            if (status == kStatusEdit) {
                dialog->objSubSystem = dialog->objSubSysGroup->GetSubSystem(8001, false);
            }
            dialog->lngStatus = status;
            dialog->Form_Load();
            frmSubSystem& d = *dialog;
            shown.tabOrder = {
                {d.inID, "inID"},         {d.inIndex, "inIndex"},     {d.inNumber, "inNumber"},
                {d.inName, "inName"},     {d.inNameCHT, "inNameCHT"}, {d.inNameEN, "inNameEN"},
                {d.inGroup, "inGroup"},   {d.inVisible, "inVisible"}, {d.InWeb, "InWeb"},
                {d.vaSpread, "vaSpread"}, {d.cmdSave, "cmdSave"},     {d.cmdCancel, "cmdCancel"}};
            shown.fields = {d.inID,     d.inIndex, d.inNumber,  d.inName, d.inNameCHT,
                            d.inNameEN, d.inGroup, d.inVisible, d.InWeb};
            shown.gridCaption = d.lblFitAcct;
            shown.grid = d.vaSpread;
            shown.buttons = {d.cmdSave, d.cmdCancel};
            shown.dialog = std::move(dialog);
        } else {
            auto dialog = std::make_unique<frmSubSysGroup>();
            if (status == kStatusEdit) {
                dialog->objSubSysGroup = std::make_shared<SubSysGroup>();
                dialog->objSubSysGroup->initial(850);
            }
            dialog->lngStatus = status;
            dialog->Form_Load();
            frmSubSysGroup& d = *dialog;
            shown.tabOrder = {{d.inID, "inID"},         {d.inIndex, "inIndex"},
                              {d.inName, "inName"},     {d.inNameCHT, "inNameCHT"},
                              {d.inNameEN, "inNameEN"}, {d.inVisible, "inVisible"},
                              {d.InWeb, "InWeb"},       {d.vaSpread, "vaSpread"},
                              {d.cmdSave, "cmdSave"},   {d.cmdCancel, "cmdCancel"}};
            shown.fields = {d.inID,     d.inIndex,   d.inName, d.inNameCHT,
                            d.inNameEN, d.inVisible, d.InWeb};
            shown.gridCaption = d.lblFitAcct;
            shown.grid = d.vaSpread;
            shown.buttons = {d.cmdSave, d.cmdCancel};
            shown.dialog = std::move(dialog);
        }
        ShowActive(*shown.dialog);
        return shown;
    }

    // Every caption of the dialog shows whole in the room its control gives it.
    static void ExpectWholeCaptions(const Shown& shown) {
        for (InputTool* field : shown.fields) {
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
        EXPECT_TRUE(Fits(*shown.gridCaption, shown.gridCaption->text(),
                         shown.gridCaption->contentsRect().width()));
        for (QPushButton* button : shown.buttons) {
            EXPECT_TRUE(
                Fits(*button, button->text(), TextRoom(*button, QStyle::SE_PushButtonContents)));
        }
    }
};

class EditorInEveryLanguage : public EditorLayout, public ::testing::WithParamInterface<Case> {};

TEST_P(EditorInEveryLanguage, ShowsWholeCaptionsNamesEveryControlAndTabsInTheFocusTablesOrder) {
    const Case& c = GetParam();
    const Shown shown = Open(c.language, c.subsystem, c.status);
    ExpectWholeCaptions(shown);

    for (InputTool* field : shown.fields) {
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
    EXPECT_EQ(AccessibleName(shown.buttons[0]), c.save);
    EXPECT_FALSE(AccessibleName(shown.buttons[1]).isEmpty());
    EXPECT_FALSE(AccessibleName(shown.gridCaption).isEmpty());
    EXPECT_EQ(shown.gridCaption->buddy(), shown.grid);
    EXPECT_EQ(AccessibleName(shown.grid), c.accountTypes);
    QAccessibleTableInterface* table =
        QAccessible::queryAccessibleInterface(shown.grid)->tableInterface();
    ASSERT_NE(table, nullptr);
    ASSERT_GT(shown.grid->MaxRows(), 0);
    for (int row = 0; row < shown.grid->MaxRows(); ++row) {
        EXPECT_EQ(table->cellAt(row, 0)->text(QAccessible::Name),
                  shown.grid->item(row, SpreadGrid::kTextColumn - 1)->text());
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
    std::vector<QWidget*> expected;
    for (const auto& [control, name] : shown.tabOrder) {
        EXPECT_EQ(control->objectName(), QLatin1String(name));
        expected.push_back(control);
    }
    const auto start = std::find(chain.begin(), chain.end(), expected.front());
    ASSERT_NE(start, chain.end());
    std::rotate(chain.begin(), start, chain.end());
    EXPECT_EQ(chain, expected);
}

INSTANTIATE_TEST_SUITE_P(, EditorInEveryLanguage,
                         ::testing::ValuesIn(std::vector<Case>{
                             {"CHS", false, kStatusAdd, u"保存"_s, u"适应的账套类型"_s},
                             {"CHS", false, kStatusEdit, u"保存"_s, u"适应的账套类型"_s},
                             {"CHS", true, kStatusAdd, u"保存"_s, u"适应的账套类型"_s},
                             {"CHS", true, kStatusEdit, u"保存"_s, u"适应的账套类型"_s},
                             {"CHT", false, kStatusAdd, u"儲存"_s, u"適用的帳套類型"_s},
                             {"CHT", false, kStatusEdit, u"儲存"_s, u"適用的帳套類型"_s},
                             {"CHT", true, kStatusAdd, u"儲存"_s, u"適用的帳套類型"_s},
                             {"CHT", true, kStatusEdit, u"儲存"_s, u"適用的帳套類型"_s},
                             {"EN", false, kStatusAdd, u"Save"_s, u"Applicable account types"_s},
                             {"EN", false, kStatusEdit, u"Save"_s, u"Applicable account types"_s},
                             {"EN", true, kStatusAdd, u"Save"_s, u"Applicable account types"_s},
                             {"EN", true, kStatusEdit, u"Save"_s, u"Applicable account types"_s},
                         }),
                         CaseName);

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
