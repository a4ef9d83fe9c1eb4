#include "TreeNarrowing.h"

#include <QLineEdit>
#include <QMainWindow>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTreeView>

#include "DesignerTexts.h"
#include "Guarded.h"
#include "LongWork.h"
#include "SessionText.h"
#include "VisibilityPreview.h"

namespace quarn::designer {

namespace {

// A search that matches more subsystems than this opens only the first groups, up to about as
// many rows; the rest stay closed.
constexpr int kOpenedMatches = 2000;

}  // namespace

TreeNarrowing::TreeNarrowing(QMainWindow& window, QTreeView& tree, FunctionalTreeModel& model,
                             QLineEdit& filter, VisibilityPreview& preview)
    : QObject(&window),
      window_(window),
      tree_(tree),
      model_(model),
      filter_(filter),
      preview_(preview) {
    connect(&filter_, &QLineEdit::textChanged, this, &TreeNarrowing::ApplyFilter);
    connect(&preview_, &VisibilityPreview::ViewerChosen, this, &TreeNarrowing::ApplyPreview);
}

void TreeNarrowing::Forget() {
    {
        const QSignalBlocker quiet(filter_);
        filter_.clear();
    }
    unfiltered_.reset();
}

void TreeNarrowing::ApplyFilter() {
    const bool wanted = !filter_.text().trimmed().isEmpty();
    if (!model_.Filtered() && !wanted) {
        return;
    }
    const OpenItems before = OpenItems::Of(tree_);
    if (!model_.Filtered()) {
        unfiltered_ = before;
    }
    const bool applied = ChangeShown(
        [this](const ProgressStep& step) { return model_.SetFilter(filter_.text(), step); });
    if (!applied) {
        const QSignalBlocker quiet(filter_);
        filter_.setText(model_.Filter());
        return;
    }
    if (model_.Filtered()) {
        ChooseMatch(before);
    } else {
        ReopenChosen(unfiltered_.value_or(OpenItems{}), before);
        unfiltered_.reset();
        window_.statusBar()->clearMessage();  // the count of a search that is gone
    }
    emit Changed(!model_.Filtered());
}

void TreeNarrowing::ChooseMatch(const OpenItems& before) {
    // Opened right after the reset, the view lays out all of them in one pass.
    int opened = 0;
    for (const QModelIndex& group : model_.GroupsWithMatches()) {
        if (opened > kOpenedMatches) {
            break;
        }
        tree_.expand(group);
        opened += model_.rowCount(group);
    }
    QModelIndex current = before.subSystem != 0
                              ? model_.SubSystemIndex(before.group, before.subSystem)
                              : model_.GroupIndex(before.group);
    if (!current.isValid() && model_.rowCount() > 0) {
        const QModelIndex group = model_.index(0, 0);
        current = group.data(kMatchRole).toBool() || model_.rowCount(group) == 0
                      ? group
                      : model_.index(0, 0, group);
    }
    if (current.isValid()) {
        tree_.setCurrentIndex(current);
    }
    window_.statusBar()->showMessage(Counted(texts::kFound, model_.MatchCount()));
}

void TreeNarrowing::ApplyPreview() {
    const std::optional<subsysmgr::Viewer> viewer = preview_.Chosen();
    const OpenItems before = OpenItems::Of(tree_);
    if (!model_.ShownTo()) {
        unpreviewed_ = before;
    }
    const bool applied =
        ChangeShown([&](const ProgressStep& step) { return model_.SetViewer(viewer, step); });
    if (applied) {
        ReopenChosen(viewer ? before : unpreviewed_.value_or(before), before);
        if (!viewer) {
            unpreviewed_.reset();
        }
    }
    Guarded([this] { preview_.Show(model_.ShownTo()); });
    if (applied) {
        emit Changed(false);
    }
}

bool TreeNarrowing::ChangeShown(const std::function<bool(const ProgressStep&)>& change) {
    LongWork work(&window_, Tr(texts::kSearching));
    bool applied = false;
    Guarded([&] {
        applied = change([&](int64_t done, int64_t total) { return work.Step(done, total); });
    });
    return applied;
}

void TreeNarrowing::ReopenChosen(OpenItems open, const OpenItems& before) {
    open.group = before.group;
    open.subSystem = before.subSystem;
    open.Reopen(tree_, model_);
    tree_.scrollTo(tree_.currentIndex());
}

}  // namespace quarn::designer
