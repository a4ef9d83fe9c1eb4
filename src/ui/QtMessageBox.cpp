#include "ui/QtMessageBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <utility>
#include <vector>

#include "ui/QtText.h"

namespace quarn::subsysmgr {

namespace {

constexpr int32_t kButtonsMask = 0x7;
constexpr int32_t kIconMask = 0x70;
constexpr int32_t kDefaultButtonMask = 0x300;  // 0: the first button, 256: the second, ...

constexpr int32_t kOk = 1, kCancel = 2, kAbort = 3, kRetry = 4, kIgnore = 5, kYes = 6, kNo = 7;

std::vector<std::pair<QMessageBox::StandardButton, int32_t>> ButtonsFor(int32_t flags) {
    switch (flags & kButtonsMask) {
        case 1:
            return {{QMessageBox::Ok, kOk}, {QMessageBox::Cancel, kCancel}};
        case 2:
            return {{QMessageBox::Abort, kAbort},
                    {QMessageBox::Retry, kRetry},
                    {QMessageBox::Ignore, kIgnore}};
        case 3:
            return {
                {QMessageBox::Yes, kYes}, {QMessageBox::No, kNo}, {QMessageBox::Cancel, kCancel}};
        case 4:
            return {{QMessageBox::Yes, kYes}, {QMessageBox::No, kNo}};
        case 5:
            return {{QMessageBox::Retry, kRetry}, {QMessageBox::Cancel, kCancel}};
        default:
            return {{QMessageBox::Ok, kOk}};
    }
}

QMessageBox::Icon IconFor(int32_t flags) {
    switch (flags & kIconMask) {
        case 16:
            return QMessageBox::Critical;
        case 32:
            return QMessageBox::Question;
        case 48:
            return QMessageBox::Warning;
        case 64:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

}  // namespace

int32_t QtMessageBox::Show(const std::string& prompt, int32_t flags, const std::string& title) {
    QWidget* owner = QApplication::activeModalWidget();
    if (!owner) {
        owner = QApplication::activeWindow();
    }
    QMessageBox box(IconFor(flags), ToQString(title), ToQString(prompt), QMessageBox::NoButton,
                    owner);
    const auto buttons = ButtonsFor(flags);
    QAbstractButton* escape = nullptr;
    int32_t escapeCode = kCancel;
    for (const auto& [button, code] : buttons) {
        QAbstractButton* added = box.addButton(button);
        if (code == kCancel || buttons.size() == 1) {
            escape = added;
            escapeCode = code;
        }
    }
    const auto defaultIndex = std::min<std::size_t>(
        static_cast<std::size_t>((flags & kDefaultButtonMask) >> 8), buttons.size() - 1);
    box.setDefaultButton(static_cast<QPushButton*>(box.button(buttons[defaultIndex].first)));
    if (escape) {
        box.setEscapeButton(escape);
    }
    box.exec();
    for (const auto& [button, code] : buttons) {
        if (box.clickedButton() == box.button(button)) {
            return code;
        }
    }
    return escapeCode;
}

}  // namespace quarn::subsysmgr
