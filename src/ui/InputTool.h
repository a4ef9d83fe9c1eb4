#pragma once

#include <QString>
#include <QWidget>
#include <utility>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace quarn::subsysmgr {

/// The suite's labelled input field: a caption on the left and, beside it, a text box, a number
/// box or a drop-down list; or a check box that carries the caption itself.
///
/// A number box shows its value with thousands separators ("8,000"). Its minimum and maximum
/// bound what the user types (a typed value is pulled into the range when the field is left);
/// a value set by the program is kept as it is, so a field can show a code outside the range it
/// offers for new entries.
///
/// Texts are limited in characters (code points, Chinese characters counting one each), both
/// when typed and when set by the program.
///
/// The caption is the buddy label of the editor, beside it: a "&" in it marks a mnemonic that
/// moves the focus to the editor, screen readers take it for the editor's label, and the caption
/// without its mnemonic is the accessible name of the field and its editor.
///
/// Caption and editor have least widths (a dialog lines its captions up by giving them all the
/// same); each is wider when its content needs it, so that no caption is ever cut and a number box
/// shows the widest value of its range.
class InputTool : public QWidget {
    Q_OBJECT

  public:
    enum class Kind { Text, Number, CheckBox, DropDown };

    /// Event number 1: Enter was pressed in the field (the EnterPressed signal). The key is
    /// consumed, so it never triggers a dialog button.
    static constexpr int kEnterPressedEvent = 1;
    /// Operation number 51: move the focus to the next field in tab order (FocusNextField).
    static constexpr int kFocusNextFieldOperation = 51;

    explicit InputTool(Kind kind, QWidget* parent = nullptr);
    ~InputTool() override;

    Kind FieldKind() const { return kind_; }

    QString Caption() const;
    void Caption(const QString& vNewValue);
    /// The tooltip of the editor and its caption, which screen readers read as the editor's
    /// description.
    QString ToolTipText() const;
    void ToolTipText(const QString& vNewValue);
    /// The label that shows the caption beside the editor; nullptr for a check box, which shows
    /// its caption itself.
    QLabel* CaptionLabel() const;
    /// Least widths, in pixels, of the caption with its gap to the editor (not used by a check
    /// box), and of the editor.
    void CaptionWidth(int pixels);
    void EditorWidth(int pixels);
    /// The width the caption needs to show whole, with its gap to the editor; 0 for a check box.
    int CaptionFitWidth() const;

    /// Text box: its text. Number box: the formatted value; setting parses a number. Check box:
    /// "1" or "0". Drop-down list: the whole text of the selected entry, "" without a selection;
    /// setting selects the first entry with that text, or none.
    QString Text() const;
    void Text(const QString& vNewValue);

    /// Number box: the value (the typed text, read as a number; 0 when empty). Check box: 1 when
    /// checked, 0 otherwise; setting checks it for any value but 0. Other kinds: 0, ignored.
    double Value() const;
    void Value(double vNewValue);
    double Min() const { return min_; }
    void Min(double vNewValue);
    double Max() const { return max_; }
    void Max(double vNewValue);

    /// Maximum length of a text box in characters; 0 for no limit. A longer text is cut.
    int MaxLength() const { return maxLength_; }
    void MaxLength(int vNewValue);

    // Drop-down list. An entry that is a keyed text shows only its display part; the list
    // keeps the whole text and its key. Indexes count from 0; -1 is no selection. The list is
    // as wide as its layout makes it, whatever its entries: a name too long for it shows whole in
    // the open list, which is widened for the longest names, and as the list's tooltip.
    void AddItem(const QString& entry);
    /// Adds the keyed text of `display` and `key` (the entry MakeKeyedText makes of them).
    void AddItem(const QString& display, const QString& key);
    /// Adds the keyed texts of display texts and keys, as AddItem does one by one, in one
    /// insertion: a list of a thousand entries is filled without the list box re-measuring and
    /// announcing every entry.
    void AddItems(std::vector<std::pair<QString, QString>> displayAndKey);
    int ListCount() const;
    QString List(int index) const;
    /// The key of a keyed entry (everything after its 512th character); "" for other entries.
    QString ListKey(int index) const;
    int ListIndex() const;
    void ListIndex(int index);
    void Clear();

    /// Moves the focus to the next enabled, visible field after this one in the tab order of
    /// its window.
    void FocusNextField();

    /// The widget that takes the focus and the keys (this field's focus proxy; the field itself
    /// takes no focus, so that the keyboard and screen readers meet one control).
    QWidget* Editor() const { return editor_; }

    /// A number box keeps the width its values need; other kinds grow with their layout.
    QSize sizeHint() const override;

  signals:
    void EnterPressed();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    class LengthValidator;
    class ListBox;
    class ListModel;

    /// Gives caption and editor their least widths, or what their content needs if more.
    void FitWidths();
    int NumberWidth() const;
    void ShowValue(double value);
    void CommitTypedNumber();

    Kind kind_;
    QLabel* label_ = nullptr;
    QLineEdit* lineEdit_ = nullptr;
    QCheckBox* checkBox_ = nullptr;
    QComboBox* comboBox_ = nullptr;
    ListModel* list_ = nullptr;  // the combo box's entries
    QWidget* editor_ = nullptr;
    LengthValidator* lengthValidator_ = nullptr;
    QString caption_;
    int captionWidth_ = 0;
    int editorWidth_ = 0;
    int maxLength_ = 0;
    double min_ = 0;
    double max_ = 0;
};

}  // namespace quarn::subsysmgr
