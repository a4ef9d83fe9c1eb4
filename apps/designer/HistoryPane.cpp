#include "HistoryPane.h"

#include <QApplication>
#include <QDateTime>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <string_view>

#include "DesignerTexts.h"
#include "SessionText.h"
#include "exchange/ExchangeText.h"
#include "exchange/FieldText.h"
#include "exchange/ItemFields.h"
#include "exchange/ReleaseUpgrade.h"
#include "foundation/ComError.h"
#include "host/ProgIds.h"
#include "model/ChangeRevert.h"
#include "model/SealReport.h"
#include "runtime/ModuleState.h"
#include "ui/QtText.h"

namespace quarn::designer {

using subsysmgr::ToQString;

namespace {

constexpr int kNumberRole = Qt::UserRole;

// A logged UTC time as the session's locale writes a local time.
QString LocalTime(const std::string& loggedUtc) {
    QDateTime time = QDateTime::fromString(ToQString(loggedUtc), Qt::ISODateWithMs);
    if (!time.isValid()) {
        return ToQString(loggedUtc);
    }
    return SessionLocale().toString(time.toLocalTime(), QLocale::ShortFormat);
}

std::string_view OperationText(ItemChange::Operation operation) {
    switch (operation) {
        case ItemChange::Operation::Added:
            return texts::kAdded;
        case ItemChange::Operation::Deleted:
            return texts::kRemoved;
        case ItemChange::Operation::Changed:
            break;
    }
    return texts::kChanged;
}

// Who made the change, as the database knows it, and what it came through, as the client says.
QString WhoAndVia(const ItemChange& change) {
    const QString who = change.otherProgram           ? Tr(texts::kAnotherProgram)
                        : change.databaseUser.empty() ? QStringLiteral("-")
                                                      : ToQString(change.databaseUser);
    return change.client.empty() ? who : Tr(texts::kWhoVia).arg(who, ToQString(change.client));
}

}  // namespace

HistoryPane::HistoryPane(suite::HostSession& session, QWidget* parent)
    : QWidget(parent), session_(session) {
    empty_ = new QLabel(this);
    empty_->setWordWrap(true);
    changes_ = new QTreeWidget(this);
    changes_->setObjectName(QStringLiteral("changes"));
    changes_->setColumnCount(4);
    changes_->setRootIsDecorated(false);
    changes_->header()->setStretchLastSection(true);
    revert_ = new QPushButton(this);
    revert_->setObjectName(QStringLiteral("revert"));
    revert_->setEnabled(false);
    verify_ = new QPushButton(this);
    verify_->setObjectName(QStringLiteral("verifySeals"));
    seals_ = new QLabel(this);
    seals_->setObjectName(QStringLiteral("seals"));
    seals_->setWordWrap(true);
    seals_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(verify_);
    buttons->addStretch(1);
    buttons->addWidget(revert_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(empty_);
    layout->addWidget(changes_, 1);
    layout->addWidget(seals_);
    layout->addLayout(buttons);
    connect(verify_, &QPushButton::clicked, this, &HistoryPane::VerifySeals);
    connect(changes_, &QTreeWidget::currentItemChanged, this,
            [this] { revert_->setEnabled(SelectedChange() != 0); });
    connect(revert_, &QPushButton::clicked, this, [this] {
        if (SelectedChange() != 0) {
            emit RevertRequested(SelectedChange());
        }
    });
    Retranslate();
}

void HistoryPane::Retranslate() {
    changes_->setHeaderLabels({Tr(texts::kChangeColumn), Tr(texts::kTimeColumn),
                               Tr(texts::kWhoColumn), Tr(texts::kWhatColumn)});
    changes_->setAccessibleName(Tr(texts::kHistoryTab));
    revert_->setText(Tr(texts::kRevert));
    verify_->setText(Tr(texts::kVerifySeals));
    seals_->clear();
    Refresh();
}

void HistoryPane::ShowItem(std::optional<TreeItemRef> item) {
    if (item == item_ && !stale_) {
        return;
    }
    item_ = item;
    Refresh();
}

void HistoryPane::Refresh() {
    stale_ = true;
    if (isVisible()) {
        Fill();
    }
}

void HistoryPane::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (stale_) {
        Fill();
    }
}

int64_t HistoryPane::SelectedChange() const {
    const QTreeWidgetItem* current = changes_->currentItem();
    while (current && current->parent()) {
        current = current->parent();
    }
    return current ? current->data(0, kNumberRole).toLongLong() : 0;
}

void HistoryPane::Fill() {
    stale_ = false;
    changes_->clear();
    revert_->setEnabled(false);
    empty_->clear();
    if (!item_) {
        empty_->setText(Tr(texts::kSelectHint));
        return;
    }
    std::vector<ItemChange> changes;
    try {
        const auto history = session_.Registry().Create<IChangeHistory>(progid::kChangeHistory);
        changes = history->Changes(session_.Context(), item_);
    } catch (const ComError& error) {
        empty_->setText(ToQString(error.Description()));
        return;
    }
    if (changes.empty()) {
        empty_->setText(Tr(texts::kNoChanges));
        return;
    }
    const std::string language = session_.Language();
    const subsysmgr::exchange::ExchangeText text(session_.Registry(), language);
    const subsysmgr::exchange::FieldText fields(session_.Module(), text);
    for (const ItemChange& change : changes) {
        const QString who = WhoAndVia(change);
        QString what = Tr(OperationText(change.operation));
        if (const auto revert = subsysmgr::ChangeRevert::ReadNote(change.note)) {
            what += QStringLiteral(" (") +
                    Tr(revert->forced ? texts::kForcedRevertNote : texts::kRevertNote)
                        .arg(revert->change) +
                    u')';
        } else if (const auto release =
                       subsysmgr::exchange::ReleaseUpgrade::ReleaseNoted(change.note)) {
            what += QStringLiteral(" (") + Tr(texts::kStepUpgrade).arg(ToQString(*release)) + u')';
        } else if (!change.note.empty()) {
            what += QStringLiteral(" (") + ToQString(change.note) + u')';
        }
        auto* row = new QTreeWidgetItem(
            changes_, {QString::number(change.number), LocalTime(change.time), who, what});
        row->setData(0, kNumberRole, static_cast<qlonglong>(change.number));
        row->setToolTip(1, ToQString(change.time));  // the logged UTC time
        row->setToolTip(2, who);
        row->setToolTip(3, what);
        for (const subsysmgr::exchange::FieldDifference& field :
             subsysmgr::exchange::LoggedFields(change)) {
            auto* line = new QTreeWidgetItem(
                row, {QStringLiteral("%1: %2 \u2192 %3")
                          .arg(ToQString(fields.Caption(change.item.kind, field.key)),
                               ToQString(fields.Value(field.key, field.before)),
                               ToQString(fields.Value(field.key, field.after)))});
            line->setFirstColumnSpanned(true);
            line->setToolTip(0, line->text(0));
        }
        row->setExpanded(true);
    }
    for (int column = 0; column < 3; ++column) {
        changes_->resizeColumnToContents(column);
    }
}

void HistoryPane::VerifySeals() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString text;
    try {
        const auto history = session_.Registry().Create<IChangeHistory>(progid::kChangeHistory);
        const SealCheck check = history->VerifySeals(session_.Context());
        const subsysmgr::SealReport report =
            subsysmgr::DescribeSealCheck(*subsysmgr::ModuleState::Current(), check);
        text = ToQString(report.finding);
        if (!report.awaiting.empty()) {
            text += u' ' + ToQString(report.awaiting);
        }
        text += u' ' + ToQString(report.limit);
    } catch (const ComError& error) {
        text = ToQString(error.Description());
    }
    QApplication::restoreOverrideCursor();
    seals_->setText(text);
    seals_->setAccessibleName(text);
}

}  // namespace quarn::designer
