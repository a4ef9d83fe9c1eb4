#include "ui/InputTool.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QValidator>
#include <algorithm>

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

constexpr int kCaptionGap = 4;          // between the caption and the editor, in pixels
constexpr int kLineEditTextMargin = 2;  // QLineEdit's own margin on each side of its text

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

namespace {

// Numbers show the suite's thousands separators whatever the desktop's locale is.
const QLocale& NumberLocale() {
    static const QLocale locale(QLocale::English, QLocale::UnitedStates);
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
            comboBox_ = new QComboBox(this);
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
    setFocusPolicy(Qt::StrongFocus);
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
    FitWidths();
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
    // Fewer UTF-16 units than the width cannot hold that many characters.
    const qsizetype split = entry.size() < kWidth ? -1 : PositionAfter(entry, kWidth);
    if (split < 0) {
        AddListEntry(entry, {entry, QString(), false});
        return;
    }
    const QStringView display = QStringView(entry).first(split);
    AddListEntry(TrimmedBlanks(display), {display.toString(), entry.sliced(split), true});
}

void InputTool::AddItem(const QString& display, const QString& key) {
    const qsizetype cut = PositionAfter(display, kWidth);
    AddListEntry(TrimmedBlanks(cut < 0 ? QStringView(display) : QStringView(display).first(cut)),
                 {display, key, true});
}

void InputTool::AddListEntry(const QString& shown, ListEntry entry) {
    if (!comboBox_) {
        return;
    }
    entries_.push_back(std::move(entry));
    comboBox_->addItem(shown);
    comboBox_->setCurrentIndex(-1);
}

int InputTool::ListCount() const {
    return comboBox_ ? comboBox_->count() : 0;
}

QString InputTool::List(int index) const {
    if (index < 0 || index >= ListCount()) {
        return {};
    }
    const ListEntry& entry = entries_[static_cast<std::size_t>(index)];
    return entry.keyed ? KeyedText(entry.text, entry.key) : entry.text;
}

QString InputTool::ListKey(int index) const {
    return index < 0 || index >= ListCount() ? QString()
                                             : entries_[static_cast<std::size_t>(index)].key;
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
    if (comboBox_) {
        comboBox_->clear();
        entries_.clear();
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
