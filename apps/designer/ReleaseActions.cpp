#include "ReleaseActions.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QMessageBox>
#include <QStatusBar>
#include <memory>
#include <optional>
#include <utility>

#include "DesignerTexts.h"
#include "SessionText.h"
#include "UndoSteps.h"
#include "UpgradeDialog.h"
#include "WholeFile.h"
#include "exchange/ExchangeErrors.h"
#include "exchange/ExchangeText.h"
#include "exchange/ReleaseUpgrade.h"
#include "exchange/TreeReader.h"
#include "foundation/ComError.h"
#include "host/IReleaseStore.h"
#include "host/ProgIds.h"
#include "model/ChangeRevert.h"
#include "model/IdRanges.h"
#include "runtime/ErrorMessage.h"
#include "suite/DataPaths.h"
#include "ui/QtText.h"

namespace quarn::designer {

using subsysmgr::ToQString;
using subsysmgr::exchange::ExchangeText;
using subsysmgr::exchange::Release;
using subsysmgr::exchange::ReleaseUpgrade;
using subsysmgr::exchange::UpgradePlan;

namespace {

// An upgrade as written, for its undo step: what undo takes back, and what redo writes again.
struct WrittenUpgrade {
    Release release;
    std::optional<int32_t> moveOrphansTo;
    int64_t change = 0;
};

QString ErrorText(const ComError& error) {
    return ToQString(subsysmgr::ErrorMessage(*subsysmgr::ModuleState::Current(), error));
}

QString ShippedRelease() {
    return ToQString(suite::ShippedReleaseFile().string());
}

// The item the window shows after the upgrade and its undo: the first delivered group the
// release touches.
TreeItemRef FirstGroup(const UpgradePlan& plan) {
    for (const auto& item : plan.items) {
        if (item.kind == "group" &&
            item.outcome != subsysmgr::exchange::UpgradeOutcome::Unchanged) {
            return {TreeItemRef::Kind::Group, item.id};
        }
    }
    return {TreeItemRef::Kind::Group, 0};
}

}  // namespace

ReleaseActions::ReleaseActions(suite::HostSession& session, QMainWindow* window, UndoSteps& undo)
    : QObject(window), session_(session), window_(window), undo_(undo) {}

void ReleaseActions::Warn(const QString& message) const {
    QMessageBox::warning(window_, Tr(texts::kUpgradeTitle), message);
}

QString ReleaseActions::ChooseRelease() const {
    return QFileDialog::getOpenFileName(
        window_, Tr(texts::kUpgradeTitle), QFileInfo(ShippedRelease()).path(),
        Tr(texts::kReleaseFiles) + QStringLiteral(" (*.json);;* (*)"));
}

void ReleaseActions::Upgrade() {
    for (QString path = ShippedRelease(); !path.isEmpty();) {
        UpgradeTo(path);
        path = std::exchange(otherWanted_, false) ? ChooseRelease() : QString();
    }
}

std::vector<UpgradeDialog::GroupChoice> ReleaseActions::CustomerGroups() const {
    std::vector<UpgradeDialog::GroupChoice> groups;
    for (const auto& group : subsysmgr::exchange::TreeReader(session_.Module()).Groups()) {
        if (subsysmgr::ranges::kCustomerGroups.Contains(group.id)) {
            groups.emplace_back(group.id, QString::number(group.id) + QStringLiteral(" ") +
                                              ToQString(group.names.In(session_.Language())));
        }
    }
    return groups;
}

bool ReleaseActions::UpgradeTo(const QString& path) {
    // The upgrade and the dialog refer to the texts; both live until the upgrade is written.
    const ExchangeText text(session_.Registry(), session_.Language());
    Release release;
    try {
        release = subsysmgr::exchange::ReadRelease(ReadWholeFile(path, text),
                                                   QFileInfo(path).fileName().toStdString(), text);
    } catch (const ComError& error) {
        Warn(Tr(texts::kUpgradeUnreadable) + QStringLiteral("\n\n") + ErrorText(error));
        return false;
    }
    ReleaseUpgrade upgrade(session_.Module(), text);
    std::optional<UpgradePlan> plan;
    std::vector<UpgradeDialog::GroupChoice> customerGroups;
    try {
        plan = upgrade.Plan(release);
        customerGroups = CustomerGroups();
    } catch (const ComError& error) {
        Warn(Tr(texts::kUpgradeFailed) + QStringLiteral("\n\n") + ErrorText(error));
        return false;
    }
    if (plan->NothingToDo() && plan->Conflicts() == 0) {
        QMessageBox::information(window_, Tr(texts::kUpgradeTitle),
                                 Tr(texts::kUpgradeNothing).arg(ToQString(release.header.name)));
        return false;
    }
    const subsysmgr::exchange::FieldText fields(session_.Module(), text);
    UpgradeDialog dialog(
        std::move(*plan),
        [&](std::optional<int32_t> moveOrphansTo) { return upgrade.Plan(release, moveOrphansTo); },
        [&](const UpgradePlan& planned) { return upgrade.CheckAfter(planned); }, customerGroups,
        session_.Language(), fields, window_);
    if (dialog.exec() != QDialog::Accepted) {
        otherWanted_ = dialog.OtherReleaseWanted();
        return false;
    }
    window_->statusBar()->showMessage(Tr(texts::kUpgrading));
    QApplication::setOverrideCursor(Qt::WaitCursor);
    int64_t change = 0;
    try {
        change = upgrade.Apply(dialog.Plan());
    } catch (const ComError& error) {
        QApplication::restoreOverrideCursor();
        window_->statusBar()->clearMessage();
        if (error.Offset() == subsysmgr::exchange::errors::kUpgradeStale.offset) {
            // Someone wrote while the preview was open: the user sees the new preview.
            Warn(ErrorText(error));
            return UpgradeTo(path);
        }
        Warn(Tr(texts::kUpgradeFailed) + QStringLiteral("\n\n") + ErrorText(error));
        return false;
    }
    QApplication::restoreOverrideCursor();
    if (change > 0) {
        RecordStep(dialog.Plan(), change);
    }
    emit Upgraded();
    window_->statusBar()->showMessage(Tr(texts::kUpgraded).arg(ToQString(release.header.name)));
    return true;
}

void ReleaseActions::RecordStep(const UpgradePlan& plan, int64_t change) {
    auto written =
        std::make_shared<WrittenUpgrade>(WrittenUpgrade{plan.release, plan.moveOrphansTo, change});
    const auto module = session_.Module();
    undo_.PushWhole({texts::kStepUpgrade, ToQString(plan.release.header.name)}, FirstGroup(plan),
                    {[module, written] {
                         module->registry->Create<IReleaseStore>(progid::kReleaseStore)
                             ->RevertUpgrade(written->change, false,
                                             subsysmgr::ChangeRevert::Note(written->change, false));
                     },
                     [this, written] {
                         // Planned again: it is refused, writing nothing, when anything stands in
                         // its way now.
                         const ExchangeText text(session_.Registry(), session_.Language());
                         ReleaseUpgrade upgrade(session_.Module(), text);
                         written->change =
                             upgrade.Apply(upgrade.Plan(written->release, written->moveOrphansTo));
                     }});
}

}  // namespace quarn::designer
