// subsysmgr-designer: the functional tree of the suite database, with the group and subsystem
// editors. Options: --db <file | sqlite:file | postgresql:connection>, --lang CHS|CHT|EN,
// --history (start on the history of the selected item), --screenshot <png> (render the loaded
// window offscreen and exit).

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>
#include <iostream>
#include <memory>

#include "DesignerSettings.h"
#include "MainWindow.h"
#include "foundation/ComError.h"
#include "suite/DataPaths.h"
#include "ui/QtPlatform.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Quarn"));
    QApplication::setApplicationName(QStringLiteral("subsysmgr-designer"));

    QCommandLineParser options;
    options.addHelpOption();
    const QCommandLineOption database(QStringLiteral("db"), QStringLiteral("Database to open."),
                                      QStringLiteral("database"));
    const QCommandLineOption language(QStringLiteral("lang"), QStringLiteral("CHS, CHT or EN."),
                                      QStringLiteral("language"));
    const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                        QStringLiteral("Save the window as PNG and exit."),
                                        QStringLiteral("png"));
    const QCommandLineOption history(QStringLiteral("history"),
                                     QStringLiteral("Start on the selected item's history."));
    options.addOptions({database, language, history, screenshot});
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
    window.show();
    window.Reload();
    if (options.isSet(history)) {
        window.ShowHistory();
    }
    if (options.isSet(screenshot)) {
        window.resize(1000, 680);
        window.Select(850, 8001);  // a customer-made subsystem with business objects
        QTimer::singleShot(0, &window, [&] {
            window.grab().save(options.value(screenshot));
            QApplication::quit();
        });
    }
    return QApplication::exec();
}
