// subsysmgr-designer: the functional tree of the suite database, with the group and subsystem
// editors. Options: --db <file | sqlite:file | postgresql:connection>, --lang CHS|CHT|EN,
// --help and --version (answered without a display); and those for tests and pictures, which
// --help leaves out (Automation.h).

#include <QApplication>
#include <QCommandLineParser>
#include <iostream>
#include <memory>
#include <optional>

#include "Automation.h"
#include "DesignerHelp.h"
#include "DesignerIcons.h"
#include "DesignerSettings.h"
#include "MainWindow.h"
#include "foundation/ComError.h"
#include "suite/DataPaths.h"
#include "suite/ProgramArguments.h"
#include "ui/QtPlatform.h"

namespace {

using quarn::suite::HostSession;

// The options that choose the session: the database and the language, the remembered ones
// where none is given.
class SessionOptions {
  public:
    explicit SessionOptions(QCommandLineParser& options) {
        options.addOptions({database_, language_});
    }

    // The session, made current with the Qt platform; none, after saying why, when it cannot
    // be opened.
    std::unique_ptr<HostSession> Open(const QCommandLineParser& options) const {
        const std::string language = options.isSet(language_)
                                         ? options.value(language_).toUpper().toStdString()
                                         : quarn::designer::RememberedLanguage();
        if (options.isSet(database_) && options.value(database_).isEmpty()) {
            std::cerr << "subsysmgr-designer: --db needs a database; without --db the last one "
                         "opens.\n";
            return nullptr;
        }
        try {
            auto session = options.isSet(database_)
                               ? std::make_unique<HostSession>(
                                     options.value(database_).toStdString(), language)
                               : quarn::designer::RememberedSession(language);
            session->Activate();
            // Without its data folder (catalogs, help) the designer says where it looked.
            quarn::subsysmgr::InstallQtPlatform(*session->Module(), session->Registry(),
                                                quarn::suite::DataDirectory() / "help");
            return session;
        } catch (const quarn::ComError& error) {
            // Numbered as the command line numbers it; a database that cannot be read is the
            // window's to explain, this is a name it cannot use or a missing data folder.
            std::cerr << "subsysmgr-designer: error " << error.Offset() << ": "
                      << error.Description() << '\n';
            return nullptr;
        }
    }

  private:
    QCommandLineOption database_{
        QStringLiteral("db"),
        QStringLiteral("Database to open: a file, sqlite:<file> or postgresql:<libpq connection "
                       "string>. Keep passwords out of it, where every user of the machine can "
                       "read them: use ~/.pgpass, PGPASSWORD or a service file."),
        QStringLiteral("database")};
    QCommandLineOption language_{QStringLiteral("lang"), QStringLiteral("CHS, CHT or EN."),
                                 QStringLiteral("language")};
};

// --help and --version, answered before the application connects to a display, so that they
// work on a machine without one (and help2man can read them). Qt's own options (-style,
// -platform ...) are unknown to this parse: the application takes them out of the arguments,
// and the parse after it reports what is still wrong.
std::optional<int> AnswerWithoutDisplay(QCommandLineParser& options,
                                        const QCommandLineOption& version,
                                        quarn::suite::ProgramArguments& arguments) {
    QStringList given;
    for (int n = 0; n < arguments.Count(); ++n) {
        given.append(QString::fromLocal8Bit(arguments.Values()[n]));
    }
    options.parse(given);
    if (options.isSet(QStringLiteral("help"))) {
        // The usage line names the program as the core application was started; no display.
        const QCoreApplication core(arguments.Count(), arguments.Values());
        std::cout << options.helpText().toStdString();
        return 0;
    }
    if (options.isSet(version)) {
        std::cout << quarn::designer::DesignerVersion() << '\n';
        return 0;
    }
    if (options.isSet(QStringLiteral("help-all"))) {
        // Qt's options are the application's to list; listing them needs no display either.
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    // Qt and the options read copies; the password leaves what ps shows before anything runs.
    quarn::suite::ProgramArguments arguments(argc, argv);
    QCommandLineParser options;
    options.setApplicationDescription(
        QStringLiteral("Shows the functional tree of a suite database and maintains its subsystem "
                       "groups and subsystems with the group and subsystem editors. Without --db "
                       "the last database opens (the first time, the demo database)."));
    options.addHelpOption();
    const SessionOptions sessionOptions(options);
    const QCommandLineOption version(QStringLiteral("version"),
                                     QStringLiteral("Print the version and exit."));
    options.addOption(version);
    const quarn::designer::Automation automation(options);
    if (const std::optional<int> answered = AnswerWithoutDisplay(options, version, arguments)) {
        return *answered;
    }

    QApplication app(arguments.Count(), arguments.Values());
    QApplication::setOrganizationName(QStringLiteral("Quarn"));
    QApplication::setApplicationName(QStringLiteral("subsysmgr-designer"));
    // The installed desktop entry and icon carry the program's name.
    QApplication::setDesktopFileName(QStringLiteral("subsysmgr-designer"));
    QApplication::setWindowIcon(quarn::designer::DesignerIcons::Application());
    options.process(app);

    const std::unique_ptr<HostSession> session = sessionOptions.Open(options);
    if (!session) {
        return 1;
    }
    quarn::designer::MainWindow window(*session);
    automation.Prepare(window);
    window.show();
    window.Reload();
    return automation.Start(window) ? QApplication::exec() : 1;
}
