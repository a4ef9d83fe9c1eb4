#pragma once

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <memory>

#include "suite/ChangeWatch.h"
#include "suite/HostSession.h"

class QSocketNotifier;

namespace quarn::designer {

/// Follows other users' changes of the session's tree: it looks when the watch's socket has
/// news (PostgreSQL) and on a short timer (SQLite), and says when the tree changed since the
/// window last read it. While a dialog is open nothing is announced, so that no refresh
/// happens under the user's hands; the change is announced when the dialog has closed.
class LiveRefresh : public QObject {
    Q_OBJECT

  public:
    explicit LiveRefresh(QObject* parent = nullptr);
    ~LiveRefresh() override;

    /// Watches the session's database from now on. A database that cannot be watched leaves
    /// the window without live refresh (F5 still reads everything); says so in the log.
    void Watch(suite::HostSession& session);
    /// The window is about to read the tree: what it reads covers every change up to now.
    void Acknowledge();

  signals:
    void TreeChanged();

  private:
    void Check();
    void Stop(const char* reason);

    std::unique_ptr<suite::ChangeWatch> watch_;
    QSocketNotifier* notifier_ = nullptr;
    QTimer timer_;
    int64_t seen_ = 0;
};

}  // namespace quarn::designer
