#include "DesignerIcons.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <algorithm>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>

#include "DesignerTexts.h"

// The resources of a static library are registered by name, outside any namespace.
static void RegisterIconResources() {
    Q_INIT_RESOURCE(DesignerIcons);
}

namespace quarn::designer {

namespace {

// Where an icon comes from when the theme has no icon of that name: a standard icon of the
// style, or one of our drawings when `drawing` is given. An action on a group or a subsystem
// shows the `item`'s icon on it.
struct Source {
    const char* themeName;
    QStyle::StandardPixmap standard;
    const char* drawing = nullptr;
    std::optional<ItemKind> item = std::nullopt;
};

// Our drawings are carried as pictures of a few sizes (scripts/render-icons makes them from the
// SVG files beside them), so that no SVG plugin of Qt is needed to show them.
QIcon Drawing(const char* name, std::initializer_list<int> sizes = {16, 32, 64}) {
    static const bool registered = (RegisterIconResources(), true);
    (void)registered;
    QIcon icon;
    for (const int size : sizes) {
        icon.addFile(QStringLiteral(":/icons/png/%1-%2.png").arg(QLatin1String(name)).arg(size),
                     QSize(size, size));
    }
    return icon;
}

// `base` with `badge` small in its lower right corner, cut out of the base with a margin of
// transparency so that the two read apart on light and dark backgrounds alike.
QIcon WithBadge(const QIcon& base, const QIcon& badge) {
    QIcon composed;
    for (const int size : {16, 24, 32, 48, 64}) {
        QPixmap picture(size, size);
        picture.fill(Qt::transparent);
        const int side = (size * 9 + 8) / 16;
        const QRect corner(size - side, size - side, side, side);
        const QPixmap small = badge.pixmap(corner.size(), 1.0);
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(picture.rect(), base.pixmap(picture.size(), 1.0));
        painter.setCompositionMode(QPainter::CompositionMode_DestinationOut);
        const int margin = std::max(1, size / 16);
        for (int dx = -margin; dx <= margin; ++dx) {
            for (int dy = -margin; dy <= margin; ++dy) {
                painter.drawPixmap(corner.translated(dx, dy), small);
            }
        }
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.drawPixmap(corner, small);
        painter.end();
        composed.addPixmap(picture);
    }
    return composed;
}

QIcon Load(const Source& source) {
    QIcon fallback = source.drawing ? Drawing(source.drawing)
                                    : QApplication::style()->standardIcon(source.standard);
    const QIcon icon = QIcon::fromTheme(QLatin1String(source.themeName), fallback);
    return source.item ? WithBadge(icon, DesignerIcons::For(*source.item)) : icon;
}

Source SourceOf(DesignerIcons::Action action) {
    using Action = DesignerIcons::Action;
    switch (action) {
        case Action::NewDatabase:
            return {"document-new", QStyle::SP_FileIcon, "new"};
        case Action::Open:
            return {"document-open", QStyle::SP_DialogOpenButton};
        case Action::Connect:
            return {"network-server", QStyle::SP_DriveNetIcon};
        case Action::Quit:
            return {"application-exit", QStyle::SP_DialogCloseButton, "quit"};
        case Action::NewGroup:
            return {"list-add", QStyle::SP_FileDialogNewFolder, "add", ItemKind::Group};
        case Action::NewSubSystem:
            return {"list-add", QStyle::SP_FileDialogNewFolder, "add", ItemKind::SubSystem};
        case Action::EditGroup:
            return {"document-properties", QStyle::SP_FileDialogDetailedView, "edit",
                    ItemKind::Group};
        case Action::EditSubSystem:
            return {"document-properties", QStyle::SP_FileDialogDetailedView, "edit",
                    ItemKind::SubSystem};
        case Action::DeleteGroup:
            return {"edit-delete", QStyle::SP_TrashIcon, "delete", ItemKind::Group};
        case Action::DeleteSubSystem:
            return {"edit-delete", QStyle::SP_TrashIcon, "delete", ItemKind::SubSystem};
        case Action::Delete:
            return {"edit-delete", QStyle::SP_TrashIcon, "delete"};
        case Action::Refresh:
            return {"view-refresh", QStyle::SP_BrowserReload};
        case Action::Find:
            return {"edit-find", QStyle::SP_FileDialogContentsView, "find"};
        case Action::History:
            return {"document-open-recent", QStyle::SP_FileDialogInfoView, "history"};
        case Action::MoveUp:
            return {"go-up", QStyle::SP_ArrowUp};
        case Action::MoveDown:
            return {"go-down", QStyle::SP_ArrowDown};
        case Action::MoveToGroup:
            return {"go-jump", QStyle::SP_ArrowRight, nullptr, ItemKind::Group};
        case Action::CopyCode:
            return {"edit-copy", QStyle::SP_FileLinkIcon, "copy"};
        case Action::Undo:
            return {"edit-undo", QStyle::SP_ArrowBack};
        case Action::Redo:
            return {"edit-redo", QStyle::SP_ArrowForward};
        case Action::Import:
            return {"document-import", QStyle::SP_ArrowDown, "import"};
        case Action::Export:
            return {"document-export", QStyle::SP_ArrowUp, "export"};
        case Action::Upgrade:
            return {"system-software-update", QStyle::SP_ArrowUp, "upgrade"};
        case Action::Help:
            return {"help-contents", QStyle::SP_DialogHelpButton, "help"};
        case Action::GroupHelp:
            return {"help-contents", QStyle::SP_DialogHelpButton, "help", ItemKind::Group};
        case Action::SubSystemHelp:
            return {"help-contents", QStyle::SP_DialogHelpButton, "help", ItemKind::SubSystem};
        case Action::Shortcuts:
            return {"preferences-desktop-keyboard", QStyle::SP_DialogHelpButton, "keyboard"};
        case Action::About:
            return {"help-about", QStyle::SP_MessageBoxInformation};
    }
    return {"", QStyle::SP_CustomBase};
}

// The drawing of a business-object kind, by the caption the tree shows for it.
const char* ObjectKindDrawing(std::string_view caption) {
    static const std::map<std::string_view, const char*> drawings{
        {texts::kBaseTypes, "base-data"},     {texts::kBills, "bill"},
        {texts::kMultiChecks, "multi-check"}, {texts::kWorkFlows, "work-flow"},
        {texts::kReports, "report"},
    };
    const auto found = drawings.find(caption);
    return found != drawings.end() ? found->second : "bill";
}

}  // namespace

QIcon DesignerIcons::For(Action action) {
    static std::map<Action, QIcon> made;
    auto [at, added] = made.try_emplace(action);
    if (added) {
        at->second = Load(SourceOf(action));
    }
    return at->second;
}

QIcon DesignerIcons::For(ItemKind kind, std::string_view objectKind) {
    switch (kind) {
        case ItemKind::Group: {
            static const QIcon group = QIcon::fromTheme(
                QStringLiteral("folder"), QApplication::style()->standardIcon(QStyle::SP_DirIcon));
            return group;
        }
        case ItemKind::SubSystem: {
            static const QIcon subSystem = Drawing("subsystem");
            return subSystem;
        }
        case ItemKind::BusinessObjects:
        case ItemKind::BusinessObject: {
            static std::map<std::string, QIcon, std::less<>> kinds;
            auto found = kinds.find(objectKind);
            if (found == kinds.end()) {
                found = kinds.emplace(objectKind, Drawing(ObjectKindDrawing(objectKind))).first;
            }
            return found->second;
        }
    }
    return {};
}

QIcon DesignerIcons::Application() {
    static const QIcon application = Drawing("subsysmgr-designer", {16, 32, 64, 128, 256});
    return application;
}

}  // namespace quarn::designer
