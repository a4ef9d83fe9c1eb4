#include "DesignerIcons.h"

#include <QApplication>
#include <QStyle>
#include <initializer_list>
#include <map>
#include <string>

#include "DesignerTexts.h"

// The resources of a static library are registered by name, outside any namespace.
static void RegisterIconResources() {
    Q_INIT_RESOURCE(DesignerIcons);
}

namespace quarn::designer {

namespace {

// Where an icon comes from when the theme has no icon of that name: a standard icon of the
// style, or one of our drawings when `drawing` is given.
struct Source {
    const char* themeName;
    QStyle::StandardPixmap standard;
    const char* drawing = nullptr;
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

QIcon Load(const Source& source) {
    QIcon fallback = source.drawing ? Drawing(source.drawing)
                                    : QApplication::style()->standardIcon(source.standard);
    return QIcon::fromTheme(QLatin1String(source.themeName), fallback);
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
            return {"application-exit", QStyle::SP_DialogCloseButton};
        case Action::NewGroup:
            return {"folder-new", QStyle::SP_FileDialogNewFolder};
        case Action::NewSubSystem:
            return {"document-new", QStyle::SP_FileIcon, "new"};
        case Action::Edit:
            return {"document-properties", QStyle::SP_FileDialogDetailedView, "edit"};
        case Action::Delete:
            return {"edit-delete", QStyle::SP_TrashIcon};
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
            return {"go-jump", QStyle::SP_ArrowRight};
        case Action::CopyCode:
            return {"edit-copy", QStyle::SP_FileLinkIcon};
        case Action::Undo:
            return {"edit-undo", QStyle::SP_ArrowBack};
        case Action::Redo:
            return {"edit-redo", QStyle::SP_ArrowForward};
        case Action::Import:
            return {"document-import", QStyle::SP_ArrowDown, "import"};
        case Action::Export:
            return {"document-export", QStyle::SP_ArrowUp, "export"};
        case Action::Help:
            return {"help-contents", QStyle::SP_DialogHelpButton};
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
