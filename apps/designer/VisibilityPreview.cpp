#include "VisibilityPreview.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QSignalBlocker>
#include <map>
#include <string>

#include "DesignerTexts.h"
#include "SessionText.h"
#include "foundation/Recordset.h"
#include "runtime/ModuleState.h"
#include "runtime/SessionContext.h"
#include "ui/QtText.h"

namespace quarn::designer {

using subsysmgr::Console;
using subsysmgr::ModuleState;
using subsysmgr::Viewer;

namespace {

QString ConsoleName(Console console) {
    return Tr(console == Console::Web ? texts::kWebConsole : texts::kMainConsole);
}

}  // namespace

VisibilityPreview::VisibilityPreview(QWidget* parent)
    : QObject(parent),
      chooser_(new QComboBox(parent)),
      menu_(new QMenu(parent)),
      entries_(new QActionGroup(this)),
      status_(new QLabel(parent)) {
    chooser_->setObjectName(QStringLiteral("previewChooser"));
    chooser_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    status_->setObjectName(QStringLiteral("previewStatus"));
    status_->setVisible(false);
    connect(chooser_, &QComboBox::activated, this, &VisibilityPreview::Choose);
}

void VisibilityPreview::Show(const std::optional<Viewer>& shown) {
    // The account types by number, with their descriptions in the session language.
    std::map<int32_t, QString> types;
    const RecordsetPtr rows = subsysmgr::GetAccountTypes(*ModuleState::Current());
    for (; rows && rows->State() != 0 && !rows->Eof(); rows->MoveNext()) {
        types[rows->Fields("FAcctType").ToInt32()] =
            subsysmgr::ToQString(rows->Fields("FDesc").TextOrEmpty());
    }
    if (shown && !types.contains(shown->accountType)) {
        types[shown->accountType] = QString::number(shown->accountType);
    }

    const QSignalBlocker quiet(chooser_);
    chooser_->clear();
    // Later: this may run inside the triggered signal of one of them.
    for (QAction* entry : menu_->actions()) {
        menu_->removeAction(entry);
        entries_->removeAction(entry);
        entry->deleteLater();
    }
    menu_->setTitle(Tr(texts::kPreviewMenu));
    choices_.assign(1, std::nullopt);
    QStringList labels{Tr(texts::kPreviewEverything)};
    for (const auto& [type, description] : types) {
        for (const Console console : {Console::Main, Console::Web}) {
            choices_.push_back(Viewer{type, console});
            labels << Tr(texts::kPreviewChoice).arg(description, ConsoleName(console));
        }
    }
    int current = 0;
    for (std::size_t n = 0; n < choices_.size(); ++n) {
        const auto& choice = choices_[n];
        if (shown && choice && choice->accountType == shown->accountType &&
            choice->console == shown->console) {
            current = static_cast<int>(n);
        }
        const int position = static_cast<int>(n);
        chooser_->addItem(labels[position]);
        QAction* entry = menu_->addAction(labels[position]);
        entry->setCheckable(true);
        entries_->addAction(entry);
        connect(entry, &QAction::triggered, this, [this, position] { Choose(position); });
        if (n == 0) {
            menu_->addSeparator();
        }
    }
    chooser_->setCurrentIndex(current);
    entries_->actions().at(current)->setChecked(true);
    chooser_->setToolTip(Tr(texts::kPreviewHint));
    status_->setVisible(shown.has_value());
    if (shown) {
        status_->setText(
            Tr(texts::kPreviewStatus).arg(types[shown->accountType], ConsoleName(shown->console)));
    }
}

std::optional<Viewer> VisibilityPreview::Chosen() const {
    const int current = chooser_->currentIndex();
    return current > 0 ? choices_[static_cast<std::size_t>(current)] : std::nullopt;
}

bool VisibilityPreview::Pick(const std::optional<Viewer>& viewer) {
    for (std::size_t n = 0; n < choices_.size(); ++n) {
        const auto& choice = choices_[n];
        if (choice.has_value() == viewer.has_value() &&
            (!viewer ||
             (choice->accountType == viewer->accountType && choice->console == viewer->console))) {
            Choose(static_cast<int>(n));
            return true;
        }
    }
    return false;
}

void VisibilityPreview::Choose(int position) {
    {
        const QSignalBlocker quiet(chooser_);
        chooser_->setCurrentIndex(position);
    }
    emit ViewerChosen();
}

}  // namespace quarn::designer
