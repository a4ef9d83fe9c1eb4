#include "ui/frmSubSysGroup.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "foundation/Dictionary.h"
#include "foundation/Utf8Text.h"
#include "foundation/Variant.h"
#include "host/IMessageBox.h"
#include "model/GroupEditorTexts.h"
#include "model/IdRanges.h"
#include "runtime/FormFont.h"
#include "runtime/HelpKey.h"
#include "runtime/KeyedText.h"
#include "runtime/LocalText.h"
#include "runtime/MessageBox.h"
#include "runtime/SessionContext.h"
#include "ui/FieldLabels.h"
#include "ui/InputTool.h"
#include "ui/QtText.h"
#include "ui/SpreadGrid.h"

namespace quarn::subsysmgr {

using namespace group_editor;
namespace labels = field_labels;

namespace {

// The design, in twips; each size is the least the control gets.
constexpr DialogDesign kDesign{.width = 4185,
                               .height = 5715,
                               .margins = {90, 0, 75, 135},
                               .frameMargins = {120, 225, 105, 90},
                               .rowGap = 60,
                               .captionWidth = 1890,
                               .buttonWidth = 1260,
                               .buttonHeight = 330,
                               .buttonGap = 120};
constexpr int kFieldHeight = 375;

}  // namespace

frmSubSysGroup::frmSubSysGroup(QWidget* parent, std::shared_ptr<ModuleState> module)
    : EditorDialog(parent, std::move(module)) {
    setWindowTitle(ToQString(kCaptionEdit));

    frmCo = new QFrame(this);
    frmCo->setFrameStyle(QFrame::Box | QFrame::Sunken);

    auto field = [this](InputTool::Kind kind, std::string_view caption) {
        auto* tool = new InputTool(kind, frmCo);
        tool->Caption(ToQString(caption));
        return tool;
    };
    inID = field(InputTool::Kind::Number, labels::kGroupId);
    inID->ToolTipText(ToQString(kIdToolTip));
    inID->Min(800);
    inID->Max(1000);
    inID->Value(800);
    inIndex = field(InputTool::Kind::Number, labels::kGroupIndex);
    inIndex->ToolTipText(ToQString(kIndexToolTip));
    inIndex->Min(0);
    inIndex->Max(1000);
    inName = field(InputTool::Kind::Text, labels::kGroupName);
    inNameCHT = field(InputTool::Kind::Text, labels::kGroupNameCHT);
    inNameEN = field(InputTool::Kind::Text, labels::kGroupNameEN);
    for (InputTool* name : {inName, inNameCHT, inNameEN}) {
        name->MaxLength(static_cast<int>(kNameMaxLength));
    }
    inVisible = field(InputTool::Kind::CheckBox, labels::kVisible);
    inVisible->Value(1);
    InWeb = field(InputTool::Kind::CheckBox, labels::kWeb);
    lblFitAcct = new QLabel(ToQString(labels::kAccountTypes), frmCo);
    vaSpread = new SpreadGrid(frmCo);
    lblFitAcct->setBuddy(vaSpread);

    cmdSave = new QPushButton(ToQString(kSaveCaption), this);
    cmdCancel = new QPushButton(ToQString(kCancelCaption), this);
    for (QPushButton* button : {cmdSave, cmdCancel}) {
        button->setAutoDefault(false);  // Enter walks the fields; it never presses a button
    }

    QVBoxLayout* rows = LayOut(kDesign, *frmCo, {cmdSave, cmdCancel});
    AddField(*rows, *inID, 3225, kFieldHeight);
    AddField(*rows, *inIndex, 3225, kFieldHeight);
    AddField(*rows, *inName, 3795, kFieldHeight);
    AddField(*rows, *inNameCHT, 3795, kFieldHeight);
    AddField(*rows, *inNameEN, 3795, kFieldHeight);
    AddField(*rows, *inVisible, 2475, kFieldHeight);
    AddField(*rows, *InWeb, 2475, kFieldHeight);
    AddWide(*rows, *lblFitAcct, 1455, 255);
    AddWide(*rows, *vaSpread, 3735, 1335, 1);

    NameControls({{frmCo, "frmCo"},
                  {inID, "inID"},
                  {inIndex, "inIndex"},
                  {inName, "inName"},
                  {inNameCHT, "inNameCHT"},
                  {inNameEN, "inNameEN"},
                  {inVisible, "inVisible"},
                  {InWeb, "InWeb"},
                  {lblFitAcct, "lblFitAcct"},
                  {vaSpread, "vaSpread"},
                  {cmdSave, "cmdSave"},
                  {cmdCancel, "cmdCancel"}});
    NameAfterCaptions(*lblFitAcct, *vaSpread, {cmdSave, cmdCancel});

    TabOrder({inID, inIndex, inName, inNameCHT, inNameEN, inVisible, InWeb, vaSpread, cmdSave,
              cmdCancel});

    connect(cmdSave, &QPushButton::clicked, this, &frmSubSysGroup::cmdSave_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSubSysGroup::cmdCancel_Click);
    for (InputTool* walker : {inID, inIndex, inName}) {
        connect(walker, &InputTool::EnterPressed, walker, &InputTool::FocusNextField);
    }
}

frmSubSysGroup::~frmSubSysGroup() = default;

void frmSubSysGroup::Form_Load() {
    KeyPreview(true);
    SetCaptions();
    ApplyFormFont(*module_, *this);

    // Without account types the dialog still shows its mode, its code range and the edited
    // group; saving then reports that no account type is chosen.
    input_ = std::make_unique<GroupInput>(module_, lngStatus, bIsBroxAdditon);
    const ranges::IdRange codes = input_->CodeRange();
    inID->Max(codes.last);
    inID->Min(codes.first);
    for (InputTool* name : {inNameCHT, inNameEN, inName}) {
        name->MaxLength(static_cast<int>(kNameMaxLength));
    }
    ShowAccountTypes(*vaSpread, input_->OfferedAccountTypes());

    if (lngStatus == kStatusEdit) {
        ShowAccountTypeChoice(*vaSpread, *input_);
        FillFromGroup();
        inID->setEnabled(false);
        setWindowTitle(ToQString(GetLocalText(*module_, kCaptionEdit)));
    } else {
        if (lngStatus == kStatusAdd) {
            input_->id = input_->NextFreeCode().value_or(codes.first);
            inID->Value(input_->id);
        }
        ShowAccountTypeChoice(*vaSpread, *input_);
        setWindowTitle(ToQString(GetLocalText(*module_, kCaptionAdd)));
    }
    SelectFirstAccountType(*vaSpread);
}

void frmSubSysGroup::SetCaptions() {
    const auto local = [this](std::string_view text) {
        return ToQString(GetLocalText(*module_, text));
    };
    setWindowTitle(local(kCaptionEdit));
    inID->Caption(local(labels::kGroupId));
    inID->ToolTipText(local(kIdToolTip));
    inName->Caption(local(labels::kGroupName));
    inNameCHT->Caption(local(labels::kGroupNameCHT));
    inNameEN->Caption(local(labels::kGroupNameEN));
    inIndex->Caption(local(labels::kGroupIndex));
    inIndex->ToolTipText(local(kIndexToolTip));
    inVisible->Caption(local(labels::kVisible));
    InWeb->Caption(local(labels::kWeb));
    lblFitAcct->setText(local(labels::kAccountTypes));
    cmdSave->setText(local(kSaveCaption));
    cmdCancel->setText(local(kCancelCaption));
    NameAfterCaptions(*lblFitAcct, *vaSpread, {cmdSave, cmdCancel});
    if (IsBroxAddition()) {
        inID->Min(ranges::kBroxGroups.first);
        inID->Text(QString::number(ranges::kBroxGroups.first));
        inID->Max(ranges::kBroxGroups.last);
    }
}

void frmSubSysGroup::FillFromGroup() {
    if (!objSubSysGroup) {
        return;
    }
    try {
        Input().Load(objSubSysGroup);
        ShowSharedFields(*input_, Widgets(), -1);
    } catch (...) {
        // The fields not reached keep what they showed.
    }
}

bool frmSubSysGroup::Save() {
    if (!objSubSysGroup && lngStatus != kStatusAdd) {
        return false;
    }
    return SaveInput(
        [this]() -> EditorInput& {
            GroupInput& input = Input();
            if (lngStatus != kStatusAdd && input.Group() != objSubSysGroup) {
                input.Load(objSubSysGroup);
            }
            TakeSharedFields(Widgets(), input);
            return input;
        },
        [this] { objSubSysGroup = input_->Group(); });
}

void frmSubSysGroup::ShowStored() {
    auto stored = std::make_shared<SubSysGroup>(module_);  // a new object reads afresh
    if (!stored->initial(objSubSysGroup->Id())) {          // the code cannot change in edit mode
        ShowMessage(*module_, GetLocalText(*module_, kItemDeletedElsewhere), kMessageBoxWarning);
        return;
    }
    objSubSysGroup = std::move(stored);
    FillFromGroup();
    inID->setFocus();
}

GroupInput& frmSubSysGroup::Input() {
    if (!input_) {
        input_ = std::make_unique<GroupInput>(module_, lngStatus, bIsBroxAdditon);
    }
    return *input_;
}

void frmSubSysGroup::Form_Activate() {
    inID->setFocus();
}

void frmSubSysGroup::Form_KeyDown(int16_t& KeyCode, int16_t Shift) {
    if (Shift == 0 && HandleHelpKey(*module_, KeyCode, kGroupEditorHelpTopic, "", 0, "", 0)) {
        KeyCode = 0;
    }
}

void frmSubSysGroup::FocusOn(InputField field) {
    const std::pair<InputField, QWidget*> widgets[] = {
        {InputField::Id, inID},         {InputField::Index, inIndex},
        {InputField::NameCHS, inName},  {InputField::NameCHT, inNameCHT},
        {InputField::NameEN, inNameEN}, {InputField::AccountTypes, vaSpread},
    };
    FocusFieldWidget(field, widgets);
}

}  // namespace quarn::subsysmgr
