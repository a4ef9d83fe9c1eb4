#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <vector>

#include "UpgradeDialog.h"
#include "exchange/ReleaseUpgrade.h"
#include "suite/HostSession.h"

class QMainWindow;

namespace quarn::designer {

class UndoSteps;

/// File > Upgrade to Release: the delivered groups, subsystems and account types brought to a
/// release of the suite (this program's own, or a release file the user picks) after a preview
/// of every item and every conflict with a customer or platform item (UpgradeDialog). The
/// upgrade is one transaction and one undo step: undo takes it back as a whole, redo plans and
/// writes it again; either is refused, writing nothing, when someone changed its items since.
class ReleaseActions : public QObject {
    Q_OBJECT

  public:
    ReleaseActions(suite::HostSession& session, QMainWindow* window, UndoSteps& undo);

    /// Previews the upgrade to this program's release, and to another release file when the
    /// user asks for one from the preview.
    void Upgrade();
    /// Previews the upgrade to the release in `path` and writes it when the user applies it.
    /// Returns whether it was written. A file that cannot be read or is no release is refused
    /// with its reason; nothing is written then.
    bool UpgradeTo(const QString& path);

  signals:
    /// An upgrade was written: the tree must be read again.
    void Upgraded();

  private:
    /// Asks for a release file; empty when the user cancelled.
    QString ChooseRelease() const;
    /// The customer groups orphans may be moved to, as the preview's chooser names them.
    std::vector<UpgradeDialog::GroupChoice> CustomerGroups() const;
    /// Pushes the upgrade written as `change` as one undo step.
    void RecordStep(const subsysmgr::exchange::UpgradePlan& plan, int64_t change);
    void Warn(const QString& message) const;

    suite::HostSession& session_;
    QMainWindow* window_;
    UndoSteps& undo_;
    /// The last preview was left for another release file.
    bool otherWanted_ = false;
};

}  // namespace quarn::designer
