// The designer's colours under a light and a dark desktop: every text it shows on a background
// of its choosing reaches 4.5:1 (WCAG 2), and a refused import item says so without colour.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QTreeView>
#include <QTreeWidget>
#include <algorithm>
#include <cmath>
#include <string>

#include "DarkDesktop.h"
#include "DesignerFixture.h"
#include "DesignerTexts.h"
#include "ImportDialog.h"
#include "SessionText.h"
#include "exchange/ExchangeFile.h"
#include "exchange/ExchangeImport.h"
#include "exchange/FieldText.h"

namespace quarn::designer {
namespace {

// WCAG 2 relative luminance of an opaque colour.
double Luminance(const QColor& colour) {
    const auto linear = [](double channel) {
        return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}

// The contrast of `text` drawn over `background` (a translucent text blended in first).
double ContrastRatio(QColor text, const QColor& background) {
    const double alpha = text.alphaF();
    text = QColor::fromRgbF(
        static_cast<float>(text.redF() * alpha + background.redF() * (1 - alpha)),
        static_cast<float>(text.greenF() * alpha + background.greenF() * (1 - alpha)),
        static_cast<float>(text.blueF() * alpha + background.blueF() * (1 - alpha)));
    const double one = Luminance(text);
    const double other = Luminance(background);
    return (std::max(one, other) + 0.05) / (std::min(one, other) + 0.05);
}

enum class Desktop { Light, Dark };

class Contrast : public DesignerFixture, public ::testing::WithParamInterface<Desktop> {
  protected:
    void SetUp() override {
        ASSERT_EQ(QApplication::style()->name(), QStringLiteral("fusion"));
        QApplication::setPalette(GetParam() == Desktop::Dark
                                     ? DarkDesktopPalette()
                                     : QApplication::style()->standardPalette());
        DesignerFixture::SetUp();
    }
    void TearDown() override { QApplication::setPalette(QApplication::style()->standardPalette()); }

    // Each cell of `view`'s rows (under `parent`, and their children) in the colours the view
    // draws it with: the model's, else the view's palette.
    void ExpectReadable(const QAbstractItemView& view, const QModelIndex& parent = {}) {
        const QAbstractItemModel& model = *view.model();
        for (int row = 0; row < model.rowCount(parent); ++row) {
            for (int column = 0; column < model.columnCount(parent); ++column) {
                const QModelIndex cell = model.index(row, column, parent);
                const QVariant text = cell.data(Qt::ForegroundRole);
                const QVariant background = cell.data(Qt::BackgroundRole);
                const QColor shownText = text.isValid() ? text.value<QBrush>().color()
                                                        : view.palette().color(QPalette::Text);
                const QColor shownOn = background.isValid() ? background.value<QBrush>().color()
                                                            : view.palette().color(QPalette::Base);
                const double ratio = ContrastRatio(shownText, shownOn);
                EXPECT_GE(ratio, 4.5)
                    << view.objectName().toStdString() << " row " << row << " column " << column
                    << " \"" << cell.data().toString().toStdString()
                    << "\": " << shownText.name().toStdString() << " on "
                    << shownOn.name().toStdString();
            }
            ExpectReadable(view, model.index(row, 0, parent));
        }
    }

    static void ExpectReadable(const QLabel& label) {
        const QPalette& colours = label.palette();
        EXPECT_GE(ContrastRatio(colours.color(label.foregroundRole()),
                                colours.color(label.backgroundRole())),
                  4.5)
            << label.text().toStdString();
    }
};

TEST_P(Contrast, MatchesRefusedItemsAndHistoryReadOnTheDesktopsPalette) {
    OtherProcess({"edit", "subsystem", "8002", "--name-en", "Equipment Patrol Rounds"});
    // A search marks its matches in bold and in colours of the palette.
    window_->findChild<QLineEdit*>(QStringLiteral("filter"))->setText(QStringLiteral("patrol"));
    const QModelIndex match = model_->SubSystemIndex(850, 8002);
    ASSERT_TRUE(match.data(kMatchRole).toBool());
    EXPECT_TRUE(match.data(Qt::FontRole).value<QFont>().bold());
    window_->grab();
    ExpectReadable(*tree_);

    // The preview of a file whose group 861 is refused, as File > Import shows it.
    const subsysmgr::exchange::ExchangeText text(session_->Registry(), "EN");
    const auto exchange = subsysmgr::exchange::ReadExchange(R"({"format": 1, "groups": [
        {"id": 850, "names": {"CHS": "客户化扩展", "CHT": "客戶化擴充", "EN": "Custom Extensions"},
         "index": 161, "visible": true, "web": false, "accountTypes": [1, 2, 3]},
        {"id": 861, "names": {"CHS": "资金二", "CHT": "資金二", "EN": "Treasury"},
         "index": 200, "visible": true, "web": false, "accountTypes": [1]}],
        "subsystems": []})",
                                                            "refused.json", text);
    subsysmgr::exchange::ExchangeImport import(session_->Module(), text);
    const subsysmgr::exchange::FieldText fields(session_->Module(), text);
    ImportDialog preview(exchange, import.Preview(exchange), "EN", fields, window_.get());
    preview.grab();
    const auto* items = preview.findChild<QTreeWidget*>(QStringLiteral("importItems"));
    ASSERT_EQ(items->topLevelItemCount(), 2);
    const QTreeWidgetItem* refused = items->topLevelItem(1);
    ASSERT_EQ(refused->text(1), Tr(texts::kRefused));
    EXPECT_FALSE(refused->icon(1).isNull());  // said by its icon and word, not by colour
    EXPECT_TRUE(items->topLevelItem(0)->icon(1).isNull());
    ExpectReadable(*items);

    window_->Select(850, 8002);
    window_->ShowHistory();
    const auto* changes = window_->findChild<QTreeWidget*>(QStringLiteral("changes"));
    window_->grab();
    ASSERT_GE(changes->topLevelItemCount(), 1);
    ExpectReadable(*changes);
    for (const QLabel* label : changes->parentWidget()->findChildren<QLabel*>()) {
        ExpectReadable(*label);
    }
}

INSTANTIATE_TEST_SUITE_P(Desktops, Contrast, ::testing::Values(Desktop::Light, Desktop::Dark),
                         [](const ::testing::TestParamInfo<Desktop>& desktop) {
                             return desktop.param == Desktop::Dark ? std::string("Dark")
                                                                   : std::string("Light");
                         });

}  // namespace
}  // namespace quarn::designer
