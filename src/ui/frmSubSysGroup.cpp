#include "ui/frmSubSysGroup.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "foundation/Dictionary.h"
#include "foundation/Utf8Text.h"
#include "foundation/Variant.h"
#include "host/IMessageBox.h"
#include "model/IdRanges.h"
#include "runtime/FormFont.h"
#include "runtime/HelpKey.h"
#include "runtime/KeyedText.h"
#include "runtime/LocalText.h"
#include "runtime/MessageBox.h"
#include "runtime/SessionContext.h"
#include "ui/GroupEditorTexts.h"
#include "ui/InputTool.h"
#include "ui/QtText.h"
#include "ui/SpreadGrid.h"

namespace quarn::subsysmgr {

using namespace group_editor;

namespace {

constexpr int kNameMaxLength = 40;
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
// Account types the editor never offers, and the one offered only in simplified Chinese.
constexpr int32_t kReservedAccountType1 = 7;
constexpr int32_t kReservedAccountType2 = 8;
constexpr int32_t kSimplifiedOnlyAccountType = 13;

std::string TrimmedText(const InputTool& field) {
    const std::string whole = ToStdString(field.Text());
    return std::string(text::TrimBlanks(whole));
}

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
    inID = field(InputTool::Kind::Number, kIdCaption);
    inID->ToolTipText(ToQString(kIdToolTip));
    inID->Min(800);
    inID->Max(1000);
    inID->Value(800);
    inIndex = field(InputTool::Kind::Number, kIndexCaption);
    inIndex->ToolTipText(ToQString(kIndexToolTip));
    inIndex->Min(0);
    inIndex->Max(1000);
    inName = field(InputTool::Kind::Text, kNameCaption);
    inNameCHT = field(InputTool::Kind::Text, kNameCHTCaption);
    inNameEN = field(InputTool::Kind::Text, kNameENCaption);
    for (InputTool* name : {inName, inNameCHT, inNameEN}) {
        name->MaxLength(kNameMaxLength);
    }
    inVisible = field(InputTool::Kind::CheckBox, kVisibleCaption);
    inVisible->Value(1);
    InWeb = field(InputTool::Kind::CheckBox, kWebCaption);
    lblFitAcct = new QLabel(ToQString(kFitAcctCaption), frmCo);
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

    QWidget* const tabOrder[] = {inID,      inIndex, inName,   inNameCHT, inNameEN,
                                 inVisible, InWeb,   vaSpread, cmdSave,   cmdCancel};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i) {
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    }

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

    const RecordsetPtr accountTypes = GetAccountTypes(*module_);
    const bool haveAccountTypes =
        accountTypes && accountTypes->State() != 0 && !accountTypes->Eof();

    // Without account types the dialog still shows its mode, its code range and the edited
    // group; saving then reports that no account type is chosen.
    if (IsBroxAddition()) {
        inID->Max(ranges::kBroxGroups.last);
        inID->Min(ranges::kBroxGroups.first);
    } else {
        inID->Max(ranges::kCustomerGroups.last);
        inID->Min(ranges::kCustomerGroups.first);
    }
    for (InputTool* name : {inNameCHT, inNameEN, inName}) {
        name->MaxLength(kNameMaxLength);
    }

    vaSpread->MaxRows(0);
    vaSpread->MaxEditLength(SpreadGrid::kTextColumn, static_cast<int>(kKeyedTextMaxEditLength));
    if (haveAccountTypes) {
        const bool simplifiedChinese = GetSessionLanguage(*module_) == "CHS";
        for (accountTypes->MoveFirst(); !accountTypes->Eof(); accountTypes->MoveNext()) {
            const Variant& code = accountTypes->Fields("FAcctType");
            const int32_t number = code.ToInt32();
            if (number == kReservedAccountType1 || number == kReservedAccountType2 ||
                (!simplifiedChinese && number == kSimplifiedOnlyAccountType)) {
                continue;
            }
            const int row = vaSpread->AddRow();
            vaSpread->CellText(row,
                               ToQString(MakeKeyedText(accountTypes->Fields("FDesc").TextOrEmpty(),
                                                       code.ToText())));
        }
        accountTypes->Close();
    }
    if (vaSpread->MaxRows() > 0) {
        vaSpread->CheckValue(1, 1);
    }

    if (lngStatus == kStatusEdit) {
        FillFromGroup();
        inID->setEnabled(false);
        setWindowTitle(ToQString(GetLocalText(*module_, kCaptionEdit)));
    } else {
        setWindowTitle(ToQString(GetLocalText(*module_, kCaptionAdd)));
    }
    if (vaSpread->MaxRows() > 0) {
        vaSpread->setCurrentCell(0, SpreadGrid::kTextColumn - 1);
        vaSpread->SetBlock(1, SpreadGrid::kTextColumn, 1, SpreadGrid::kTextColumn);
    }
}

void frmSubSysGroup::SetCaptions() {
    const auto local = [this](std::string_view text) {
        return ToQString(GetLocalText(*module_, text));
    };
    setWindowTitle(local(kCaptionEdit));
    inID->Caption(local(kIdCaption));
    inID->ToolTipText(local(kIdToolTip));
    inName->Caption(local(kNameCaption));
    inNameCHT->Caption(local(kNameCHTCaption));
    inNameEN->Caption(local(kNameENCaption));
    inIndex->Caption(local(kIndexCaption));
    inIndex->ToolTipText(local(kIndexToolTip));
    inVisible->Caption(local(kVisibleCaption));
    InWeb->Caption(local(kWebCaption));
    lblFitAcct->setText(local(kFitAcctCaption));
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
        const SubSysGroup& group = *objSubSysGroup;
        inID->Value(group.Id());
        inName->Text(ToQString(group.NameCHS()));
        inNameCHT->Text(ToQString(group.NameCHT()));
        inNameEN->Text(ToQString(group.NameEN()));
        inIndex->Value(group.Index());
        inVisible->Value(group.Visible() ? -1 : 0);
        InWeb->Value(group.WebVisible() ? -1 : 0);
        const std::string& fitAccountType = group.FitAccountType();
        for (int row = 1; row <= vaSpread->MaxRows(); ++row) {
            const std::string key = SplitKeyedText(ToStdString(vaSpread->CellText(row)), true);
            const bool listed =
                text::FindIgnoreCaseAscii(fitAccountType, "," + key + ",") != std::string::npos;
            vaSpread->CheckValue(row, listed ? 1 : 0);
        }
    } catch (...) {
        // The fields not reached keep what they showed.
    }
}

bool frmSubSysGroup::Save() {
    if (!objSubSysGroup && lngStatus != kStatusAdd) {
        return false;
    }
    try {
        if (lngStatus == kStatusAdd) {
            // A new object per attempt: whether the code exists is judged for the code entered
            // now, not by what an earlier attempt left in the object.
            objSubSysGroup = std::make_shared<SubSysGroup>(module_);
        }
        SubSysGroup& group = *objSubSysGroup;

        const std::string accountTypes = AccountTypeList();
        if (accountTypes == ",") {
            RaiseLocalized(*module_, kNoAccountType);
        }
        group.CancelCheck(lngStatus == kStatusEdit);
        group.Id(Variant(inID->Value()).ToInt32());
        if (lngStatus == kStatusAdd && !group.IsNew()) {
            RaiseLocalized(*module_, kCodeExists);
        }

        const std::string name = TrimmedText(*inName);
        const std::string nameCHT = TrimmedText(*inNameCHT);
        const std::string nameEN = TrimmedText(*inNameEN);
        if (name.empty()) {
            RaiseLocalized(*module_, kNameEmpty);
        }
        if (nameCHT.empty()) {
            RaiseLocalized(*module_, kNameCHTEmpty);
        }
        if (nameEN.empty()) {
            RaiseLocalized(*module_, kNameENEmpty);
        }
        CheckForbidden(*inName, kForbiddenInName);
        CheckForbidden(*inNameCHT, kForbiddenInNameCHT);
        CheckForbidden(*inNameEN, kForbiddenInNameEN);

        auto names = Dictionary::Create();
        names->Item("CHS", name);
        names->Item("CHT", nameCHT);
        names->Item("EN", nameEN);
        group.DictName(std::move(names));

        group.Index(Variant(inIndex->Value()).ToInt32());
        group.Visible(inVisible->Value() != 0);
        group.WebVisible(InWeb->Value() != 0);
        group.FitAccountType(accountTypes);
        // An addition stays new, so the group's Save only creates it: it never deletes (and so
        // replaces) a group that has the code by now.
        if (lngStatus != kStatusAdd) {
            group.Modified(true);
        }
        group.OptType(enm_OptType_Group);
        group.Save();
        return true;
    } catch (const ComError& error) {
        ShowError(error);
        if (OfferReload(error)) {
            ShowStored();
        } else {
            FocusOnError(error.Offset());
        }
    } catch (const std::exception& error) {
        ShowMessage(*module_, error.what(), kMessageBoxWarning);
    }
    return false;
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

void frmSubSysGroup::Form_Activate() {
    inID->setFocus();
}

void frmSubSysGroup::Form_KeyDown(int16_t& KeyCode, int16_t Shift) {
    if (Shift == 0 && HandleHelpKey(*module_, KeyCode, kGroupEditorHelpTopic, "", 0, "", 0)) {
        KeyCode = 0;
    }
}

void frmSubSysGroup::cmdSave_Click() {
    if (Save()) {
        accept();
    }
}

void frmSubSysGroup::cmdCancel_Click() {
    reject();
}

std::string frmSubSysGroup::AccountTypeList() const {
    std::string list = ",";
    for (int row = 1; row <= vaSpread->MaxRows(); ++row) {
        if (vaSpread->CheckValue(row) != 0) {
            list += SplitKeyedText(ToStdString(vaSpread->CellText(row)), true) + ",";
        }
    }
    return list;
}

void frmSubSysGroup::FocusOnError(int32_t offset) {
    switch (offset) {
        case 1007:
        case 1012:
            inID->setFocus();
            break;
        case 1010:
        case 1014:
            inName->setFocus();
            break;
        case 1016:
            vaSpread->setFocus();
            break;
        case 1020:
        case 1024:
            inNameCHT->setFocus();
            break;
        case 1030:
        case 1034:
            inNameEN->setFocus();
            break;
        default:
            break;  // the focus stays where it is
    }
}

}  // namespace quarn::subsysmgr
