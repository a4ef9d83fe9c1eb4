#pragma once

#include <QObject>
#include <functional>
#include <optional>

#include "FunctionalTreeModel.h"
#include "OpenItems.h"

class QLineEdit;
class QMainWindow;
class QTreeView;

namespace quarn::designer {

class VisibilityPreview;

/// What of the window's tree is shown: the filter box's search and the preview for one viewer,
/// each read with progress and Cancel. Each remembers what was open before it began, to open
/// that again when it ends; the item chosen stays chosen where it is shown, and a search chooses
/// its first match otherwise. A cancelled or failed change (its error shown) leaves the box and
/// the chooser showing what the tree shows.
class TreeNarrowing : public QObject {
    Q_OBJECT

  public:
    /// All of them outlive this object (its parent is `window`).
    TreeNarrowing(QMainWindow& window, QTreeView& tree, FunctionalTreeModel& model,
                  QLineEdit& filter, VisibilityPreview& preview);

    /// Empties the filter box without searching and forgets what was open before the search:
    /// the tree is read anew, unfiltered.
    void Forget();

  signals:
    /// The tree shows another part of the tree; `unfiltered`: the search ended.
    void Changed(bool unfiltered);

  private:
    void ApplyFilter();
    /// Chooses the item chosen `before` where it is shown, else the first match, with the
    /// groups of the matches opened.
    void ChooseMatch(const OpenItems& before);
    void ApplyPreview();
    /// Narrows or widens the tree by `change`; false when it was cancelled or failed.
    bool ChangeShown(const std::function<bool(const ProgressStep&)>& change);
    /// Opens `open` again with the item chosen in `before` chosen where it is shown, scrolled
    /// to it.
    void ReopenChosen(OpenItems open, const OpenItems& before);

    QMainWindow& window_;
    QTreeView& tree_;
    FunctionalTreeModel& model_;
    QLineEdit& filter_;
    VisibilityPreview& preview_;
    std::optional<OpenItems> unfiltered_;   // what was open before the search
    std::optional<OpenItems> unpreviewed_;  // what was open before the preview
};

}  // namespace quarn::designer
