#pragma once

#include <QDialog>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "foundation/ComError.h"
#include "host/IFrmResLoader.h"
#include "runtime/ModuleState.h"

class QRect;

namespace quarn::subsysmgr {

class InputTool;

/// Modes of the editors (the lngStatus of Show).
inline constexpr int32_t kStatusAdd = 1;
inline constexpr int32_t kStatusEdit = 2;

/// Characters that no name or code name may contain, in the order they are reported: of
/// several in one text, the first of this list is named.
inline constexpr std::string_view kForbiddenChars[] = {"'", "_", "%"};
/// Error offset of a forbidden character, and its source.
inline constexpr int32_t kForbiddenCharOffset = 1009;
inline constexpr std::string_view kForbiddenCharSource = "SAVE";

/// Bits of the modifier state that Form_KeyDown receives.
inline constexpr int16_t kShiftMask = 1;
inline constexpr int16_t kCtrlMask = 2;
inline constexpr int16_t kAltMask = 4;

/// What the two editors share: the module state they work with, the font the form-font loader
/// gives them, a layout in twips, and key preview (the dialog sees every key press before its
/// fields do; Esc presses the cancel button).
class EditorDialog : public QDialog, public IFontTarget {
    Q_OBJECT

  public:
    void SetFormFont(const std::string& family, int pointSize) override;

    /// The platform's key code of a Qt key (F1 is 112), 0 for keys the editors do not name.
    static int16_t PlatformKeyCode(int qtKey);

  protected:
    EditorDialog(QWidget* parent, std::shared_ptr<ModuleState> module);

    /// A rectangle given in twips, in pixels of this dialog's screen.
    QRect Twips(int left, int top, int width, int height) const;
    int Twips(int twips) const;

    /// Widens a control placed for the source texts to `neededWidth` when its localized text
    /// needs more room, as far as its parent leaves room on the right (the left margin again).
    static void GrowToText(QWidget& control, int neededWidth);

    /// Routes every key press of the dialog's fields through Form_KeyDown first.
    void KeyPreview(bool enabled);

    /// The key handler that key preview calls; setting KeyCode to 0 consumes the key.
    virtual void Form_KeyDown(int16_t& KeyCode, int16_t Shift) = 0;
    /// Runs when the dialog is shown for the first time.
    virtual void Form_Activate() = 0;
    /// Esc and the cancel button.
    virtual void cmdCancel_Click() = 0;

    /// Shows the error's message in the suite's warning box (style 48, default title).
    void ShowError(const ComError& error);
    /// After a save refused because someone else changed the item since it was read: asks
    /// whether to show the stored item instead of the user's input (No, the default, keeps it).
    bool OfferReload(const ComError& error);
    /// Asked after another user's change refused the save.
    static constexpr std::string_view kReloadQuestion =
        "是否载入其他用户保存的内容？本窗口中所做的修改将被放弃。";
    /// Said instead of reloading when the item the dialog edits was deleted by someone else.
    static constexpr std::string_view kItemDeletedElsewhere =
        "该项目已被其他用户删除，无法重新载入；窗口中的内容保持不变。";

    /// The index in `chars` of the first of them that occurs in the text.
    static bool FindForbiddenChar(const std::string& text, std::span<const std::string_view> chars,
                                  std::size_t& index);
    /// Raises the forbidden-character error of the field's template for the first forbidden
    /// character (in list order) of the field's untrimmed text.
    void CheckForbidden(const InputTool& field, std::string_view templateText);

    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

    std::shared_ptr<ModuleState> module_;

  private:
    bool keyPreview_ = false;
    bool activated_ = false;
};

}  // namespace quarn::subsysmgr
