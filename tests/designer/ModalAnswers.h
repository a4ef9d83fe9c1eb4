#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QProgressDialog>
#include <QTimer>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace quarn::designer {

/// Answers the modal dialogs that open while it lives: a message box by noting its text (and
/// its details) and closing it, any other dialog through `onDialog`, which is asked again while
/// the dialog stays open. Progress is left to run; any other dialog still open after half a
/// minute is rejected, so a failed check never hangs the test.
class ModalAnswers {
  public:
    explicit ModalAnswers(std::function<void(QDialog&)> onDialog) : onDialog_(std::move(onDialog)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Answer(); });
        timer_.start(20);
    }

    std::vector<std::string> messages;

  private:
    void Answer() {
        auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!modal || qobject_cast<QProgressDialog*>(modal)) {
            return;
        }
        if (modal != open_) {
            open_ = modal;
            ticks_ = 0;
        }
        if (++ticks_ > 1500) {
            ADD_FAILURE() << "a modal dialog stayed open: " << modal->windowTitle().toStdString();
            modal->reject();
        } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            messages.push_back(box->text().toStdString() + "\n" +
                               box->detailedText().toStdString());
            box->done(0);
        } else if (onDialog_) {
            onDialog_(*modal);
        }
    }

    std::function<void(QDialog&)> onDialog_;
    QTimer timer_;
    QPointer<QDialog> open_;  // the dialog the ticks count for
    int ticks_ = 0;
};

}  // namespace quarn::designer
