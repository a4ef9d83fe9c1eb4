// subsysmgr-designer: the functional tree of the suite database, with the group and subsystem
// editors. Options: --db <file | sqlite:file | postgresql:connection>, --lang CHS|CHT|EN,
// --history (start on the history of the selected item), --find <text> (start with the tree
// filtered), --screenshot <png> (render the loaded window offscreen and exit; with --menu, the
// selected item's context menu open), --quit-after-paint (exit once the tree has been painted, to
// time the start), --preview <account type>:main|web (start with the tree as that viewer sees it),
// --import <file> (with --screenshot: the import's preview of the file instead of the window),
// --version (print the version and exit, without a display).

#include <QApplication>
#include <QCommandLineParser>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QTimer>
#include <QTreeView>
#include <cstring>
#include <iostream>
#include <memory>

#include "DesignerHelp.h"
#include "DesignerIcons.h"
#include "DesignerSettings.h"
#include "ExchangeActions.h"
#include "FunctionalTreeModel.h"
#include "MainWindow.h"
#include "VisibilityPreview.h"
#include "foundation/ComError.h"
#include "suite/DataPaths.h"
#include "suite/ProgramArguments.h"
#include "ui/QtPlatform.h"

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

// The window with the selected item's context menu open over it, as a person sees it.
QPixmap WithContextMenu(quarn::designer::MainWindow& window) {
    auto* tree = window.findChild<QTreeView*>(QStringLiteral("functionalTree"));
    const QRect name = tree->visualRect(
        tree->currentIndex().siblingAtColumn(quarn::designer::FunctionalTreeModel::kNameColumn));
    const QPoint at = name.bottomLeft() + QPoint(name.height() * 4, -name.height() / 3);
    QMenu* menu = window.ContextMenuAt(at);
    menu->adjustSize();
    QPixmap picture = window.grab();
    QPainter painter(&picture);
    painter.drawPixmap(tree->viewport()->mapTo(&window, at), menu->grab());
    delete menu;
    return picture;
}

}  // namespace

int main(int argc, char** argv) {
    // Qt and the options read copies; the password leaves what ps shows before anything runs.
    quarn::suite::ProgramArguments arguments(argc, argv);
    // Before the application connects to a display, so that it answers on a machine without one.
    for (int n = 1; n < arguments.Count(); ++n) {
        if (std::strcmp(arguments.Values()[n], "--version") == 0) {
            std::cout << quarn::designer::DesignerVersion() << '\n';
            return 0;
        }
    }
    QApplication app(arguments.Count(), arguments.Values());
    QApplication::setOrganizationName(QStringLiteral("Quarn"));
    QApplication::setApplicationName(QStringLiteral("subsysmgr-designer"));
    // The installed desktop entry and icon carry the program's name.
    QApplication::setDesktopFileName(QStringLiteral("subsysmgr-designer"));
    QApplication::setWindowIcon(quarn::designer::DesignerIcons::Application());

    QCommandLineParser options;
    options.addHelpOption();
    const QCommandLineOption database(
        QStringLiteral("db"),
        QStringLiteral("Database to open: a file, sqlite:<file> or postgresql:<libpq connection "
                       "string>. Keep passwords out of it, where every user of the machine can "
                       "read them: use ~/.pgpass, PGPASSWORD or a service file."),
        QStringLiteral("database"));
    const QCommandLineOption language(QStringLiteral("lang"), QStringLiteral("CHS, CHT or EN."),
                                      QStringLiteral("language"));
    const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                        QStringLiteral("Save the window as PNG and exit."),
                                        QStringLiteral("png"));
    const QCommandLineOption history(QStringLiteral("history"),
                                     QStringLiteral("Start on the selected item's history."));
    const QCommandLineOption find(QStringLiteral("find"),
                                  QStringLiteral("Start with the tree filtered by a text."),
                                  QStringLiteral("text"));
    const QCommandLineOption menu(QStringLiteral("menu"),
                                  QStringLiteral("With --screenshot: the context menu open."));
    const QCommandLineOption quitAfterPaint(
        QStringLiteral("quit-after-paint"),
        QStringLiteral("Exit once the tree has been painted (to time the start)."));
    const QCommandLineOption version(QStringLiteral("version"),
                                     QStringLiteral("Print the version and exit."));
    const QCommandLineOption preview(QStringLiteral("preview"),
                                     QStringLiteral("Start with the tree as a user of an account "
                                                    "type sees it in a console, e.g. 2:web."),
                                     QStringLiteral("type:console"));
    const QCommandLineOption import(
        QStringLiteral("import"),
        QStringLiteral("With --screenshot: the preview of importing a file."),
        QStringLiteral("file"));
    options.addOptions({database, language, history, find, screenshot, menu, quitAfterPaint,
                        version, preview, import});
    options.process(app);

    // The last database and language are remembered; options override them.
    const std::string chosenLanguage = options.isSet(language)
                                           ? options.value(language).toUpper().toStdString()
                                           : quarn::designer::RememberedLanguage();
    if (options.isSet(database) && options.value(database).isEmpty()) {
        std::cerr << "subsysmgr-designer: --db needs a database; without --db the last one "
                     "opens.\n";
        return 1;
    }
    std::unique_ptr<quarn::suite::HostSession> session;
    try {
        session = options.isSet(database)
                      ? std::make_unique<quarn::suite::HostSession>(
                            options.value(database).toStdString(), chosenLanguage)
                      : quarn::designer::RememberedSession(chosenLanguage);
        session->Activate();
        // Without its data folder (catalogs, help) the designer says where it looked.
        quarn::subsysmgr::InstallQtPlatform(*session->Module(), session->Registry(),
                                            quarn::suite::DataDirectory() / "help");
    } catch (const quarn::ComError& error) {
        std::cerr << "subsysmgr-designer: " << error.Description() << '\n';
        return 1;
    }

    quarn::designer::MainWindow window(*session);
    if (options.isSet(quitAfterPaint)) {
        window.findChild<QTreeView*>(QStringLiteral("functionalTree"))
            ->viewport()
            ->installEventFilter(new QuitAfterPaint(&window));
    }
    window.show();
    window.Reload();
    if (options.isSet(history)) {
        window.ShowHistory();
    }
    if (options.isSet(preview)) {
        const QStringList parts = options.value(preview).split(u':');
        const quarn::subsysmgr::Viewer viewer{parts.value(0).toInt(),
                                              parts.value(1) == QStringLiteral("web")
                                                  ? quarn::subsysmgr::Console::Web
                                                  : quarn::subsysmgr::Console::Main};
        if (!window.findChild<quarn::designer::VisibilityPreview*>()->Pick(viewer)) {
            std::cerr << "subsysmgr-designer: --preview names no account type offered\n";
            return 1;
        }
    }
    if (options.isSet(import) && options.isSet(screenshot)) {
        // The preview's dialog is pictured while it is open, then closed: nothing is written.
        QTimer::singleShot(0, &window, [&] {
            QTimer::singleShot(200, &window, [&] {
                QWidget* dialog = QApplication::activeModalWidget();
                if (dialog) {
                    dialog->grab().save(options.value(screenshot));
                    dialog->close();
                }
            });
            window.findChild<quarn::designer::ExchangeActions*>()->ImportFile(
                options.value(import));
            QApplication::quit();
        });
        return QApplication::exec();
    }
    if (options.isSet(find)) {
        window.findChild<QLineEdit*>(QStringLiteral("filter"))->setText(options.value(find));
    }
    if (options.isSet(screenshot)) {
        window.resize(1000, 680);
        if (!options.isSet(find)) {
            window.Select(850, 8001);  // a customer-made subsystem with business objects
        }
        QTimer::singleShot(0, &window, [&] {
            (options.isSet(menu) ? WithContextMenu(window) : window.grab())
                .save(options.value(screenshot));
            QApplication::quit();
        });
    }
    return QApplication::exec();
}
