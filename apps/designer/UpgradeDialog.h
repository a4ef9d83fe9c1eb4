#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "exchange/FieldText.h"
#include "exchange/ReleaseUpgrade.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace quarn::designer {

/// What an upgrade to a release would do, for the user to apply or not: each delivered item and
/// account type the release changes (added, changed field by field, moved, removed), and every
/// conflict with a customer or platform item, with both items named. Where a group the release
/// removes still holds subsystems, the user may choose a customer group to move them to; the
/// upgrade is then planned again. Upgrade is offered only for a plan without conflicts; for such
/// a plan the dialog also says what `check` would find after it. The dialog writes nothing
/// itself.
class UpgradeDialog : public QDialog {
    Q_OBJECT

  public:
    /// Plans the upgrade again for another orphan group; raises the store's ComError.
    using Planner = std::function<subsysmgr::exchange::UpgradePlan(std::optional<int32_t>)>;
    /// What `check` would find after a plan without conflicts; raises the store's ComError.
    using Checker = std::function<std::vector<subsysmgr::exchange::TreeFinding>(
        const subsysmgr::exchange::UpgradePlan&)>;
    /// A customer group to move orphans to: its code and how the editors name it.
    using GroupChoice = std::pair<int32_t, QString>;

    /// Names are shown in `language`, fields and values as `fields` words them.
    UpgradeDialog(subsysmgr::exchange::UpgradePlan plan, Planner planner, Checker checker,
                  const std::vector<GroupChoice>& customerGroups, std::string language,
                  const subsysmgr::exchange::FieldText& fields, QWidget* parent = nullptr);

    /// The plan as last made, with the orphan group chosen.
    const subsysmgr::exchange::UpgradePlan& Plan() const { return plan_; }
    /// Whether the dialog was left to choose another release file.
    bool OtherReleaseWanted() const { return otherRelease_; }

  private:
    QWidget* CreateOrphanTarget(const std::vector<GroupChoice>& customerGroups);
    /// The list, the counts and Upgrade as the plan says.
    void Fill();
    /// Below the items, what the check would find after the upgrade, and the line that says so.
    void FillCheckAfter();
    void ChooseOrphanTarget(int index);
    /// A conflict in words, naming the customer or platform item (`groupNames`: the customer
    /// groups by code, as the chooser names them).
    QString ConflictText(const subsysmgr::exchange::UpgradeConflict& conflict,
                         const std::map<int32_t, QString>& groupNames) const;

    subsysmgr::exchange::UpgradePlan plan_;
    Planner planner_;
    Checker checker_;
    std::string language_;
    const subsysmgr::exchange::FieldText& fields_;
    QLabel* header_;
    QLabel* counts_;
    QLabel* conflicts_;
    QComboBox* orphanTarget_ = nullptr;
    QTreeWidget* items_;
    QPushButton* upgrade_ = nullptr;
    bool otherRelease_ = false;
};

}  // namespace quarn::designer
