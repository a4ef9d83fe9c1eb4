#pragma once

#include <QObject>
#include <optional>
#include <vector>

#include "model/Visibility.h"

class QActionGroup;
class QComboBox;
class QLabel;
class QMenu;
class QWidget;

namespace quarn::designer {

/// The choice of whom the tree is previewed for: everything (no preview), or a user of one of
/// the session's account types in the main or the web console. Offered twice, as a combo box for
/// the toolbar and as checkable entries of a menu, which always show the same choice; a label for
/// the status bar says for whom while a preview is on. The widgets belong to `parent`.
class VisibilityPreview : public QObject {
    Q_OBJECT

  public:
    explicit VisibilityPreview(QWidget* parent);

    QComboBox* Chooser() const { return chooser_; }
    QMenu* Menu() const { return menu_; }
    QLabel* StatusLabel() const { return status_; }

    /// Lists the session's account types (as the editors list them) in the session language
    /// and shows `shown` as chosen; a viewer whose account type is no longer offered is listed
    /// still, by its number. Raises ComError when the account types cannot be read.
    void Show(const std::optional<subsysmgr::Viewer>& shown);
    /// The viewer chosen; none for everything.
    std::optional<subsysmgr::Viewer> Chosen() const;
    /// Chooses `viewer` as the user would; false when it is not offered.
    bool Pick(const std::optional<subsysmgr::Viewer>& viewer);

  signals:
    /// The user chose another viewer (or everything).
    void ViewerChosen();

  private:
    void Choose(int position);

    std::vector<std::optional<subsysmgr::Viewer>> choices_;
    QComboBox* chooser_;
    QMenu* menu_;
    QActionGroup* entries_;
    QLabel* status_;
};

}  // namespace quarn::designer
