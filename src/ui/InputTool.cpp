#include "ui/InputTool.h"

#include <QAbstractItemView>
#include <QAbstractListModel>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QValidator>
#include <algorithm>
#include <functional>
#include <numeric>

#include "foundation/Utf8Text.h"
#include "runtime/KeyedText.h"
#include "ui/CaptionText.h"
#include "ui/QtText.h"

namespace quarn::subsysmgr {

namespace {

qsizetype CodePointCount(const QString& text) {
    return std::count_if(text.cbegin(), text.cend(), [](QChar c) { return !c.isLowSurrogate(); });
}

// The position just after the first `count` code points of `text` (a surrogate pair is one, a
// lone surrogate one too, as in its UTF-8 form), or -1 when the text has fewer. `counted` gets
// the number of code points walked.
qsizetype PositionAfter(QStringView text, qsizetype count, qsizetype* counted = nullptr) {
    qsizetype position = 0;
    qsizetype n = 0;
    for (; n < count && position < text.size(); ++n) {
        const bool pair = text[position].isHighSurrogate() && position + 1 < text.size() &&
                          text[position + 1].isLowSurrogate();
        position += pair ? 2 : 1;
    }
    if (counted) {
        *counted = n;
    }
    return n < count ? -1 : position;
}

// Without leading and trailing blanks (spaces only, as keyed texts are padded).
QString TrimmedBlanks(QStringView text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == u' ') {
        ++first;
    }
    while (last > first && text[last - 1] == u' ') {
        --last;
    }
    return text.sliced(first, last - first).toString();
}

constexpr auto kWidth = static_cast<qsizetype>(kKeyedTextWidth);

constexpr int kCaptionGap = 4;            // between the caption and the editor, in pixels
constexpr int kListLeastCharacters = 10;  // a drop-down list shows at least this much of a name
constexpr int kLineEditTextMargin = 2;    // QLineEdit's own margin on each side of its text

// The keyed text of a display text and a key: the display text cut or padded with blanks to the
// keyed width, then the key (MakeKeyedText in UTF-16).
QString KeyedText(QStringView display, const QString& key) {
    qsizetype characters = 0;
    const qsizetype cut = PositionAfter(display, kWidth, &characters);
    QString entry;
    entry.reserve(display.size() + (kWidth - characters) + key.size());
    entry.append(cut < 0 ? display : display.first(cut));
    entry.resize(entry.size() + (kWidth - characters), u' ');
    return entry.append(key);
}

QString LeftCodePoints(const QString& text, int count) {
    return ToQString(text::LeftCodePoints(ToStdString(text), static_cast<std::size_t>(count)));
}

}  // namespace

/// Refuses an edit that would make the text longer than the field's maximum length. It keeps
/// its own copy of the limit: the line edit may ask it while the field is being destroyed.
class InputTool::LengthValidator : public QValidator {
  public:
    using QValidator::QValidator;

    int max = 0;

    State validate(QString& input, int& /*pos*/) const override {
        return max > 0 && CodePointCount(input) > max ? Invalid : Acceptable;
    }
};

/// The drop-down list's entries, as the combo box shows them and as the field keeps them. The
/// whole keyed text of an entry is made only when asked for.
class InputTool::ListModel : public QAbstractListModel {
  public:
    struct Entry {
        QString shown;  // the display part without its padding, or the whole plain entry
        QString text;   // the plain entry, or the display part of a keyed one as given
        QString key;
        bool keyed = false;

        QString Whole() const { return keyed ? KeyedText(text, key) : text; }
    };

    using QAbstractListModel::QAbstractListModel;

    const std::vector<Entry>& Entries() const { return entries_; }

    /// Appends the entries with one announcement of the new rows.
    void Append(std::vector<Entry> entries) {
        if (entries.empty()) {
            return;
        }
        const int first = static_cast<int>(entries_.size());
        beginInsertRows({}, first, first + static_cast<int>(entries.size()) - 1);
        entries_.insert(entries_.end(), std::make_move_iterator(entries.begin()),
                        std::make_move_iterator(entries.end()));
        endInsertRows();
    }

    void Clear() {
        beginResetModel();
        entries_.clear();
        endResetModel();
    }

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(entries_.size());
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || static_cast<std::size_t>(index.row()) >= entries_.size()) {
            return {};
        }
        switch (role) {
            case Qt::DisplayRole:
            case Qt::EditRole:
            case Qt::ToolTipRole:  // a name cut by the open list shows whole under the pointer
                return entries_[static_cast<std::size_t>(index.row())].shown;
            default:
                return {};
        }
    }

  private:
    std::vector<Entry> entries_;
};

/// The drop-down list's combo box. It is sized without its entries, and its open list is widened
/// for the longest names when it opens, in the font it has then.
class InputTool::ListBox : public QComboBox {
  public:
    using QComboBox::QComboBox;

    void showPopup() override {
        view()->setMinimumWidth(PopupWidth());
        QComboBox::showPopup();
    }

  private:
    // The names measured: the longest by an estimate that counts an ideographic character as two
    // letters; measuring every name of a long list would cost more than opening it.
    static constexpr std::size_t kMeasuredNames = 8;

    static qsizetype EstimatedWidth(const QString& name) {
        return std::accumulate(
            name.cbegin(), name.cend(), qsizetype{0}, [](qsizetype sum, QChar c) {
                return sum + (c.unicode() >= 0x1100 ? 2 : 1);  // CJK, kana, Hangul; surrogate pairs
            });
    }

    int PopupWidth() const {
        const int rows = model()->rowCount(rootModelIndex());
        std::vector<std::pair<qsizetype, int>> widest;  // estimate, row
        widest.reserve(static_cast<std::size_t>(rows));
        for (int row = 0; row < rows; ++row) {
            widest.emplace_back(EstimatedWidth(itemText(row)), row);
        }
        const auto measured =
            widest.begin() + static_cast<std::ptrdiff_t>(std::min(kMeasuredNames, widest.size()));
        std::partial_sort(widest.begin(), measured, widest.end(), std::greater<>());
        int width = 0;
        for (auto it = widest.begin(); it != measured; ++it) {
            const QModelIndex index = model()->index(it->second, modelColumn(), rootModelIndex());
            width = std::max(width, view()->sizeHintForIndex(index).width());
        }
        return width + 2 * view()->frameWidth() + view()->verticalScrollBar()->sizeHint().width();
    }
};

namespace {

// The numbers typed here are codes and positions: never a group separator ("8001", not "8,001"),
// and the same digits whatever the desktop's locale is.
const QLocale& NumberLocale() {
    static const QLocale locale = [] {
        QLocale c = QLocale::c();
        c.setNumberOptions(QLocale::OmitGroupSeparator);
        return c;
    }();
    return locale;
}

QString NumberText(double value) {
    return NumberLocale().toString(value, 'f', QLocale::FloatingPointShortest);
}

double ParseNumber(QString text) {
    text.remove(QLatin1Char(','));
    return text.toDouble();  // 0 for an empty or unfinished text
}

bool IsEnterKey(const QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace

InputTool::InputTool(Kind kind, QWidget* parent) : QWidget(parent), kind_(kind) {
    switch (kind_) {
        case Kind::CheckBox:
            checkBox_ = new QCheckBox(this);
            editor_ = checkBox_;
            break;
        case Kind::DropDown:
            comboBox_ = new ListBox(this);
            list_ = new ListModel(comboBox_);
            comboBox_->setModel(list_);
            // Sized by the layout and this least length, never by measuring every entry.
            comboBox_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
            comboBox_->setMinimumContentsLength(kListLeastCharacters);
            connect(comboBox_, &QComboBox::currentIndexChanged, comboBox_,
                    [combo = comboBox_](int index) { combo->setToolTip(combo->itemText(index)); });
            editor_ = comboBox_;
            break;
        case Kind::Number:
            lineEdit_ = new QLineEdit(this);
            lineEdit_->setValidator(new QRegularExpressionValidator(
                QRegularExpression(QStringLiteral("-?[0-9,]*")), lineEdit_));
            lineEdit_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            connect(lineEdit_, &QLineEdit::editingFinished, this, &InputTool::CommitTypedNumber);
            editor_ = lineEdit_;
            break;
        case Kind::Text:
            lineEdit_ = new QLineEdit(this);
            lengthValidator_ = new LengthValidator(lineEdit_);
            lineEdit_->setValidator(lengthValidator_);
            editor_ = lineEdit_;
            break;
    }
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);  // the caption's width holds the gap
    if (kind_ != Kind::CheckBox) {
        label_ = new QLabel(this);
        label_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        label_->setBuddy(editor_);
        row->addWidget(label_);
    }
    row->addWidget(editor_, 1);
    setSizePolicy(kind_ == Kind::Number ? QSizePolicy::Fixed : QSizePolicy::Preferred,
                  QSizePolicy::Fixed);
    if (kind_ == Kind::Number) {
        ShowValue(0);
    }
    setFocusProxy(editor_);
    editor_->installEventFilter(this);
}

InputTool::~InputTool() {
    // The editor outlives this part of the object (QWidget's destructor moves the focus away
    // from it), so it must no longer call back.
    editor_->removeEventFilter(this);
    editor_->disconnect(this);
}

QString InputTool::Caption() const {
    return caption_;
}

void InputTool::Caption(const QString& vNewValue) {
    caption_ = vNewValue;
    if (checkBox_) {
        checkBox_->setText(vNewValue);
    } else {
        label_->setText(vNewValue);
    }
    const QString name = WithoutMnemonic(vNewValue);
    setAccessibleName(name);
    editor_->setAccessibleName(name);
    if (label_) {
        label_->setAccessibleName(name);  // its own would read the access key as "(N)"
    }
    FitWidths();
}

QString InputTool::ToolTipText() const {
    return editor_->toolTip();
}

void InputTool::ToolTipText(const QString& vNewValue) {
    editor_->setToolTip(vNewValue);
    if (label_) {
        label_->setToolTip(vNewValue);
    }
}

QLabel* InputTool::CaptionLabel() const {
    return label_;
}

void InputTool::CaptionWidth(int pixels) {
    captionWidth_ = pixels;
    FitWidths();
}

void InputTool::EditorWidth(int pixels) {
    editorWidth_ = pixels;
    FitWidths();
}

int InputTool::CaptionFitWidth() const {
    return label_ ? label_->sizeHint().width() + kCaptionGap : 0;
}

QSize InputTool::sizeHint() const {
    return kind_ == Kind::Number ? minimumSizeHint() : QWidget::sizeHint();
}

QString InputTool::Text() const {
    switch (kind_) {
        case Kind::CheckBox:
            return checkBox_->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
        case Kind::DropDown:
            return ListIndex() < 0 ? QString() : List(ListIndex());
        case Kind::Number:
        case Kind::Text:
            break;
    }
    return lineEdit_->text();
}

void InputTool::Text(const QString& vNewValue) {
    switch (kind_) {
        case Kind::CheckBox:
            Value(ParseNumber(vNewValue));
            return;
        case Kind::DropDown: {
            int index = -1;
            for (int i = 0; i < ListCount() && index < 0; ++i) {
                index = List(i) == vNewValue ? i : -1;
            }
            ListIndex(index);
            return;
        }
        case Kind::Number:
            ShowValue(ParseNumber(vNewValue));
            return;
        case Kind::Text:
            lineEdit_->setText(maxLength_ > 0 ? LeftCodePoints(vNewValue, maxLength_) : vNewValue);
            return;
    }
}

double InputTool::Value() const {
    switch (kind_) {
        case Kind::CheckBox:
            return checkBox_->isChecked() ? 1 : 0;
        case Kind::Number:
            return ParseNumber(lineEdit_->text());
        case Kind::DropDown:
        case Kind::Text:
            break;
    }
    return 0;
}

void InputTool::Value(double vNewValue) {
    if (kind_ == Kind::CheckBox) {
        checkBox_->setChecked(vNewValue != 0);
    } else if (kind_ == Kind::Number) {
        ShowValue(vNewValue);
    }
}

void InputTool::Min(double vNewValue) {
    min_ = vNewValue;
    FitWidths();
}

void InputTool::Max(double vNewValue) {
    max_ = vNewValue;
    FitWidths();
}

void InputTool::MaxLength(int vNewValue) {
    maxLength_ = std::max(vNewValue, 0);
    if (kind_ == Kind::Text) {
        lengthValidator_->max = maxLength_;
        Text(lineEdit_->text());
    }
}

// The display part and the key are taken apart once, here, in the list's own UTF-16 text; a
// list of a thousand groups is searched by key on every open.
void InputTool::AddItem(const QString& entry) {
    if (!list_) {
        return;
    }
    // Fewer UTF-16 units than the width cannot hold that many characters.
    const qsizetype split = entry.size() < kWidth ? -1 : PositionAfter(entry, kWidth);
    if (split < 0) {
        list_->Append({{entry, entry, QString(), false}});
    } else {
        const QStringView display = QStringView(entry).first(split);
        list_->Append({{TrimmedBlanks(display), display.toString(), entry.sliced(split), true}});
    }
    comboBox_->setCurrentIndex(-1);  // adding selects nothing
}

void InputTool::AddItem(const QString& display, const QString& key) {
    AddItems({{display, key}});
}

void InputTool::AddItems(std::vector<std::pair<QString, QString>> displayAndKey) {
    if (!list_) {
        return;
    }
    std::vector<ListModel::Entry> entries;
    entries.reserve(displayAndKey.size());
    for (auto& [display, key] : displayAndKey) {
        const qsizetype cut = PositionAfter(display, kWidth);
        QString shown =
            TrimmedBlanks(cut < 0 ? QStringView(display) : QStringView(display).first(cut));
        entries.push_back({std::move(shown), std::move(display), std::move(key), true});
    }
    list_->Append(std::move(entries));
    // Adding selects nothing; the combo box selects the first entry of a list that was empty.
    comboBox_->setCurrentIndex(-1);
}

int InputTool::ListCount() const {
    return list_ ? static_cast<int>(list_->Entries().size()) : 0;
}

QString InputTool::List(int index) const {
    if (index < 0 || index >= ListCount()) {
        return {};
    }
    return list_->Entries()[static_cast<std::size_t>(index)].Whole();
}

QString InputTool::ListKey(int index) const {
    return index < 0 || index >= ListCount()
               ? QString()
               : list_->Entries()[static_cast<std::size_t>(index)].key;
}

int InputTool::ListIndex() const {
    return comboBox_ ? comboBox_->currentIndex() : -1;
}

void InputTool::ListIndex(int index) {
    if (comboBox_) {
        comboBox_->setCurrentIndex(index);
    }
}

void InputTool::Clear() {
    if (list_) {
        list_->Clear();
    } else if (lineEdit_) {
        lineEdit_->clear();
    }
}

void InputTool::FocusNextField() {
    QWidget* const top = window();
    for (QWidget* next = editor_->nextInFocusChain(); next && next != editor_;
         next = next->nextInFocusChain()) {
        if (next->window() == top && (next->focusPolicy() & Qt::TabFocus) == Qt::TabFocus &&
            !next->focusProxy() && next->isEnabled() && next->isVisibleTo(top)) {
            next->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

bool InputTool::eventFilter(QObject* watched, QEvent* event) {
    if (watched == editor_ && IsEnterKey(event)) {
        emit EnterPressed();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void InputTool::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        FitWidths();
    }
}

void InputTool::FitWidths() {
    if (label_) {
        label_->setFixedWidth(std::max(captionWidth_, CaptionFitWidth()));
    }
    int editorWidth = std::max(editorWidth_, editor_->minimumSizeHint().width());
    if (kind_ == Kind::Number) {
        editorWidth = std::max(editorWidth, NumberWidth());
    }
    editor_->setMinimumWidth(editorWidth);
}

int InputTool::NumberWidth() const {
    const QFontMetrics metrics = lineEdit_->fontMetrics();
    int textWidth = metrics.horizontalAdvance(lineEdit_->text());
    for (const double bound : {min_, max_}) {
        textWidth = std::max(textWidth, metrics.horizontalAdvance(NumberText(bound)));
    }
    // The line edit's frame and inner margins around the text, and room for the cursor, as
    // QLineEdit measures its own size hint.
    QStyleOptionFrame option;
    option.initFrom(lineEdit_);
    option.lineWidth =
        lineEdit_->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, lineEdit_);
    const QMargins margins = lineEdit_->textMargins();
    const QSize contents(textWidth + 2 * kLineEditTextMargin + margins.left() + margins.right() + 1,
                         metrics.height());
    return lineEdit_->style()
        ->sizeFromContents(QStyle::CT_LineEdit, &option, contents, lineEdit_)
        .width();
}

void InputTool::ShowValue(double value) {
    lineEdit_->setText(NumberText(value));
    FitWidths();
}

void InputTool::CommitTypedNumber() {
    if (!lineEdit_->isModified()) {
        return;  // a value the program set stays as it is
    }
    double value = ParseNumber(lineEdit_->text());
    if (min_ <= max_) {
        value = std::clamp(value, min_, max_);
    }
    ShowValue(value);
}

}  // namespace quarn::subsysmgr
