#pragma once

#include <QIcon>
#include <string_view>

#include "TreeRows.h"

namespace quarn::designer {

/// The icons of the designer's actions and tree items. An action's icon comes from the desktop's
/// icon theme by its freedesktop name, so the designer looks like its neighbours; where the theme
/// has none, from the style's standard icons or from small drawings of our own. The tree's
/// subsystems and business-object kinds have no freedesktop name and always use our drawings.
/// The actions on a group and on a subsystem tell which by the tree's icon of the item, in small
/// on the action's icon (edit, delete, help), or with a plus on it for a new one. Only the normal
/// look is drawn: Qt makes the disabled one. Needs a QApplication; the icons are made once and
/// shared.
class DesignerIcons {
  public:
    enum class Action {
        NewDatabase,
        Open,
        Connect,
        Quit,
        NewGroup,
        NewSubSystem,
        EditGroup,
        EditSubSystem,
        DeleteGroup,
        DeleteSubSystem,
        /// The items selected, whatever they are.
        Delete,
        Refresh,
        Find,
        History,
        MoveUp,
        MoveDown,
        MoveToGroup,
        CopyCode,
        Undo,
        Redo,
        Import,
        Export,
        /// The delivered tree brought to a release.
        Upgrade,
        /// The help on the selected item.
        Help,
        GroupHelp,
        SubSystemHelp,
        Shortcuts,
        About,
    };

    static QIcon For(Action action);
    /// A tree item's icon. `objectKind` is the caption of a business-object kind (texts::kBills
    /// ...) for the kind's row and for the objects under it; unused for groups and subsystems.
    static QIcon For(ItemKind kind, std::string_view objectKind = {});
    /// The program's own icon, as installed for the desktop.
    static QIcon Application();
};

}  // namespace quarn::designer
