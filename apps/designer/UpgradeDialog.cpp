#include "UpgradeDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFont>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <map>

#include "DesignerTexts.h"
#include "SessionText.h"
#include "foundation/ComError.h"
#include "runtime/ErrorMessage.h"
#include "runtime/ModuleState.h"
#include "ui/QtText.h"

namespace quarn::designer {

using subsysmgr::ToQString;
using subsysmgr::exchange::ConflictKind;
using subsysmgr::exchange::UpgradeConflict;
using subsysmgr::exchange::UpgradeItem;
using subsysmgr::exchange::UpgradeOutcome;
using subsysmgr::exchange::UpgradePlan;

namespace {

constexpr UpgradeOutcome kOutcomes[] = {UpgradeOutcome::Added, UpgradeOutcome::Changed,
                                        UpgradeOutcome::Moved, UpgradeOutcome::Removed,
                                        UpgradeOutcome::Unchanged};

QString OutcomeText(UpgradeOutcome outcome) {
    switch (outcome) {
        case UpgradeOutcome::Added:
            return Tr(texts::kAdded);
        case UpgradeOutcome::Changed:
            return Tr(texts::kChanged);
        case UpgradeOutcome::Moved:
            return Tr(texts::kMovedOutcome);
        case UpgradeOutcome::Removed:
            return Tr(texts::kRemoved);
        case UpgradeOutcome::Unchanged:
            break;
    }
    return Tr(texts::kUnchanged);
}

QString KindCaption(std::string_view kind) {
    return Tr(kind == "group"       ? texts::kGroupCaption
              : kind == "subsystem" ? texts::kSubSystemCaption
                                    : texts::kAccountTypeItem);
}

// "Subsystem 8001 Dealer Portal": an item as the editors name it.
QString Named(const QString& caption, int32_t id, const std::string& name) {
    return caption + QStringLiteral(" ") + QString::number(id) + QStringLiteral(" ") +
           ToQString(name);
}

// A line's first column in bold beside the style's error icon: what refuses the upgrade.
void MarkRefusing(QTreeWidgetItem& row, int column) {
    QFont bold = row.treeWidget()->font();
    bold.setBold(true);
    row.setFont(column, bold);
    row.setIcon(column, row.treeWidget()->style()->standardIcon(QStyle::SP_MessageBoxCritical));
}

}  // namespace

UpgradeDialog::UpgradeDialog(UpgradePlan plan, Planner planner, Checker checker,
                             const std::vector<GroupChoice>& customerGroups, std::string language,
                             const subsysmgr::exchange::FieldText& fields, QWidget* parent)
    : QDialog(parent),
      plan_(std::move(plan)),
      planner_(std::move(planner)),
      checker_(std::move(checker)),
      language_(std::move(language)),
      fields_(fields),
      header_(new QLabel(this)),
      counts_(new QLabel(this)),
      conflicts_(new QLabel(this)),
      items_(new QTreeWidget(this)) {
    setObjectName(QStringLiteral("upgradeDialog"));
    setWindowTitle(Tr(texts::kUpgradeTitle));
    const auto& release = plan_.release.header;
    header_->setText(
        plan_.from
            ? Tr(texts::kUpgradeOver)
                  .arg(ToQString(release.name), ToQString(release.date),
                       ToQString(plan_.from->name), ToQString(plan_.from->date))
            : Tr(texts::kUpgradeOverNone).arg(ToQString(release.name), ToQString(release.date)));
    counts_->setObjectName(QStringLiteral("upgradeCounts"));
    conflicts_->setObjectName(QStringLiteral("upgradeConflicts"));
    conflicts_->setWordWrap(true);
    items_->setObjectName(QStringLiteral("upgradeItems"));
    items_->setAccessibleName(Tr(texts::kUpgradeTitle));
    items_->setColumnCount(3);
    items_->setHeaderLabels(
        {Tr(texts::kImportItem), Tr(texts::kImportOutcome), Tr(texts::kImportDetails)});
    items_->setUniformRowHeights(true);
    items_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    items_->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);

    auto* buttons = new QDialogButtonBox(this);
    upgrade_ = buttons->addButton(Tr(texts::kApplyUpgrade), QDialogButtonBox::AcceptRole);
    upgrade_->setObjectName(QStringLiteral("applyUpgrade"));
    QPushButton* other = buttons->addButton(Tr(texts::kOtherRelease), QDialogButtonBox::ResetRole);
    other->setObjectName(QStringLiteral("otherRelease"));
    QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
    cancel->setText(Tr(texts::kCancelImport));
    connect(upgrade_, &QPushButton::clicked, this, &QDialog::accept);
    connect(other, &QPushButton::clicked, this, [this] {
        otherRelease_ = true;
        reject();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(header_);
    layout->addWidget(counts_);
    layout->addWidget(conflicts_);
    if (QWidget* target = CreateOrphanTarget(customerGroups)) {
        layout->addWidget(target);
    }
    layout->addWidget(items_);
    layout->addWidget(buttons);
    Fill();
    resize(940, 560);
}

QWidget* UpgradeDialog::CreateOrphanTarget(const std::vector<GroupChoice>& customerGroups) {
    const bool orphans = std::ranges::any_of(plan_.items, [](const UpgradeItem& item) {
        return std::ranges::any_of(item.conflicts, [](const UpgradeConflict& conflict) {
            return conflict.kind == ConflictKind::Orphan;
        });
    });
    if (!orphans) {
        return nullptr;
    }
    auto* row = new QWidget(this);
    auto* label = new QLabel(Tr(texts::kOrphanTarget), row);
    orphanTarget_ = new QComboBox(row);
    orphanTarget_->setObjectName(QStringLiteral("orphanTarget"));
    orphanTarget_->addItem(Tr(texts::kNoOrphanTarget));
    for (const auto& [id, name] : customerGroups) {
        orphanTarget_->addItem(name, id);
        if (plan_.moveOrphansTo == id) {
            orphanTarget_->setCurrentIndex(orphanTarget_->count() - 1);
        }
    }
    label->setBuddy(orphanTarget_);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label);
    layout->addWidget(orphanTarget_, 1);
    connect(orphanTarget_, &QComboBox::activated, this, &UpgradeDialog::ChooseOrphanTarget);
    return row;
}

void UpgradeDialog::ChooseOrphanTarget(int index) {
    const QVariant id = orphanTarget_->itemData(index);
    try {
        plan_ = planner_(id.isValid() ? std::optional<int32_t>(id.toInt()) : std::nullopt);
    } catch (const ComError& error) {
        subsysmgr::ShowError(*subsysmgr::ModuleState::Current(), error);
        return;
    }
    Fill();
}

void UpgradeDialog::Fill() {
    items_->clear();
    std::map<UpgradeOutcome, qlonglong> counts;
    std::map<int32_t, QString> groupNames;
    if (orphanTarget_) {
        for (int index = 1; index < orphanTarget_->count(); ++index) {
            groupNames[orphanTarget_->itemData(index).toInt()] = orphanTarget_->itemText(index);
        }
    }
    for (const UpgradeItem& item : plan_.items) {
        ++counts[item.outcome];
        if (item.outcome == UpgradeOutcome::Unchanged && item.conflicts.empty()) {
            continue;
        }
        auto* row = new QTreeWidgetItem(items_);
        row->setText(0, Named(KindCaption(item.kind), item.id, item.names.In(language_)));
        row->setText(1, OutcomeText(item.outcome));
        const auto kind =
            item.kind == "subsystem" ? TreeItemRef::Kind::SubSystem : TreeItemRef::Kind::Group;
        for (const subsysmgr::exchange::FieldDifference& change : item.changes) {
            auto* field = new QTreeWidgetItem(row);
            field->setText(
                0, ToQString(item.kind == "accountType" ? fields_.RecordCaption(change.key)
                                                        : fields_.Caption(kind, change.key)));
            field->setText(2, ToQString(fields_.Value(change.key, change.before)) +
                                  QStringLiteral(" \u2192 ") +
                                  ToQString(fields_.Value(change.key, change.after)));
            field->setToolTip(2, field->text(2));
        }
        for (const UpgradeConflict& conflict : item.conflicts) {
            auto* line = new QTreeWidgetItem(row);
            line->setText(0, conflict.Resolved() ? Tr(texts::kMovedOutcome) : Tr(texts::kConflict));
            line->setText(2, ConflictText(conflict, groupNames));
            line->setToolTip(2, line->text(2));
            if (!conflict.Resolved()) {
                MarkRefusing(*line, 0);
                MarkRefusing(*row, 1);
            }
        }
        row->setExpanded(true);
    }
    const auto count = [&counts](UpgradeOutcome outcome) { return CountText(counts[outcome]); };
    counts_->setText(Tr(texts::kUpgradeCounts)
                         .arg(count(UpgradeOutcome::Added), count(UpgradeOutcome::Changed),
                              count(UpgradeOutcome::Moved), count(UpgradeOutcome::Removed),
                              count(UpgradeOutcome::Unchanged)));
    const auto conflicts = static_cast<qlonglong>(plan_.Conflicts());
    conflicts_->setText(conflicts > 0 ? Counted(texts::kUpgradeConflicts, conflicts) : QString());
    if (conflicts == 0 && !plan_.NothingToDo()) {
        FillCheckAfter();
    }
    conflicts_->setVisible(!conflicts_->text().isEmpty());
    upgrade_->setEnabled(conflicts == 0 && !plan_.NothingToDo());
    upgrade_->setDefault(upgrade_->isEnabled());
    items_->setAccessibleDescription(counts_->text() + QStringLiteral(" ") + conflicts_->text());
}

void UpgradeDialog::FillCheckAfter() {
    std::vector<subsysmgr::exchange::TreeFinding> findings;
    // The upgrade is written and rolled back to be checked: seconds on a large tree.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        findings = checker_(plan_);
        QApplication::restoreOverrideCursor();
    } catch (const ComError& error) {
        QApplication::restoreOverrideCursor();
        conflicts_->setText(
            ToQString(subsysmgr::ErrorMessage(*subsysmgr::ModuleState::Current(), error)));
        return;
    }
    conflicts_->setText(findings.empty()
                            ? Tr(texts::kCheckAfterNone)
                            : Counted(texts::kCheckAfter, static_cast<qlonglong>(findings.size())));
    if (findings.empty()) {
        return;
    }
    auto* after = new QTreeWidgetItem(items_, {Tr(texts::kCheckAfterItem)});
    for (const auto& finding : findings) {
        auto* line = new QTreeWidgetItem(
            after,
            {ToQString(finding.item), ToQString(*finding.ruleText), ToQString(*finding.message)});
        line->setToolTip(2, line->text(2));
    }
    after->setExpanded(true);
}

QString UpgradeDialog::ConflictText(const UpgradeConflict& conflict,
                                    const std::map<int32_t, QString>& groupNames) const {
    const QString other =
        conflict.other
            ? Named(Tr(conflict.other->kind == TreeItemRef::Kind::Group ? texts::kGroupCaption
                                                                        : texts::kSubSystemCaption),
                    conflict.other->id, conflict.otherNames.In(language_))
            : QString();
    switch (conflict.kind) {
        case ConflictKind::Orphan: {
            if (!conflict.movedTo) {
                return Tr(texts::kConflictOrphan).arg(other);
            }
            const auto group = groupNames.find(*conflict.movedTo);
            return Tr(texts::kConflictOrphanMoved)
                .arg(other, group != groupNames.end() ? group->second
                                                      : QString::number(*conflict.movedTo));
        }
        case ConflictKind::NameTaken:
            return Tr(texts::kConflictNameTaken)
                .arg(other, ToQString(fields_.Caption(TreeItemRef::Kind::Group,
                                                      "names." + conflict.language)));
        case ConflictKind::StillUsed:
            return Counted(texts::kConflictStillUsed, static_cast<qlonglong>(conflict.uses));
        case ConflictKind::AccountTypeInUse:
            break;
    }
    return Tr(texts::kConflictAccountType).arg(other);
}

}  // namespace quarn::designer
