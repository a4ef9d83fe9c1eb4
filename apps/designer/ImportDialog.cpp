#include "ImportDialog.h"

#include <QDialogButtonBox>
#include <QFont>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <array>

#include "DesignerTexts.h"
#include "SessionText.h"
#include "runtime/ModuleState.h"
#include "ui/QtText.h"

namespace quarn::designer {

using subsysmgr::ToQString;
using subsysmgr::exchange::Exchange;
using subsysmgr::exchange::ImportedItem;
using subsysmgr::exchange::ImportOutcome;

namespace {

constexpr int kPositionRole = Qt::UserRole;

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

// The row of the item at `position` of the file, named `name`, with the changes of its fields
// below it. A refused item cannot be ticked: the rules refuse it as it is; it stays readable,
// with its reason, its outcome in bold beside the style's error icon.
void AddRow(QTreeWidget& items, const subsysmgr::exchange::FieldText& fields, std::size_t position,
            const ImportedItem& item, bool group, const std::string& name) {
    auto* row = new QTreeWidgetItem(&items);
    row->setText(0, Tr(group ? texts::kGroupCaption : texts::kSubSystemCaption) +
                        QStringLiteral(" ") + QString::number(item.id) + QStringLiteral("  ") +
                        ToQString(name));
    row->setText(1, OutcomeText(item.outcome));
    row->setData(0, kPositionRole, static_cast<qulonglong>(position));
    if (item.outcome == ImportOutcome::Refused) {
        row->setFlags(row->flags() & ~Qt::ItemIsUserCheckable);
        QFont bold = items.font();
        bold.setBold(true);
        row->setFont(1, bold);
        row->setIcon(1, items.style()->standardIcon(QStyle::SP_MessageBoxCritical));
        row->setText(2, item.error ? ToQString(item.error->Description()) : QString());
        row->setToolTip(2, row->text(2));
    } else {
        row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
        // What changes is ticked; an unchanged item would write nothing.
        row->setCheckState(0,
                           item.outcome == ImportOutcome::Unchanged ? Qt::Unchecked : Qt::Checked);
    }
    const auto kind = group ? TreeItemRef::Kind::Group : TreeItemRef::Kind::SubSystem;
    for (const subsysmgr::exchange::FieldDifference& change : item.changes) {
        auto* field = new QTreeWidgetItem(row);
        field->setText(0, ToQString(fields.Caption(kind, change.key)));
        field->setText(2, ToQString(fields.Value(change.key, change.before)) +
                              QStringLiteral(" \u2192 ") +
                              ToQString(fields.Value(change.key, change.after)));
        field->setToolTip(2, field->text(2));
    }
    row->setExpanded(item.outcome == ImportOutcome::Updated);
}

}  // namespace

ImportDialog::ImportDialog(const Exchange& exchange, const std::vector<ImportedItem>& preview,
                           const std::string& language,
                           const subsysmgr::exchange::FieldText& fields, QWidget* parent)
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
        const bool group = position < exchange.groups.size();
        AddRow(*items_, fields, position, preview[position], group,
               group ? exchange.groups[position].names.In(language)
                     : exchange.subSystems[position - exchange.groups.size()].names.In(language));
        ++counts[static_cast<std::size_t>(preview[position].outcome)];
    }
    items_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    items_->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);

    const auto count = [&counts](ImportOutcome outcome) {
        return CountText(static_cast<qlonglong>(counts[static_cast<std::size_t>(outcome)]));
    };
    auto* summary =
        new QLabel(Tr(texts::kImportCounts)
                       .arg(count(ImportOutcome::Added), count(ImportOutcome::Updated),
                            count(ImportOutcome::Unchanged), count(ImportOutcome::Refused)),
                   this);
    summary->setObjectName(QStringLiteral("importCounts"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    layout->addWidget(items_);
    layout->addWidget(CreateButtons(counts[static_cast<std::size_t>(ImportOutcome::Refused)] <
                                    static_cast<int>(preview.size())));
    resize(820, 520);
}

QDialogButtonBox* ImportDialog::CreateButtons(bool applicable) {
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* applyAll = buttons->addButton(Tr(texts::kApplyAll), QDialogButtonBox::AcceptRole);
    applyAll->setObjectName(QStringLiteral("applyAll"));
    applyChosen_ = buttons->addButton(Tr(texts::kApplyChosen), QDialogButtonBox::AcceptRole);
    applyChosen_->setObjectName(QStringLiteral("applyChosen"));
    QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
    cancel->setText(Tr(texts::kCancelImport));
    applyAll->setEnabled(applicable);
    applyChosen_->setEnabled(applicable);
    connect(applyAll, &QPushButton::clicked, this, [this] { Accept(true); });
    connect(applyChosen_, &QPushButton::clicked, this, [this] { Accept(false); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    return buttons;
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
