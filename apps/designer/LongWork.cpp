#include "LongWork.h"

#include <QProgressDialog>

namespace quarn::designer {

namespace {

constexpr qint64 kShowAfterMilliseconds = 500;
constexpr qint64 kUpdateMilliseconds = 100;
// The dialog counts in ints; long counts are scaled to this many steps.
constexpr int64_t kSteps = 1000;

}  // namespace

LongWork::LongWork(QWidget* parent, QString label) : parent_(parent), label_(std::move(label)) {
    started_.start();
}

LongWork::~LongWork() = default;

bool LongWork::Step(int64_t done, int64_t total) {
    if (dialog_ && dialog_->wasCanceled()) {
        return false;
    }
    if (started_.elapsed() < kShowAfterMilliseconds ||
        (updated_.isValid() && updated_.elapsed() < kUpdateMilliseconds)) {
        return true;
    }
    if (!dialog_) {
        // Qt's own Cancel button, in the language of Qt's loaded translation.
        dialog_ = std::make_unique<QProgressDialog>(parent_);
        dialog_->setLabelText(label_);
        dialog_->setRange(0, static_cast<int>(kSteps));
        dialog_->setWindowModality(Qt::WindowModal);
        dialog_->setMinimumDuration(0);
        dialog_->setAutoReset(false);
        dialog_->setAutoClose(false);
    }
    updated_.start();
    // setValue of a modal dialog runs the event loop, which is where Cancel is noticed.
    dialog_->setValue(total > 0 ? static_cast<int>(done * kSteps / total) : 0);
    return !dialog_->wasCanceled();
}

}  // namespace quarn::designer
