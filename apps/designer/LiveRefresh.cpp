#include "LiveRefresh.h"

#include <QApplication>
#include <QDebug>
#include <QSocketNotifier>

#include "foundation/ComError.h"

namespace quarn::designer {

namespace {

// How often SQLite is asked; PostgreSQL's socket wakes the window at once, the timer only
// catches what arrived while a dialog was open.
constexpr int kPollMilliseconds = 400;

}  // namespace

LiveRefresh::LiveRefresh(QObject* parent) : QObject(parent) {
    connect(&timer_, &QTimer::timeout, this, &LiveRefresh::Check);
}

LiveRefresh::~LiveRefresh() = default;

void LiveRefresh::Watch(suite::HostSession& session) {
    delete notifier_;
    notifier_ = nullptr;
    watch_.reset();
    try {
        watch_ = session.WatchChanges();
        seen_ = watch_->LastChange();
    } catch (const ComError& error) {
        Stop(error.Description().c_str());
        return;
    }
    if (watch_->Socket() >= 0) {
        notifier_ = new QSocketNotifier(watch_->Socket(), QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, &LiveRefresh::Check);
    }
    timer_.start(kPollMilliseconds);
}

void LiveRefresh::Acknowledge() {
    if (!watch_) {
        return;
    }
    try {
        seen_ = watch_->LastChange();
    } catch (const ComError& error) {
        Stop(error.Description().c_str());
    }
}

void LiveRefresh::Check() {
    if (!watch_) {
        return;
    }
    int64_t last = seen_;
    try {
        last = watch_->LastChange();  // also drains the socket, so that it quiets down
    } catch (const ComError& error) {
        Stop(error.Description().c_str());
        return;
    }
    if (last != seen_ && !QApplication::activeModalWidget()) {
        emit TreeChanged();
    }
}

void LiveRefresh::Stop(const char* reason) {
    timer_.stop();
    delete notifier_;
    notifier_ = nullptr;
    watch_.reset();
    qWarning().noquote() << "The designer no longer follows other users' changes:" << reason;
}

}  // namespace quarn::designer
