#pragma once

#include <QDockWidget>
#include <cstdint>

#include "suite/HostSession.h"

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace quarn::designer {

/// View > Problems: every stored group and subsystem that breaks a rule of the editors or the
/// store, and the change log's lost protections or broken seals, as `subsysmgr check` finds
/// them: the item, the rule, the editors' message and what to do. Enter or a double click on an
/// item's line selects the item in the tree. Reads the database only while the pane is shown.
class ProblemsPane : public QDockWidget {
    Q_OBJECT

  public:
    ProblemsPane(suite::HostSession& session, QWidget* parent = nullptr);

    /// Checks the tree again (after a reload: the window reloads when the language or the
    /// database changes).
    void Refresh();
    void Retranslate();

  signals:
    /// A line of a group (subSystemId 0) or a subsystem was chosen.
    void ItemChosen(int32_t groupId, int32_t subSystemId);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void Fill();
    void Choose(QTreeWidgetItem* line);

    suite::HostSession& session_;
    bool stale_ = true;  // the list does not show the database's findings yet
    QLabel* summary_ = nullptr;
    QTreeWidget* findings_ = nullptr;
};

}  // namespace quarn::designer
