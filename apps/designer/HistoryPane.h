#pragma once

#include <QWidget>
#include <cstdint>
#include <optional>

#include "host/IChangeHistory.h"
#include "suite/HostSession.h"

class QLabel;
class QPushButton;
class QTreeWidget;

namespace quarn::designer {

/// The logged changes of the selected group or subsystem, newest first: each with its number,
/// time, who made it and what it did, and below it every field that changed, old -> new. The
/// selected change can be reverted. Reads the log only while the pane is shown.
class HistoryPane : public QWidget {
    Q_OBJECT

  public:
    HistoryPane(suite::HostSession& session, QWidget* parent = nullptr);

    /// The item whose history to show; none for anything else.
    void ShowItem(std::optional<TreeItemRef> item);
    /// Reads the history again (after a change of the item, the language or the database).
    void Refresh();
    void Retranslate();
    /// The number of the selected change, 0 when none is selected.
    int64_t SelectedChange() const;
    const std::optional<TreeItemRef>& Item() const { return item_; }

  signals:
    void RevertRequested(int64_t change);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void Fill();

    suite::HostSession& session_;
    std::optional<TreeItemRef> item_;
    bool stale_ = true;  // the list does not show item_'s history yet
    QLabel* empty_ = nullptr;
    QTreeWidget* changes_ = nullptr;
    QPushButton* revert_ = nullptr;
};

}  // namespace quarn::designer
