#include "ui/frmSubSystem.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "foundation/Dictionary.h"
#include "foundation/FoundationErrors.h"
#include "foundation/Utf8Text.h"
#include "foundation/Variant.h"
#include "foundation/Vector.h"
#include "host/IMessageBox.h"
#include "model/IdRanges.h"
#include "model/ModelErrors.h"
#include "runtime/FormFont.h"
#include "runtime/HelpKey.h"
#include "runtime/KeyedText.h"
#include "runtime/LocalText.h"
#include "runtime/MessageBox.h"
#include "runtime/SessionContext.h"
#include "ui/InputTool.h"
#include "ui/QtText.h"
#include "ui/SpreadGrid.h"
#include "ui/SubSystemEditorTexts.h"

namespace quarn::subsysmgr {

using namespace subsystem_editor;

namespace {

constexpr int kNameMaxLength = 40;
// The design, in twips; each size is the least the control gets.
constexpr DialogDesign kDesign{.width = 4845,
                               .height = 6735,
                               .margins = {90, 0, 90, 135},
                               .frameMargins = {120, 180, 210, 90},
                               .rowGap = 30,
                               .captionWidth = 1650,
                               .buttonWidth = 1260,
                               .buttonHeight = 330,
                               .buttonGap = 210};
constexpr int kFieldHeight = 375;
// Account types the editor never offers, and the one offered only in simplified Chinese.
constexpr int32_t kReservedAccountType1 = 7;
constexpr int32_t kReservedAccountType2 = 8;
constexpr int32_t kSimplifiedOnlyAccountType = 13;

std::string TrimmedText(const InputTool& field) {
    const std::string whole = ToStdString(field.Text());
    return std::string(text::TrimBlanks(whole));
}

/// The key of a group listing row that holds the name in the session language. A language the
/// suite does not know shows the simplified name, as the business objects do.
std::string_view GroupNameKey(const std::string& language) {
    if (language == "EN") {
        return "FTopClassName_EN";
    }
    if (language == "CHT") {
        return "FTopClassName_CHT";
    }
    return "Name";
}

// Whether a group list entry's key, read as a number, is the identifier; an entry without a
// key counts as 0. Keys are plain decimal numbers, read here without the locale's parser.
bool KeyIsGroup(QStringView key, int32_t groupId) {
    if (!key.isEmpty() && key.size() <= 9 &&
        std::all_of(key.begin(), key.end(), [](QChar c) { return c >= u'0' && c <= u'9'; })) {
        int32_t number = 0;
        for (const QChar c : key) {
            number = number * 10 + (c.unicode() - u'0');
        }
        return number == groupId;
    }
    return key.toDouble() == groupId;
}

}  // namespace

frmSubSystem::frmSubSystem(QWidget* parent, std::shared_ptr<ModuleState> module)
    : EditorDialog(parent, std::move(module)) {
    setWindowTitle(ToQString(kCaption));

    frmCo = new QFrame(this);
    frmCo->setFrameStyle(QFrame::Box | QFrame::Sunken);

    auto field = [this](InputTool::Kind kind, std::string_view caption) {
        auto* tool = new InputTool(kind, frmCo);
        tool->Caption(ToQString(caption));
        return tool;
    };
    inID = field(InputTool::Kind::Number, kIdCaption);
    inID->Min(ranges::kCustomerSubSystems.first);
    inID->Max(ranges::kCustomerSubSystems.last);
    inID->Value(ranges::kCustomerSubSystems.first);
    inIndex = field(InputTool::Kind::Number, kIndexCaption);
    inIndex->Min(0);
    inIndex->Max(1000);
    inNumber = field(InputTool::Kind::Text, kNumberCaption);
    inName = field(InputTool::Kind::Text, kNameCaption);
    inNameCHT = field(InputTool::Kind::Text, kNameCHTCaption);
    inNameEN = field(InputTool::Kind::Text, kNameENCaption);
    for (InputTool* name : {inName, inNameCHT, inNameEN}) {
        name->MaxLength(kNameMaxLength);
    }
    inGroup = field(InputTool::Kind::DropDown, kGroupCaption);
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
    AddField(*rows, *inID, 2655, kFieldHeight);
    AddField(*rows, *inIndex, 2655, kFieldHeight);
    for (InputTool* text : {inNumber, inName, inNameCHT, inNameEN, inGroup}) {
        AddField(*rows, *text, 4320, kFieldHeight);
    }
    AddField(*rows, *inVisible, 2235, kFieldHeight);
    AddField(*rows, *InWeb, 2475, kFieldHeight);
    AddWide(*rows, *lblFitAcct, 1455, 255);
    AddWide(*rows, *vaSpread, 4335, 1815, 1);

    NameControls({{frmCo, "frmCo"},
                  {inID, "inID"},
                  {inIndex, "inIndex"},
                  {inNumber, "inNumber"},
                  {inName, "inName"},
                  {inNameCHT, "inNameCHT"},
                  {inNameEN, "inNameEN"},
                  {inGroup, "inGroup"},
                  {inVisible, "inVisible"},
                  {InWeb, "InWeb"},
                  {lblFitAcct, "lblFitAcct"},
                  {vaSpread, "vaSpread"},
                  {cmdSave, "cmdSave"},
                  {cmdCancel, "cmdCancel"}});
    NameAfterCaptions(*lblFitAcct, *vaSpread, {cmdSave, cmdCancel});

    QWidget* const tabOrder[] = {inID,    inIndex,   inNumber, inName,   inNameCHT, inNameEN,
                                 inGroup, inVisible, InWeb,    vaSpread, cmdSave,   cmdCancel};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i) {
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    }

    connect(cmdSave, &QPushButton::clicked, this, &frmSubSystem::cmdSave_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSubSystem::cmdCancel_Click);
    for (InputTool* walker : {inID, inIndex, inNumber, inName, inGroup}) {
        connect(walker, &InputTool::EnterPressed, walker, &InputTool::FocusNextField);
    }
}

frmSubSystem::~frmSubSystem() = default;

void frmSubSystem::Form_Load() {
    KeyPreview(true);
    SetCaptions();
    ApplyFormFont(*module_, *this);

    const RecordsetPtr accountTypes = GetAccountTypes(*module_);
    const bool haveAccountTypes =
        accountTypes && accountTypes->State() != 0 && !accountTypes->Eof();

    // Without account types the dialog still lists the groups and shows the edited
    // subsystem; saving then reports that no account type is chosen.
    for (InputTool* name : {inNameCHT, inNameEN, inName}) {
        name->MaxLength(kNameMaxLength);
    }
    const std::string_view groupNameKey = GroupNameKey(GetPropValue(*module_, kLanguageKey));

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

    SubSysGroup lister(module_);
    const VectorPtr groups = lister.GetAllSubSysGroup();
    for (std::size_t i = 0; i < groups->Count(); ++i) {
        const DictionaryPtr entry = groups->Item(i).AsDictionary();
        if (entry) {
            inGroup->AddItem(ToQString(entry->Item(groupNameKey).TextOrEmpty()),
                             ToQString(entry->Item("ID").ToText()));
        }
    }
    SelectGroup(objSubSysGroup ? objSubSysGroup->Id() : -1);

    if (lngStatus == kStatusEdit) {
        FillFromSubSystem();
        if (!objSubSystem) {
            throw ComError(ErrorNumber(FoundationError::MissingObject), "frmSubSystem.Form_Load",
                           "The group has no subsystem to edit under this identifier.");
        }
        StartEditing();
        inID->setEnabled(false);
    }
    if (vaSpread->MaxRows() > 0) {
        vaSpread->setCurrentCell(0, SpreadGrid::kTextColumn - 1);
        vaSpread->SetBlock(1, SpreadGrid::kTextColumn, 1, SpreadGrid::kTextColumn);
    }
}

void frmSubSystem::SetCaptions() {
    const auto local = [this](std::string_view text) {
        return ToQString(GetLocalText(*module_, text));
    };
    setWindowTitle(local(kCaption));
    cmdCancel->setText(local(kCancelCaption));
    cmdSave->setText(local(kSaveCaption));
    inNumber->Caption(local(kNumberCaption));
    inName->Caption(local(kNameCaption));
    inNameCHT->Caption(local(kNameCHTCaption));
    inNameEN->Caption(local(kNameENCaption));
    inGroup->Caption(local(kGroupCaption));
    inIndex->Caption(local(kIndexCaption));
    inID->Caption(local(kIdCaption));
    inVisible->Caption(local(kVisibleCaption));
    InWeb->Caption(local(kWebCaption));
    lblFitAcct->setText(local(kFitAcctCaption));
    NameAfterCaptions(*lblFitAcct, *vaSpread, {cmdSave, cmdCancel});
    if (lngStatus == kStatusAdd && bIsBROXAddition) {
        inID->Min(ranges::kBroxSubSystems.first);
        inID->Text(QString::number(ranges::kBroxSubSystems.first));
        inID->Max(ranges::kBroxSubSystems.last);
    }
}

void frmSubSystem::FillFromSubSystem() {
    if (!objSubSystem) {
        return;
    }
    try {
        const SubSystem& edited = *objSubSystem;
        inID->Value(edited.Id());
        inName->Text(ToQString(edited.NameCHS()));
        inNameCHT->Text(ToQString(edited.NameCHT()));
        inNameEN->Text(ToQString(edited.NameEN()));
        inIndex->Value(edited.Index());
        inVisible->Value(edited.Visible() ? 1 : 0);
        inNumber->Text(ToQString(edited.Number()));
        InWeb->Value(edited.WebVisible() ? 1 : 0);
        SelectGroup(edited.SubSystemGroupID());
        const std::string& fitAccountType = edited.FitAccountType();
        for (int row = 1; row <= vaSpread->MaxRows(); ++row) {
            const std::string key = SplitKeyedText(ToStdString(vaSpread->CellText(row)), true);
            vaSpread->CheckValue(row, fitAccountType.find("," + key + ",") != std::string::npos);
        }
    } catch (...) {
        // The fields not reached keep their defaults.
    }
}

bool frmSubSystem::Save() {
    try {
        if (!objSubSystem) {
            objSubSystem = SubSystem::Create(module_);
        }
        if (!objSubSysGroup) {
            objSubSysGroup = std::make_shared<SubSysGroup>(module_);
        }
        SubSystem& edited = *objSubSystem;

        const std::string accountTypes = AccountTypeList();
        if (accountTypes == ",") {
            RaiseLocalized(*module_, kNoAccountType);
        }
        const QString group = inGroup->Text();
        edited.SubSystemGroupID(
            group.isEmpty() ? -1 : Variant(SplitKeyedText(ToStdString(group), true)).ToInt32());
        if (lngStatus == kStatusAdd) {
            DictionaryPtr info;
            if (GetDataFlowInfo(*module_).GetSubSystemInfo(inID->Value(), info)) {
                RaiseLocalized(*module_, kCodeExists);
            }
        }
        edited.Id(Variant(inID->Value()).ToInt32());

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
        CheckForbidden(*inNumber, kForbiddenInNumber);
        CheckForbidden(*inName, kForbiddenInName);
        CheckForbidden(*inNameCHT, kForbiddenInNameCHT);
        CheckForbidden(*inNameEN, kForbiddenInNameEN);

        auto names = Dictionary::Create();
        names->Item("CHS", name);
        names->Item("CHT", nameCHT);
        names->Item("EN", nameEN);
        edited.DictName(std::move(names));

        edited.Index(Variant(inIndex->Value()).ToInt32());
        edited.Number(ToStdString(inNumber->Text()));
        edited.Visible(inVisible->Value() != 0);
        edited.WebVisible(InWeb->Value() != 0);
        edited.FitAccountType(accountTypes);

        if (lngStatus == kStatusEdit) {
            edited.Modified(true);
            objSubSysGroup->UpdateSubSystem(objSubSystem);
        } else {
            objSubSysGroup->AddSubSystem(objSubSystem);
        }
        objSubSysGroup->OptType(enm_OptType_SubSystem);
        // The group skips a subsystem whose write fails and reports it only by its result; the
        // dialog holds just this one, so false means it was not written.
        if (!objSubSysGroup->Save()) {
            errors::RethrowIfChangedElsewhere(objSubSysGroup->LastSaveFailure());
            RaiseLocalized(*module_, kNotSaved, objSubSysGroup->LastSaveFailure());
        }
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

void frmSubSystem::StartEditing() {
    SubSystem& edited = *objSubSystem;
    edited.SubSystemID_Old(edited.Id());
    edited.SubSystemName_Old(edited.Name());
    edited.SubSystemNameCHS_Old(edited.NameCHS());
    edited.SubSystemNameCHT_Old(edited.NameCHT());
    edited.SubSystemNameEN_Old(edited.NameEN());
}

void frmSubSystem::ShowStored() {
    const int32_t id = objSubSystem->SubSystemID_Old();
    auto group = std::make_shared<SubSysGroup>(module_);  // a new object reads afresh
    DictionaryPtr stored;
    if (!GetDataFlowInfo(*module_).GetSubSystemInfo(id, stored)) {
        ShowMessage(*module_, GetLocalText(*module_, kItemDeletedElsewhere), kMessageBoxWarning);
        return;
    }
    group->Id(stored->Item("FTopClassID").ToInt32());
    objSubSystem = group->GetSubSystem(id, false);
    objSubSysGroup = std::move(group);
    FillFromSubSystem();
    StartEditing();
    inID->setFocus();
}

void frmSubSystem::Form_Activate() {
    inID->setFocus();
}

void frmSubSystem::Form_KeyDown(int16_t& KeyCode, int16_t Shift) {
    if (Shift == 0 && HandleHelpKey(*module_, KeyCode, kSubSystemEditorHelpTopic, "", 0, "", 0)) {
        KeyCode = 0;
    }
}

void frmSubSystem::cmdSave_Click() {
    if (Save()) {
        accept();
    }
}

void frmSubSystem::cmdCancel_Click() {
    reject();
}

std::string frmSubSystem::AccountTypeList() const {
    std::string list = ",";
    for (int row = 1; row <= vaSpread->MaxRows(); ++row) {
        if (vaSpread->CheckValue(row) != 0) {
            list += SplitKeyedText(ToStdString(vaSpread->CellText(row)), true) + ",";
        }
    }
    return list;
}

void frmSubSystem::SelectGroup(int32_t groupId) {
    // Every entry is compared, so of several with the identifier the last one stays selected.
    for (int i = 0; i < inGroup->ListCount(); ++i) {
        if (KeyIsGroup(inGroup->ListKey(i), groupId) && !inGroup->List(i).isEmpty()) {
            inGroup->ListIndex(i);
        }
    }
}

void frmSubSystem::FocusOnError(int32_t offset) {
    switch (offset) {
        case 1001:
        case 1011:
            inID->setFocus();
            break;
        case 1009:
        case 1013:
            inName->setFocus();
            break;
        case 1015:
            vaSpread->setFocus();
            break;
        case 1019:
        case 1023:
            inNameCHT->setFocus();
            break;
        case 1029:
        case 1033:
            inNameEN->setFocus();
            break;
        default:
            break;  // the focus stays where it is
    }
}

}  // namespace quarn::subsysmgr
