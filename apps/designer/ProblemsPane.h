#pragma once

#include <QDockWidget>
#include <cstdint>

#include "suite/HostSession.h"

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace quarn::designer {

/// View > Problems: every stored group and subsystem that breaks a rule of the editors or the
/// store, and the change log's lost protections or broken seals, as `subsysmgr check` finds
/// them: the item, the rule, the editors' message and what to do. Enter or a double click on an
/// item's line selects the item in the tree. Reads the database only while the pane is shown.
/// A reload checks again only when the last check was quick: on a large tree that would cost
/// every live refresh a whole check, so the pane says its list may be out of date instead, and
/// Check Again runs it.
class ProblemsPane : public QDockWidget {
    Q_OBJECT

  public:
    ProblemsPane(suite::HostSession& session, QWidget* parent = nullptr);

    /// The tree was read again: checks it again when the last check was quick, otherwise says
    /// the list may be out of date.
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
    qint64 lastCheckMs_ = 0;
    QString found_;  // what the last check found, in words
    QLabel* summary_ = nullptr;
    QPushButton* checkAgain_ = nullptr;
    QTreeWidget* findings_ = nullptr;
};

}  // namespace quarn::designer
