#include "ui/EditorDialog.h"

#include <QFont>
#include <QKeyEvent>
#include <QRect>
#include <algorithm>

#include "host/IMessageBox.h"
#include "model/ModelErrors.h"
#include "runtime/LocalText.h"
#include "runtime/MessageBox.h"
#include "ui/InputTool.h"
#include "ui/QtText.h"
#include "ui/Twips.h"

namespace quarn::subsysmgr {

namespace {

int16_t ModifierState(Qt::KeyboardModifiers modifiers) {
    int16_t shift = 0;
    if (modifiers & Qt::ShiftModifier) {
        shift |= kShiftMask;
    }
    if (modifiers & Qt::ControlModifier) {
        shift |= kCtrlMask;
    }
    if (modifiers & Qt::AltModifier) {
        shift |= kAltMask;
    }
    return shift;
}

}  // namespace

EditorDialog::EditorDialog(QWidget* parent, std::shared_ptr<ModuleState> module)
    : QDialog(parent), module_(std::move(module)) {}

void EditorDialog::SetFormFont(const std::string& family, int pointSize) {
    setFont(QFont(ToQString(family), pointSize));
}

int16_t EditorDialog::PlatformKeyCode(int qtKey) {
    constexpr int16_t kF1 = 112;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) {
        return static_cast<int16_t>(kF1 + (qtKey - Qt::Key_F1));
    }
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)) {
        return static_cast<int16_t>(qtKey);  // the same codes as the platform's
    }
    switch (qtKey) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return 13;
        case Qt::Key_Escape:
            return 27;
        case Qt::Key_Tab:
            return 9;
        case Qt::Key_Space:
            return 32;
        default:
            return 0;
    }
}

QRect EditorDialog::Twips(int left, int top, int width, int height) const {
    return TwipsRect(left, top, width, height, logicalDpiX());
}

int EditorDialog::Twips(int twips) const {
    return TwipsToPixels(twips, logicalDpiX());
}

void EditorDialog::GrowToText(QWidget& control, int neededWidth) {
    const QWidget* parent = control.parentWidget();
    const int room = parent ? parent->width() - 2 * control.x() : neededWidth;
    const int width = std::min(neededWidth, room);
    if (width > control.width()) {
        control.resize(width, control.height());
    }
}

void EditorDialog::KeyPreview(bool enabled) {
    if (enabled && !keyPreview_) {
        // Keys reach a field first; the fields that can take the focus are where they start.
        for (QWidget* child : findChildren<QWidget*>()) {
            if (child->focusPolicy() != Qt::NoFocus && !child->focusProxy()) {
                child->installEventFilter(this);
            }
        }
    }
    keyPreview_ = enabled;
}

bool EditorDialog::eventFilter(QObject* watched, QEvent* event) {
    if (keyPreview_ && event->type() == QEvent::KeyPress && watched != this) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const int16_t shift = ModifierState(key->modifiers());
        const int16_t original = PlatformKeyCode(key->key());
        int16_t keyCode = original;
        Form_KeyDown(keyCode, shift);
        if (original != 0 && keyCode == 0) {
            return true;
        }
        if (key->key() == Qt::Key_Escape && (shift & (kCtrlMask | kAltMask)) == 0) {
            cmdCancel_Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void EditorDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!activated_) {
        activated_ = true;
        Form_Activate();
    }
}

void EditorDialog::ShowError(const ComError& error) {
    ShowMessage(*module_, error.Description(), kMessageBoxWarning);
}

bool EditorDialog::OfferReload(const ComError& error) {
    if (error.Offset() != errors::kSubSystemChangedElsewhere.offset) {
        return false;
    }
    const std::string question = GetLocalText(*module_, kReloadQuestion);
    return ShowMessage(*module_, question,
                       kMessageBoxYesNo | kMessageBoxQuestion | kMessageBoxDefaultButton2) ==
           kMessageBoxResultYes;
}

bool EditorDialog::FindForbiddenChar(const std::string& text,
                                     std::span<const std::string_view> chars, std::size_t& index) {
    for (std::size_t i = 0; i < chars.size(); ++i) {
        if (text.find(chars[i]) != std::string::npos) {
            index = i;
            return true;
        }
    }
    return false;
}

void EditorDialog::CheckForbidden(const InputTool& field, std::string_view templateText) {
    std::size_t index = 0;
    if (FindForbiddenChar(ToStdString(field.Text()), kForbiddenChars, index)) {
        throw ComError(ObjectError(kForbiddenCharOffset), std::string(kForbiddenCharSource),
                       FormatLocalText(*module_, templateText, {Variant(kForbiddenChars[index])}));
    }
}

}  // namespace quarn::subsysmgr
