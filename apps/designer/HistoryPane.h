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
/// time, who made it (as the database knows: its user, on SQLite the OS user, or another
/// program) and what it came through, what it did, and below it every field that changed,
/// old -> new. The selected change can be reverted, and the seals of the whole log checked.
/// Reads the log only while the pane is shown.
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
    /// Checks the seal of every logged change and says what it found below the list.
    void VerifySeals();

    suite::HostSession& session_;
    std::optional<TreeItemRef> item_;
    bool stale_ = true;  // the list does not show item_'s history yet
    QLabel* empty_ = nullptr;
    QTreeWidget* changes_ = nullptr;
    QPushButton* revert_ = nullptr;
    QPushButton* verify_ = nullptr;
    QLabel* seals_ = nullptr;
};

}  // namespace quarn::designer
