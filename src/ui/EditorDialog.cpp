#include "ui/EditorDialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFont>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "host/IMessageBox.h"
#include "model/ModelErrors.h"
#include "runtime/ErrorMessage.h"
#include "runtime/KeyedText.h"
#include "runtime/LocalText.h"
#include "runtime/MessageBox.h"
#include "ui/CaptionText.h"
#include "ui/InputTool.h"
#include "ui/QtText.h"
#include "ui/SpreadGrid.h"
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
    QFont font(ToQString(family));
    // A desktop set to a larger font gets it in the dialogs too; a font given in pixels has no
    // point size (-1) and leaves the design's.
    font.setPointSizeF(std::max<qreal>(pointSize, QApplication::font().pointSizeF()));
    setFont(font);
}

void EditorDialog::setVisible(bool visible) {
    if (visible) {
        FitToContents();
        FocusFirstStop();
    }
    QDialog::setVisible(visible);
}

void EditorDialog::FocusFirstStop() {
    // Given before the dialog shows, so that the first focus a screen reader hears is the field
    // the user starts in, and not whichever control the window would choose.
    if (focusWidget() && focusWidget()->isEnabled()) {
        return;
    }
    for (const QPointer<QWidget>& stop : tabStops_) {
        if (stop && stop->isEnabledTo(this) && !stop->isHidden()) {
            stop->setFocus(Qt::TabFocusReason);
            return;
        }
    }
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

int EditorDialog::Twips(int twips) const {
    return TwipsToPixels(twips, logicalDpiX());
}

QVBoxLayout* EditorDialog::LayOut(const DialogDesign& design, QFrame& frame,
                                  std::initializer_list<QPushButton*> buttons) {
    designSize_ = {design.width, design.height};
    captionWidth_ = design.captionWidth;
    const auto pixels = [this](const TwipsMargins& twips, int inset) {
        return QMargins(
            std::max(Twips(twips.left) - inset, 0), std::max(Twips(twips.top) - inset, 0),
            std::max(Twips(twips.right) - inset, 0), std::max(Twips(twips.bottom) - inset, 0));
    };

    auto* dialog = new QVBoxLayout(this);
    dialog->setContentsMargins(pixels(design.margins, 0));
    dialog->setSpacing(Twips(design.margins.bottom));  // as far below the frame as below the row
    dialog->addWidget(&frame, 1);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->setSpacing(Twips(design.buttonGap));
    buttonRow->addStretch(1);
    for (QPushButton* button : buttons) {
        buttonRow->addWidget(button);
        AtLeast(*button, design.buttonWidth, design.buttonHeight);
    }
    dialog->addLayout(buttonRow);

    auto* rows = new QVBoxLayout(&frame);
    // The design measures the frame's margins from its outer edge, a layout from inside its line.
    rows->setContentsMargins(pixels(design.frameMargins, frame.frameWidth()));
    rows->setSpacing(Twips(design.rowGap));
    return rows;
}

void EditorDialog::AddField(QVBoxLayout& rows, InputTool& field, int width, int height) {
    rows.addWidget(&field);
    const bool captioned = field.CaptionLabel() != nullptr;
    field.EditorWidth(Twips(captioned ? width - captionWidth_ : width));
    AtLeast(field, 0, height);
    if (captioned) {
        fields_.emplace_back(&field);
    }
}

void EditorDialog::AddWide(QVBoxLayout& rows, QWidget& widget, int width, int height, int stretch) {
    rows.addWidget(&widget, stretch);
    AtLeast(widget, width, height);
}

void EditorDialog::NameControls(std::initializer_list<std::pair<QWidget*, const char*>> controls) {
    for (const auto& [control, name] : controls) {
        control->setObjectName(QLatin1String(name));
    }
}

void EditorDialog::NameAfterCaptions(QLabel& gridCaption, QWidget& grid,
                                     std::initializer_list<QPushButton*> buttons) {
    gridCaption.setAccessibleName(WithoutColon(gridCaption.text()));
    grid.setAccessibleName(gridCaption.accessibleName());
    for (QPushButton* button : buttons) {
        button->setAccessibleName(WithoutMnemonic(button->text()));
    }
}

void EditorDialog::TabOrder(std::initializer_list<QWidget*> controls) {
    const auto stop = [](QWidget* control) {
        auto* field = qobject_cast<InputTool*>(control);
        return field ? field->Editor() : control;
    };
    tabStops_.clear();
    for (QWidget* control : controls) {
        if (!tabStops_.empty()) {
            setTabOrder(tabStops_.back(), stop(control));
        }
        tabStops_.emplace_back(stop(control));
    }
}

void EditorDialog::AtLeast(QWidget& widget, int width, int height) {
    leastSizes_.push_back({&widget, {width, height}});
}

void EditorDialog::FitToContents() {
    // The captions line up in one column, as wide as the design's or the widest caption.
    int captionWidth = Twips(captionWidth_);
    for (const QPointer<InputTool>& field : fields_) {
        captionWidth = std::max(captionWidth, field ? field->CaptionFitWidth() : 0);
    }
    for (const QPointer<InputTool>& field : fields_) {
        if (field) {
            field->CaptionWidth(captionWidth);
        }
    }
    for (const LeastSize& least : leastSizes_) {
        if (least.widget) {
            const QSize design(Twips(least.twips.width()), Twips(least.twips.height()));
            least.widget->setMinimumSize(design.expandedTo(least.widget->minimumSizeHint()));
        }
    }
    if (layout()) {
        layout()->activate();
    }
    // An open dialog keeps the size the user gave it unless its content needs more.
    const QSize design(Twips(designSize_.width()), Twips(designSize_.height()));
    resize((isVisible() ? size() : design).expandedTo(minimumSizeHint()));
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
            if (MayDiscard()) {
                cmdCancel_Click();
            }
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void EditorDialog::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::FontChange && isVisible()) {
        FitToContents();
    }
}

void EditorDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!activated_) {
        activated_ = true;
        Form_Activate();
        loadedInput_ = ShownInput();
    }
}

void EditorDialog::closeEvent(QCloseEvent* event) {
    // Only the user's close: a program that closes the dialog has decided.
    if (event->spontaneous() && !MayDiscard()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

QStringList EditorDialog::ShownInput() const {
    QStringList shown;
    for (const InputTool* field : findChildren<InputTool*>()) {
        shown << field->Text();
    }
    for (const SpreadGrid* grid : findChildren<SpreadGrid*>()) {
        for (int row = 1; row <= grid->MaxRows(); ++row) {
            shown << QString::number(grid->CheckValue(row));
        }
    }
    return shown;
}

bool EditorDialog::MayDiscard() {
    if (!activated_ || ShownInput() == loadedInput_) {
        return true;
    }
    const auto local = [this](std::string_view text) {
        return ToQString(GetLocalText(*module_, text));
    };
    QMessageBox box(QMessageBox::Question, windowTitle(), local(kSaveQuestion),
                    QMessageBox::NoButton, this);
    QPushButton* save = box.addButton(local(kSaveAnswer), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(local(kDiscardAnswer), QMessageBox::DestructiveRole);
    QPushButton* back = box.addButton(local(kBackAnswer), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(back);
    box.exec();
    if (box.clickedButton() == save) {
        cmdSave_Click();
        return false;  // closed by the save, or open with its failure shown
    }
    return box.clickedButton() == discard;
}

void EditorDialog::ShowError(const ComError& error) {
    subsysmgr::ShowError(*module_, error);
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

void EditorDialog::cmdSave_Click() {
    if (Save()) {
        accept();
    }
}

void EditorDialog::cmdCancel_Click() {
    reject();
}

bool EditorDialog::SaveInput(const std::function<EditorInput&()>& takeInput,
                             const std::function<void()>& adoptSaved) {
    try {
        EditorInput& input = takeInput();
        const std::optional<InputFailure> failure = input.Save();
        adoptSaved();
        if (!failure) {
            return true;
        }
        ShowError(failure->error);
        if (OfferReload(failure->error)) {
            ShowStored();
            loadedInput_ = ShownInput();
        } else {
            FocusOn(failure->field);
        }
    } catch (const ComError& error) {
        // A failure of the store while saving: numbered like the checks' refusals.
        ShowError(error);
    } catch (const std::exception& error) {
        ShowMessage(*module_, error.what(), kMessageBoxWarning);
    }
    return false;
}

void EditorDialog::ShowSharedFields(EditorInput& input, const SharedFieldWidgets& widgets,
                                    double checked) {
    widgets.id->Value(input.id);
    widgets.nameCHS->Text(ToQString(input.nameCHS));
    widgets.nameCHT->Text(ToQString(input.nameCHT));
    widgets.nameEN->Text(ToQString(input.nameEN));
    widgets.index->Value(input.index);
    widgets.visible->Value(input.visible ? checked : 0);
    widgets.web->Value(input.web ? checked : 0);
    ShowAccountTypeChoice(*widgets.accountTypes, input);
}

void EditorDialog::TakeSharedFields(const SharedFieldWidgets& widgets, EditorInput& input) {
    input.id = Variant(widgets.id->Value()).ToInt32();
    input.index = Variant(widgets.index->Value()).ToInt32();
    input.nameCHS = ToStdString(widgets.nameCHS->Text(), input.nameCHS);
    input.nameCHT = ToStdString(widgets.nameCHT->Text(), input.nameCHT);
    input.nameEN = ToStdString(widgets.nameEN->Text(), input.nameEN);
    input.visible = widgets.visible->Value() != 0;
    input.web = widgets.web->Value() != 0;
    input.accountTypes = ChosenAccountTypes(*widgets.accountTypes, input.OfferedAccountTypes());
}

void EditorDialog::ShowAccountTypes(SpreadGrid& grid, const std::vector<AccountTypeOffer>& offers) {
    grid.MaxRows(0);
    grid.MaxEditLength(SpreadGrid::kTextColumn, static_cast<int>(kKeyedTextMaxEditLength));
    for (const AccountTypeOffer& offer : offers) {
        const int row = grid.AddRow();
        grid.CellText(row, ToQString(MakeKeyedText(offer.description, std::to_string(offer.code))));
    }
}

void EditorDialog::ShowAccountTypeChoice(SpreadGrid& grid, EditorInput& input) {
    const std::vector<AccountTypeOffer>& offers = input.OfferedAccountTypes();
    for (int row = 1; row <= grid.MaxRows() && row <= static_cast<int>(offers.size()); ++row) {
        const int32_t code = offers[row - 1].code;
        grid.CheckValue(row, std::find(input.accountTypes.begin(), input.accountTypes.end(),
                                       code) != input.accountTypes.end());
    }
}

std::vector<int32_t> EditorDialog::ChosenAccountTypes(const SpreadGrid& grid,
                                                      const std::vector<AccountTypeOffer>& offers) {
    std::vector<int32_t> chosen;
    for (int row = 1; row <= grid.MaxRows() && row <= static_cast<int>(offers.size()); ++row) {
        if (grid.CheckValue(row) != 0) {
            chosen.push_back(offers[row - 1].code);
        }
    }
    return chosen;
}

void EditorDialog::SelectFirstAccountType(SpreadGrid& grid) {
    if (grid.MaxRows() > 0) {
        grid.setCurrentCell(0, SpreadGrid::kTextColumn - 1);
        grid.SetBlock(1, SpreadGrid::kTextColumn, 1, SpreadGrid::kTextColumn);
    }
}

void EditorDialog::FocusFieldWidget(InputField field,
                                    std::span<const std::pair<InputField, QWidget*>> widgets) {
    for (const auto& [shown, widget] : widgets) {
        if (shown == field) {
            widget->setFocus();
        }
    }
}

}  // namespace quarn::subsysmgr
