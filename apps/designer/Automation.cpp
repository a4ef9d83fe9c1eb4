#include "Automation.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QTimer>
#include <QTreeView>
#include <iostream>

#include "DarkDesktop.h"
#include "ExchangeActions.h"
#include "FunctionalTreeModel.h"
#include "MainWindow.h"
#include "NoDatabasePanel.h"
#include "ReleaseActions.h"
#include "VisibilityPreview.h"

namespace quarn::designer {

namespace {

// Ends the program once the watched widget has painted.
class QuitAfterPaint : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            QTimer::singleShot(0, qApp, &QApplication::quit);
        }
        return QObject::eventFilter(watched, event);
    }
};

QTreeView& TreeOf(MainWindow& window) {
    return *window.findChild<QTreeView*>(QStringLiteral("functionalTree"));
}

// The window with the selected item's context menu open over it, as a person sees it.
QPixmap WithContextMenu(MainWindow& window) {
    QTreeView& tree = TreeOf(window);
    const QRect name =
        tree.visualRect(tree.currentIndex().siblingAtColumn(FunctionalTreeModel::kNameColumn));
    const QPoint at = name.bottomLeft() + QPoint(name.height() * 4, -name.height() / 3);
    QMenu* menu = window.ContextMenuAt(at);
    menu->adjustSize();
    QPixmap picture = window.grab();
    QPainter painter(&picture);
    painter.drawPixmap(tree.viewport()->mapTo(&window, at), menu->grab());
    delete menu;
    return picture;
}

}  // namespace

Automation::Automation(QCommandLineParser& options)
    : options_(options),
      history_(QStringLiteral("history"), QStringLiteral("Start on the selected item's history.")),
      problems_(QStringLiteral("problems"), QStringLiteral("Start with the Problems pane shown.")),
      find_(QStringLiteral("find"), QStringLiteral("Start with the tree filtered by a text."),
            QStringLiteral("text")),
      preview_(QStringLiteral("preview"),
               QStringLiteral("Start with the tree as a user of an account type sees it in a "
                              "console, e.g. 2:web."),
               QStringLiteral("type:console")),
      screenshot_(QStringLiteral("screenshot"), QStringLiteral("Save the window as PNG and exit."),
                  QStringLiteral("png")),
      menu_(QStringLiteral("menu"), QStringLiteral("With --screenshot: the context menu open.")),
      import_(QStringLiteral("import"),
              QStringLiteral("With --screenshot: the preview of importing a file."),
              QStringLiteral("file")),
      upgrade_(QStringLiteral("upgrade"),
               QStringLiteral("With --screenshot: the preview of upgrading to a release file."),
               QStringLiteral("file")),
      dark_(QStringLiteral("dark"),
            QStringLiteral("With --screenshot: the window on a dark desktop's colours.")),
      quitAfterPaint_(QStringLiteral("quit-after-paint"),
                      QStringLiteral("Exit once the tree has been painted (to time the start).")) {
    // Those that only pictures and timings need stay out of --help.
    for (QCommandLineOption* picturesOnly :
         {&screenshot_, &menu_, &import_, &upgrade_, &dark_, &quitAfterPaint_}) {
        picturesOnly->setFlags(QCommandLineOption::HiddenFromHelp);
    }
    options.addOptions({history_, problems_, find_, screenshot_, menu_, quitAfterPaint_, preview_,
                        import_, upgrade_, dark_});
}

void Automation::Prepare(MainWindow& window) const {
    if (options_.isSet(dark_)) {
        QApplication::setStyle(QStringLiteral("Fusion"));
        QApplication::setPalette(DarkDesktopPalette());
    }
    if (options_.isSet(quitAfterPaint_)) {
        // The tree, or in its place the panel that says why there is no database.
        auto* quit = new QuitAfterPaint(&window);
        TreeOf(window).viewport()->installEventFilter(quit);
        window.findChild<NoDatabasePanel*>()->installEventFilter(quit);
    }
}

bool Automation::Start(MainWindow& window) const {
    // Without a database only the picture is taken: the panel that says why.
    if (!window.HasDatabase()) {
        if (options_.isSet(screenshot_)) {
            Picture(window);
        }
        return true;
    }
    if (options_.isSet(history_)) {
        window.ShowHistory();
    }
    if (options_.isSet(problems_)) {
        window.ShowProblems();
    }
    if (options_.isSet(preview_)) {
        const QStringList parts = options_.value(preview_).split(u':');
        const subsysmgr::Viewer viewer{parts.value(0).toInt(),
                                       parts.value(1) == QStringLiteral("web")
                                           ? subsysmgr::Console::Web
                                           : subsysmgr::Console::Main};
        if (!window.findChild<VisibilityPreview*>()->Pick(viewer)) {
            std::cerr << "subsysmgr-designer: --preview names no account type offered\n";
            return false;
        }
    }
    if ((options_.isSet(import_) || options_.isSet(upgrade_)) && options_.isSet(screenshot_)) {
        Picture(window);
        return true;
    }
    if (options_.isSet(find_)) {
        window.findChild<QLineEdit*>(QStringLiteral("filter"))->setText(options_.value(find_));
    }
    if (options_.isSet(screenshot_)) {
        window.resize(1000, 680);
        if (!options_.isSet(find_)) {
            window.Select(850, 8001);  // a customer-made subsystem with business objects
        }
        Picture(window);
    }
    return true;
}

void Automation::Picture(MainWindow& window) const {
    const QString file = options_.value(screenshot_);
    if (options_.isSet(import_) || options_.isSet(upgrade_)) {
        // The preview's dialog is pictured while it is open, then closed: nothing is written.
        const QString imported = options_.value(import_);
        const QString release = options_.value(upgrade_);
        QTimer::singleShot(0, &window, [&window, file, imported, release] {
            QTimer::singleShot(200, &window, [file] {
                if (QWidget* dialog = QApplication::activeModalWidget()) {
                    dialog->grab().save(file);
                    dialog->close();
                }
            });
            if (release.isEmpty()) {
                window.findChild<ExchangeActions*>()->ImportFile(imported);
            } else {
                window.findChild<ReleaseActions*>()->UpgradeTo(release);
            }
            QApplication::quit();
        });
        return;
    }
    const bool menu = options_.isSet(menu_);
    QTimer::singleShot(0, &window, [&window, file, menu] {
        (menu ? WithContextMenu(window) : window.grab()).save(file);
        QApplication::quit();
    });
}

}  // namespace quarn::designer
