#pragma once

#include <QDialog>
#include <QPointer>
#include <QSize>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "foundation/ComError.h"
#include "host/IFrmResLoader.h"
#include "model/EditorInput.h"
#include "runtime/ModuleState.h"

class QFrame;
class QLabel;
class QPushButton;
class QVBoxLayout;

namespace quarn::subsysmgr {

class InputTool;
class SpreadGrid;

/// Bits of the modifier state that Form_KeyDown receives.
inline constexpr int16_t kShiftMask = 1;
inline constexpr int16_t kCtrlMask = 2;
inline constexpr int16_t kAltMask = 4;

/// Margins in twips.
struct TwipsMargins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

/// The design of an editor in twips (1/1440 inch): the dialog's size, its margins around the
/// frame and the button row, the frame's margins around its rows, the gap between two rows, the
/// width of the caption column, and the size of the buttons and the gap between them.
struct DialogDesign {
    int width = 0;
    int height = 0;
    TwipsMargins margins;
    TwipsMargins frameMargins;
    int rowGap = 0;
    int captionWidth = 0;
    int buttonWidth = 0;
    int buttonHeight = 0;
    int buttonGap = 0;
};

/// What the two editors share: the module state they work with, the font the form-font loader
/// gives them, their layout, and key preview (the dialog sees every key press before its fields
/// do; Esc presses the cancel button).
///
/// The layout is Qt's: a frame with rows of fields, their captions in one column, over a row of
/// buttons on the right. The design's sizes are least sizes: in its own language and font a dialog
/// shows as designed, and a longer caption in another language or a larger font widens its column
/// and the dialog, so that no caption is ever cut or shortened.
class EditorDialog : public QDialog, public IFontTarget {
    Q_OBJECT

  public:
    /// The family of the session language's form font, in the design's point size or the
    /// application's (the desktop's) when that is larger.
    void SetFormFont(const std::string& family, int pointSize) override;
    /// Showing grows the dialog to what its captions need in the current language and font.
    void setVisible(bool visible) override;

    /// The platform's key code of a Qt key (F1 is 112), 0 for keys the editors do not name.
    static int16_t PlatformKeyCode(int qtKey);

    /// The save button: closes the dialog once the input was saved.
    void cmdSave_Click();
    /// Esc and the cancel button.
    void cmdCancel_Click();

  protected:
    EditorDialog(QWidget* parent, std::shared_ptr<ModuleState> module);

    /// Twips in pixels of this dialog's screen.
    int Twips(int twips) const;

    /// Lays the dialog out as designed: `frame`, whose rows it returns for AddField and AddWide,
    /// over `buttons` in a row on the right.
    QVBoxLayout* LayOut(const DialogDesign& design, QFrame& frame,
                        std::initializer_list<QPushButton*> buttons);
    /// Adds the field as the next row of the frame; `width` is the design's width of caption and
    /// editor together. The captions of all fields line up in one column.
    void AddField(QVBoxLayout& rows, InputTool& field, int width, int height);
    /// Adds the widget as the next row of the frame; a row with a stretch takes the height that
    /// the others leave.
    void AddWide(QVBoxLayout& rows, QWidget& widget, int width, int height, int stretch = 0);
    /// Names each control after its member, for tests, style sheets and accessibility tools.
    static void NameControls(std::initializer_list<std::pair<QWidget*, const char*>> controls);
    /// Gives the grid and its label the label's text and each button its own text, without
    /// mnemonic and closing colon, as accessible names (a field's caption names the field itself).
    static void NameAfterCaptions(QLabel& gridCaption, QWidget& grid,
                                  std::initializer_list<QPushButton*> buttons);

    /// Sets the tab order of the controls, a field standing for its editor. The first enabled
    /// one has the focus when the dialog opens.
    void TabOrder(std::initializer_list<QWidget*> controls);

    /// Routes every key press of the dialog's fields through Form_KeyDown first.
    void KeyPreview(bool enabled);

    /// The key handler that key preview calls; setting KeyCode to 0 consumes the key.
    virtual void Form_KeyDown(int16_t& KeyCode, int16_t Shift) = 0;
    /// Runs when the dialog is shown for the first time.
    virtual void Form_Activate() = 0;
    /// Saves the user's input; false after a reported failure, the dialog staying open.
    virtual bool Save() = 0;

    /// Shows the error's message and number in the suite's warning box (style 48, default
    /// title), as ShowError of runtime/ErrorMessage.h words it.
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

    /// Asked when Esc or the window's close button would end the dialog with edits not saved.
    static constexpr std::string_view kSaveQuestion = "是否保存对本窗口所做的修改？";
    /// The answers: save (the dialog's save button, whose text it takes), discard the edits and
    /// close, or go back to the dialog.
    static constexpr std::string_view kSaveAnswer = "保存(&S)";
    static constexpr std::string_view kDiscardAnswer = "放弃修改(&D)";
    static constexpr std::string_view kBackAnswer = "取消(&C)";

    /// Saves the input that `takeInput` fills from the widgets and hands the saved objects to
    /// `adoptSaved`. A failure is shown in one message box; after another user's change the
    /// dialog offers to show the stored item, otherwise the focus goes to the failure's field.
    /// True when the input was saved.
    bool SaveInput(const std::function<EditorInput&()>& takeInput,
                   const std::function<void()>& adoptSaved);
    /// Replaces the user's input with the item as stored now.
    virtual void ShowStored() = 0;
    virtual void FocusOn(InputField field) = 0;

    /// The widgets that show the fields both editors have.
    struct SharedFieldWidgets {
        InputTool* id;
        InputTool* index;
        InputTool* nameCHS;
        InputTool* nameCHT;
        InputTool* nameEN;
        InputTool* visible;
        InputTool* web;
        SpreadGrid* accountTypes;
    };
    /// Shows the input's shared fields; a ticked check box shows `checked`.
    static void ShowSharedFields(EditorInput& input, const SharedFieldWidgets& widgets,
                                 double checked);
    /// Copies the widgets' shared fields into the input, as typed; a name left as shown keeps
    /// the input's own text (ToStdString).
    static void TakeSharedFields(const SharedFieldWidgets& widgets, EditorInput& input);

    /// One grid row per offered account type, its keyed text "description<code>".
    static void ShowAccountTypes(SpreadGrid& grid, const std::vector<AccountTypeOffer>& offers);
    /// Ticks the rows of the input's chosen account types, and only those.
    static void ShowAccountTypeChoice(SpreadGrid& grid, EditorInput& input);
    /// The codes of the ticked rows, in row order.
    static std::vector<int32_t> ChosenAccountTypes(const SpreadGrid& grid,
                                                   const std::vector<AccountTypeOffer>& offers);
    /// Puts the grid's current cell and its selection on the first row's text.
    static void SelectFirstAccountType(SpreadGrid& grid);
    /// Moves the focus to the widget shown for the field; InputField::None leaves it.
    static void FocusFieldWidget(InputField field,
                                 std::span<const std::pair<InputField, QWidget*>> widgets);

    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

    std::shared_ptr<ModuleState> module_;

  private:
    /// A widget's design size, in twips, which it keeps as long as its content fits.
    struct LeastSize {
        QPointer<QWidget> widget;
        QSize twips;
    };

    void AtLeast(QWidget& widget, int width, int height);
    /// Gives every widget its design size or what its content needs, if more, and the dialog
    /// its design size or what its layout needs, if more.
    void FitToContents();
    /// Gives the focus to the first enabled tab stop unless an enabled control has it.
    void FocusFirstStop();
    /// What the fields and the grid show, to tell whether the user changed it.
    QStringList ShownInput() const;
    /// Before Esc or the close button ends the dialog: when the user changed what it showed,
    /// asks whether to save (the dialog closes once saved), discard or go back. True when the
    /// dialog may close without saving.
    bool MayDiscard();

    std::vector<LeastSize> leastSizes_;
    std::vector<QPointer<InputTool>> fields_;  // those with a caption beside the editor
    std::vector<QPointer<QWidget>> tabStops_;  // in tab order
    QSize designSize_;
    int captionWidth_ = 0;
    QStringList loadedInput_;  // as shown when the dialog opened, or after a reload
    bool keyPreview_ = false;
    bool activated_ = false;
};

}  // namespace quarn::subsysmgr
