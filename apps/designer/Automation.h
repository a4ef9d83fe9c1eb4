#pragma once

#include <QCommandLineOption>

class QCommandLineParser;

namespace quarn::designer {

class MainWindow;

/// The options that tests, timings and the README's pictures start the designer with, each
/// driving the window as a user would: --history (the selected item's history in front),
/// --problems (the Problems pane shown), --find
/// <text> (the tree filtered), --preview <account type>:main|web (the tree as that viewer sees
/// it), --screenshot <png> (the loaded window saved as a picture, then the end; with --menu the
/// selected item's context menu open over it; with --import <file> the import's preview of the
/// file instead, with --upgrade <file> the preview of the upgrade to that release, each closed
/// without writing; with --dark on a dark desktop's colours),
/// --quit-after-paint (the end once the tree has been painted, to time the start).
class Automation {
  public:
    /// Adds the options to `options`; --help lists only --history, --find and --preview.
    explicit Automation(QCommandLineParser& options);

    /// Before the window is shown.
    void Prepare(MainWindow& window) const;
    /// Once the shown window has read the tree: what the options ask. False, after saying why
    /// on the standard error, when they ask what the window does not offer.
    bool Start(MainWindow& window) const;

  private:
    /// Saves the picture the options ask for from the event loop, then ends it.
    void Picture(MainWindow& window) const;

    const QCommandLineParser& options_;
    QCommandLineOption history_;
    QCommandLineOption problems_;
    QCommandLineOption find_;
    QCommandLineOption preview_;
    QCommandLineOption screenshot_;
    QCommandLineOption menu_;
    QCommandLineOption import_;
    QCommandLineOption upgrade_;
    QCommandLineOption dark_;
    QCommandLineOption quitAfterPaint_;
};

}  // namespace quarn::designer
