#include "ui/frmSubSystem.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>
#include <vector>

#include "foundation/Dictionary.h"
#include "foundation/FoundationErrors.h"
#include "foundation/Utf8Text.h"
#include "foundation/Variant.h"
#include "foundation/Vector.h"
#include "host/IMessageBox.h"
#include "model/IdRanges.h"
#include "model/ModelErrors.h"
#include "model/SubSystemEditorTexts.h"
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

using namespace subsystem_editor;
namespace labels = field_labels;

namespace {

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
    inID = field(InputTool::Kind::Number, labels::kSubSystemId);
    inID->Min(ranges::kCustomerSubSystems.first);
    inID->Max(ranges::kCustomerSubSystems.last);
    inID->Value(ranges::kCustomerSubSystems.first);
    inIndex = field(InputTool::Kind::Number, labels::kSubSystemIndex);
    inIndex->Min(0);
    inIndex->Max(1000);
    inNumber = field(InputTool::Kind::Text, labels::kSubSystemNumber);
    inName = field(InputTool::Kind::Text, labels::kSubSystemName);
    inNameCHT = field(InputTool::Kind::Text, labels::kSubSystemNameCHT);
    inNameEN = field(InputTool::Kind::Text, labels::kSubSystemNameEN);
    for (InputTool* name : {inName, inNameCHT, inNameEN}) {
        name->MaxLength(static_cast<int>(kNameMaxLength));
    }
    inGroup = field(InputTool::Kind::DropDown, labels::kSubSystemGroup);
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

    TabOrder({inID, inIndex, inNumber, inName, inNameCHT, inNameEN, inGroup, inVisible, InWeb,
              vaSpread, cmdSave, cmdCancel});

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

    // Without account types the dialog still lists the groups and shows the edited
    // subsystem; saving then reports that no account type is chosen.
    input_ = std::make_unique<SubSystemInput>(module_, lngStatus, bIsBROXAddition);
    for (InputTool* name : {inNameCHT, inNameEN, inName}) {
        name->MaxLength(static_cast<int>(kNameMaxLength));
    }
    const std::string_view groupNameKey = GroupNameKey(GetPropValue(*module_, kLanguageKey));
    ShowAccountTypes(*vaSpread, input_->OfferedAccountTypes());
    ShowAccountTypeChoice(*vaSpread, *input_);

    SubSysGroup lister(module_);
    const VectorPtr groups = lister.GetAllSubSysGroup();
    std::vector<std::pair<QString, QString>> entries;
    entries.reserve(groups->Count());
    for (std::size_t i = 0; i < groups->Count(); ++i) {
        const DictionaryPtr entry = groups->Item(i).AsDictionary();
        if (entry) {
            entries.emplace_back(ToQString(entry->Item(groupNameKey).TextOrEmpty()),
                                 ToQString(entry->Item("ID").ToText()));
        }
    }
    inGroup->AddItems(std::move(entries));
    SelectGroup(objSubSysGroup ? objSubSysGroup->Id() : -1);

    if (lngStatus == kStatusEdit) {
        FillFromSubSystem();
        if (!objSubSystem) {
            throw ComError(ErrorNumber(FoundationError::MissingObject), "frmSubSystem.Form_Load",
                           "The group has no subsystem to edit under this identifier.");
        }
        inID->setEnabled(false);
    } else if (lngStatus == kStatusAdd) {
        input_->id = input_->NextFreeCode().value_or(input_->CodeRange().first);
        inID->Value(input_->id);
    }
    SelectFirstAccountType(*vaSpread);
}

void frmSubSystem::SetCaptions() {
    const auto local = [this](std::string_view text) {
        return ToQString(GetLocalText(*module_, text));
    };
    setWindowTitle(local(kCaption));
    cmdCancel->setText(local(kCancelCaption));
    cmdSave->setText(local(kSaveCaption));
    inNumber->Caption(local(labels::kSubSystemNumber));
    inName->Caption(local(labels::kSubSystemName));
    inNameCHT->Caption(local(labels::kSubSystemNameCHT));
    inNameEN->Caption(local(labels::kSubSystemNameEN));
    inGroup->Caption(local(labels::kSubSystemGroup));
    inIndex->Caption(local(labels::kSubSystemIndex));
    inID->Caption(local(labels::kSubSystemId));
    inVisible->Caption(local(labels::kVisible));
    InWeb->Caption(local(labels::kWeb));
    lblFitAcct->setText(local(labels::kAccountTypes));
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
        SubSystemInput& input = Input();
        input.Load(objSubSysGroup, objSubSystem);
        ShowSharedFields(input, Widgets(), 1);
        inNumber->Text(ToQString(input.number));
        SelectGroup(input.group);
    } catch (...) {
        // The fields not reached keep their defaults.
    }
}

bool frmSubSystem::Save() {
    return SaveInput(
        [this]() -> EditorInput& {
            SubSystemInput& input = Input();
            input.Use(objSubSysGroup, objSubSystem);
            const QString group = inGroup->Text();
            input.group =
                group.isEmpty() ? -1 : Variant(SplitKeyedText(ToStdString(group), true)).ToInt32();
            TakeSharedFields(Widgets(), input);
            input.number = ToStdString(inNumber->Text(), input.number);
            return input;
        },
        [this] {
            objSubSystem = input_->Edited();
            objSubSysGroup = input_->Owner();
        });
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
    inID->setFocus();
}

SubSystemInput& frmSubSystem::Input() {
    if (!input_) {
        input_ = std::make_unique<SubSystemInput>(module_, lngStatus, bIsBROXAddition);
    }
    return *input_;
}

void frmSubSystem::Form_Activate() {
    inID->setFocus();
}

void frmSubSystem::Form_KeyDown(int16_t& KeyCode, int16_t Shift) {
    if (Shift == 0 && HandleHelpKey(*module_, KeyCode, kSubSystemEditorHelpTopic, "", 0, "", 0)) {
        KeyCode = 0;
    }
}

void frmSubSystem::SelectGroup(int32_t groupId) {
    // Every entry is compared, so of several with the identifier the last one stays selected.
    for (int i = 0; i < inGroup->ListCount(); ++i) {
        if (KeyIsGroup(inGroup->ListKey(i), groupId) && !inGroup->List(i).isEmpty()) {
            inGroup->ListIndex(i);
        }
    }
}

void frmSubSystem::FocusOn(InputField field) {
    const std::pair<InputField, QWidget*> widgets[] = {
        {InputField::Id, inID},           {InputField::Index, inIndex},
        {InputField::Number, inNumber},   {InputField::NameCHS, inName},
        {InputField::NameCHT, inNameCHT}, {InputField::NameEN, inNameEN},
        {InputField::Group, inGroup},     {InputField::AccountTypes, vaSpread},
    };
    FocusFieldWidget(field, widgets);
}

}  // namespace quarn::subsysmgr
