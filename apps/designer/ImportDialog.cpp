#include "ImportDialog.h"

#include <QColor>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <array>

#include "DesignerTexts.h"
#include "runtime/LocalText.h"
#include "runtime/ModuleState.h"
#include "ui/QtText.h"

namespace quarn::designer {

using subsysmgr::ToQString;
using subsysmgr::exchange::Exchange;
using subsysmgr::exchange::ImportedItem;
using subsysmgr::exchange::ImportOutcome;

namespace {

constexpr int kPositionRole = Qt::UserRole;

QString Tr(std::string_view text) {
    return ToQString(subsysmgr::GetLocalText(*subsysmgr::ModuleState::Current(), text));
}

QString OutcomeText(ImportOutcome outcome) {
    switch (outcome) {
        case ImportOutcome::Added:
            return Tr(texts::kAdded);
        case ImportOutcome::Updated:
            return Tr(texts::kChanged);
        case ImportOutcome::Unchanged:
            return Tr(texts::kUnchanged);
        case ImportOutcome::Refused:
            return Tr(texts::kRefused);
    }
    return {};
}

// A value as the file writes it: texts in quotes, lists as lists.
QString ValueText(const subsysmgr::exchange::Json& value) {
    return ToQString(
        value.dump(-1, ' ', false, subsysmgr::exchange::Json::error_handler_t::replace));
}

}  // namespace

ImportDialog::ImportDialog(const Exchange& exchange, const std::vector<ImportedItem>& preview,
                           const std::string& language, QWidget* parent)
    : QDialog(parent), items_(new QTreeWidget(this)) {
    setObjectName(QStringLiteral("importDialog"));
    setWindowTitle(Tr(texts::kImportTitle));
    items_->setObjectName(QStringLiteral("importItems"));
    items_->setColumnCount(3);
    items_->setHeaderLabels(
        {Tr(texts::kImportItem), Tr(texts::kImportOutcome), Tr(texts::kImportDetails)});
    items_->setUniformRowHeights(true);
    std::array<int, 4> counts{};
    for (std::size_t position = 0; position < preview.size(); ++position) {
        const ImportedItem& item = preview[position];
        const bool group = position < exchange.groups.size();
        const std::string& name =
            group ? exchange.groups[position].names.In(language)
                  : exchange.subSystems[position - exchange.groups.size()].names.In(language);
        auto* row = new QTreeWidgetItem(items_);
        row->setText(0, Tr(group ? texts::kGroupCaption : texts::kSubSystemCaption) +
                            QStringLiteral(" ") + QString::number(item.id) + QStringLiteral("  ") +
                            ToQString(name));
        row->setText(1, OutcomeText(item.outcome));
        row->setData(0, kPositionRole, static_cast<qulonglong>(position));
        ++counts[static_cast<std::size_t>(item.outcome)];
        if (item.outcome == ImportOutcome::Refused) {
            // Nothing to tick: the rules refuse it as it is. Still readable, with its reason.
            row->setFlags(row->flags() & ~Qt::ItemIsUserCheckable);
            row->setForeground(1, QColor(170, 0, 0));
            row->setText(2, item.error ? ToQString(item.error->Description()) : QString());
            row->setToolTip(2, row->text(2));
        } else {
            row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
            // What changes is ticked; an unchanged item would write nothing.
            row->setCheckState(
                0, item.outcome == ImportOutcome::Unchanged ? Qt::Unchecked : Qt::Checked);
        }
        for (const subsysmgr::exchange::FieldChange& change : item.changes) {
            auto* field = new QTreeWidgetItem(row);
            field->setText(0, ToQString(change.field));
            field->setText(
                2, ValueText(change.stored) + QStringLiteral(" -> ") + ValueText(change.imported));
        }
        row->setExpanded(item.outcome == ImportOutcome::Updated);
    }
    items_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    items_->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);

    auto* summary = new QLabel(Tr(texts::kImportCounts)
                                   .arg(counts[static_cast<std::size_t>(ImportOutcome::Added)])
                                   .arg(counts[static_cast<std::size_t>(ImportOutcome::Updated)])
                                   .arg(counts[static_cast<std::size_t>(ImportOutcome::Unchanged)])
                                   .arg(counts[static_cast<std::size_t>(ImportOutcome::Refused)]),
                               this);
    summary->setObjectName(QStringLiteral("importCounts"));
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* applyAll = buttons->addButton(Tr(texts::kApplyAll), QDialogButtonBox::AcceptRole);
    applyAll->setObjectName(QStringLiteral("applyAll"));
    applyChosen_ = buttons->addButton(Tr(texts::kApplyChosen), QDialogButtonBox::AcceptRole);
    applyChosen_->setObjectName(QStringLiteral("applyChosen"));
    QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
    cancel->setText(Tr(texts::kCancelImport));
    const bool any =
        counts[static_cast<std::size_t>(ImportOutcome::Refused)] < static_cast<int>(preview.size());
    applyAll->setEnabled(any);
    applyChosen_->setEnabled(any);
    connect(applyAll, &QPushButton::clicked, this, [this] { Accept(true); });
    connect(applyChosen_, &QPushButton::clicked, this, [this] { Accept(false); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    layout->addWidget(items_);
    layout->addWidget(buttons);
    resize(820, 520);
}

void ImportDialog::Accept(bool all) {
    chosen_.clear();
    for (int row = 0; row < items_->topLevelItemCount(); ++row) {
        const QTreeWidgetItem* item = items_->topLevelItem(row);
        if ((item->flags() & Qt::ItemIsUserCheckable) &&
            (all || item->checkState(0) == Qt::Checked)) {
            chosen_.push_back(static_cast<std::size_t>(item->data(0, kPositionRole).toULongLong()));
        }
    }
    accept();
}

Exchange ImportDialog::Selected(const Exchange& exchange,
                                const std::vector<std::size_t>& positions) {
    Exchange selected;
    for (const std::size_t position : positions) {
        if (position < exchange.groups.size()) {
            selected.groups.push_back(exchange.groups[position]);
        } else if (position - exchange.groups.size() < exchange.subSystems.size()) {
            selected.subSystems.push_back(exchange.subSystems[position - exchange.groups.size()]);
        }
    }
    return selected;
}

}  // namespace quarn::designer
