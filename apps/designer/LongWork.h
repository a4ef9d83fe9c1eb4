#pragma once

#include <QElapsedTimer>
#include <QString>
#include <cstdint>
#include <memory>

class QProgressDialog;
class QWidget;

namespace quarn::designer {

/// The progress of work that may take long: nothing is shown for its first half second, then a
/// window-modal dialog with a Cancel button, updated at most every 100 ms, so that reporting
/// costs nothing on short work and the window repaints rarely on long work.
class LongWork {
  public:
    LongWork(QWidget* parent, QString label);
    ~LongWork();
    LongWork(const LongWork&) = delete;
    LongWork& operator=(const LongWork&) = delete;

    /// Says how far the work is; false once the user cancelled. May run the event loop (only
    /// when it updates the dialog), so call it where the window can be repainted.
    bool Step(int64_t done, int64_t total);

  private:
    QWidget* parent_;
    QString label_;
    QElapsedTimer started_;
    QElapsedTimer updated_;
    std::unique_ptr<QProgressDialog> dialog_;
};

}  // namespace quarn::designer
