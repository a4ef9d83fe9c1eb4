#include "model/EditorInput.h"

#include <algorithm>

#include "foundation/Recordset.h"
#include "foundation/Utf8Text.h"
#include "runtime/LocalText.h"
#include "runtime/SessionContext.h"

namespace quarn::subsysmgr {

namespace {

// Account types the editors never offer, and the one offered only in simplified Chinese.
constexpr int32_t kReservedAccountType1 = 7;
constexpr int32_t kReservedAccountType2 = 8;
constexpr int32_t kSimplifiedOnlyAccountType = 13;

[[noreturn]] void RaiseInputError(ModuleState& module, const ErrorDefinition& error,
                                  const std::vector<Variant>& arguments) {
    throw ComError(error.Number(), std::string(error.source),
                   FormatLocalText(module, error.message, arguments));
}

}  // namespace

EditorInput::EditorInput(std::shared_ptr<ModuleState> module, int32_t status, const Texts& texts)
    : module_(std::move(module)), status_(status), texts_(texts) {}

const std::vector<AccountTypeOffer>& EditorInput::OfferedAccountTypes() {
    if (offered_) {
        return *offered_;
    }
    std::vector<AccountTypeOffer> offered;
    const RecordsetPtr rows = GetAccountTypes(*module_);
    // Without account types the editors still open; saving then reports that none is chosen.
    if (rows && rows->State() != 0) {
        const bool simplifiedChinese = GetSessionLanguage(*module_) == "CHS";
        for (rows->MoveFirst(); !rows->Eof(); rows->MoveNext()) {
            const int32_t code = rows->Fields("FAcctType").ToInt32();
            if (code == kReservedAccountType1 || code == kReservedAccountType2 ||
                (!simplifiedChinese && code == kSimplifiedOnlyAccountType)) {
                continue;
            }
            offered.push_back({code, rows->Fields("FDesc").TextOrEmpty()});
        }
        rows->Close();
    }
    return offered_.emplace(std::move(offered));
}

std::vector<int32_t> EditorInput::DefaultAccountTypes() {
    const auto& offered = OfferedAccountTypes();
    return offered.empty() ? std::vector<int32_t>{} : std::vector<int32_t>{offered.front().code};
}

std::optional<InputFailure> EditorInput::Validate() {
    return Run([this] { Apply(); });
}

std::optional<InputFailure> EditorInput::Save() {
    return Run([this] {
        Apply();
        Write();
    });
}

std::optional<InputFailure> EditorInput::Run(const std::function<void()>& steps) {
    checking_ = InputField::None;
    try {
        steps();
        return std::nullopt;
    } catch (const ComError& error) {
        const auto entry =
            std::find_if(texts_.errorFields.begin(), texts_.errorFields.end(),
                         [&](const ErrorField& known) { return known.offset == error.Offset(); });
        InputField field = entry == texts_.errorFields.end() ? InputField::None : entry->field;
        return InputFailure{error, field == kCheckedField ? checking_ : field};
    }
}

std::string EditorInput::CheckedAccountTypes() {
    Checking(InputField::AccountTypes);
    if (accountTypes.empty()) {
        RaiseLocalized(*module_, texts_.noAccountType);
    }
    const auto& offered = OfferedAccountTypes();
    std::string list = ",";
    for (const int32_t code : accountTypes) {
        if (std::none_of(offered.begin(), offered.end(),
                         [code](const AccountTypeOffer& offer) { return offer.code == code; })) {
            RaiseInputError(*module_, errors::kAccountTypeNotOffered, {code});
        }
        list += std::to_string(code) + ",";
    }
    return list;
}

DictionaryPtr EditorInput::RequiredNames() {
    const std::string chs(text::TrimBlanks(nameCHS));
    const std::string cht(text::TrimBlanks(nameCHT));
    const std::string en(text::TrimBlanks(nameEN));
    const struct {
        const std::string& name;
        const std::string& typed;
        InputField field;
        const ErrorDefinition& empty;
        std::string_view caption;
    } fields[] = {
        {chs, nameCHS, InputField::NameCHS, texts_.nameEmpty, texts_.nameCaption},
        {cht, nameCHT, InputField::NameCHT, texts_.nameCHTEmpty, texts_.nameCHTCaption},
        {en, nameEN, InputField::NameEN, texts_.nameENEmpty, texts_.nameENCaption},
    };
    for (const auto& name : fields) {
        Checking(name.field);
        if (name.name.empty()) {
            RaiseLocalized(*module_, name.empty);
        }
    }
    for (const auto& name : fields) {
        Checking(name.field);
        CheckText(name.typed, texts_.nameNotText);
        CheckLength(name.name, name.caption);
    }
    auto names = Dictionary::Create();
    names->Item("CHS", chs);
    names->Item("CHT", cht);
    names->Item("EN", en);
    return names;
}

void EditorInput::CheckNamesAllowed() {
    Checking(InputField::NameCHS);
    CheckForbidden(nameCHS, texts_.forbiddenInName);
    Checking(InputField::NameCHT);
    CheckForbidden(nameCHT, texts_.forbiddenInNameCHT);
    Checking(InputField::NameEN);
    CheckForbidden(nameEN, texts_.forbiddenInNameEN);
}

void EditorInput::CheckText(std::string_view text, const ErrorDefinition& error) {
    if (!rules::IsCleanText(text)) {
        RaiseLocalized(*module_, error);
    }
}

void EditorInput::CheckForbidden(std::string_view text, const ErrorDefinition& error) {
    if (const auto forbidden = rules::ForbiddenCharIn(text)) {
        RaiseInputError(*module_, error, {Variant(*forbidden)});
    }
}

void EditorInput::CheckLength(std::string_view text, std::string_view caption) {
    if (!rules::FitsNameLength(text)) {
        RaiseInputError(*module_, errors::kTooLong,
                        {GetLocalText(*module_, caption), static_cast<int32_t>(kNameMaxLength)});
    }
}

void EditorInput::CheckIndex() {
    Checking(InputField::Index);
    if (!kIndexRange.Contains(index)) {
        RaiseInputError(*module_, errors::kOutOfRange,
                        {GetLocalText(*module_, texts_.indexCaption), kIndexRange.first,
                         kIndexRange.last, index});
    }
}

void EditorInput::ChooseStoredAccountTypes(std::string_view stored) {
    accountTypes.clear();
    for (const AccountTypeOffer& offer : OfferedAccountTypes()) {
        if (stored.find("," + std::to_string(offer.code) + ",") != std::string_view::npos) {
            accountTypes.push_back(offer.code);
        }
    }
}

}  // namespace quarn::subsysmgr
