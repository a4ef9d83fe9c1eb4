#include "InputChecks.h"

#include <algorithm>
#include <array>
#include <string>

#include "CliErrors.h"
#include "foundation/ComError.h"
#include "foundation/Recordset.h"
#include "foundation/Utf8Text.h"
#include "runtime/LocalText.h"
#include "runtime/SessionContext.h"
#include "ui/GroupEditorTexts.h"
#include "ui/SubSystemEditorTexts.h"

namespace quarn::subsysmgr::cli {

namespace {

// The editors' limits: the length of their name fields, the range of their order field, the
// characters their save refuses (in the order it names them) and the account types they never
// offer.
constexpr std::size_t kNameMaxLength = 40;
constexpr int32_t kIndexMin = 0;
constexpr int32_t kIndexMax = 1000;
constexpr std::array<std::string_view, 3> kForbiddenChars{"'", "_", "%"};
constexpr int32_t kForbiddenCharOffset = 1009;
constexpr std::string_view kForbiddenCharSource = "SAVE";
constexpr std::array<int32_t, 2> kReservedAccountTypes{7, 8};

}  // namespace

const NameRules kGroupNameRules{
    group_editor::kNameEmpty,         group_editor::kNameCHTEmpty,
    group_editor::kNameENEmpty,       group_editor::kNameCaption,
    group_editor::kNameCHTCaption,    group_editor::kNameENCaption,
    group_editor::kForbiddenInName,   group_editor::kForbiddenInNameCHT,
    group_editor::kForbiddenInNameEN,
};

const NameRules kSubSystemNameRules{
    subsystem_editor::kNameEmpty,         subsystem_editor::kNameCHTEmpty,
    subsystem_editor::kNameENEmpty,       subsystem_editor::kNameCaption,
    subsystem_editor::kNameCHTCaption,    subsystem_editor::kNameENCaption,
    subsystem_editor::kForbiddenInName,   subsystem_editor::kForbiddenInNameCHT,
    subsystem_editor::kForbiddenInNameEN,
};

InputChecks::InputChecks(std::shared_ptr<ModuleState> module, const CliText& text)
    : module_(std::move(module)), text_(text) {}

std::vector<int32_t> InputChecks::OfferedAccountTypes() {
    std::vector<int32_t> offered;
    const RecordsetPtr rows = GetAccountTypes(*module_);
    for (rows->MoveFirst(); !rows->Eof(); rows->MoveNext()) {
        const int32_t type = rows->Fields("FAcctType").ToInt32();
        if (std::find(kReservedAccountTypes.begin(), kReservedAccountTypes.end(), type) ==
            kReservedAccountTypes.end()) {
            offered.push_back(type);
        }
    }
    rows->Close();
    return offered;
}

std::vector<int32_t> InputChecks::DefaultAccountTypes() {
    const std::vector<int32_t> offered = OfferedAccountTypes();
    return offered.empty() ? offered : std::vector<int32_t>{offered.front()};
}

void InputChecks::AccountTypes(const std::vector<int32_t>& accountTypes,
                               const ErrorDefinition& noneError) {
    if (accountTypes.empty()) {
        RaiseLocalized(*module_, noneError);
    }
    const std::vector<int32_t> offered = OfferedAccountTypes();
    for (const int32_t type : accountTypes) {
        if (std::find(offered.begin(), offered.end(), type) == offered.end()) {
            text_.Raise(errors::kAccountType, {type});
        }
    }
}

Names InputChecks::RequiredNames(const Names& names, const NameRules& rules) {
    const Names trimmed{std::string(text::TrimBlanks(names.chs)),
                        std::string(text::TrimBlanks(names.cht)),
                        std::string(text::TrimBlanks(names.en))};
    const std::array<std::pair<const std::string*, const ErrorDefinition*>, 3> required{{
        {&trimmed.chs, &rules.emptyCHS},
        {&trimmed.cht, &rules.emptyCHT},
        {&trimmed.en, &rules.emptyEN},
    }};
    for (const auto& [name, empty] : required) {
        if (name->empty()) {
            RaiseLocalized(*module_, *empty);
        }
    }
    const std::array<std::pair<const std::string*, std::string_view>, 3> captioned{{
        {&trimmed.chs, rules.captionCHS},
        {&trimmed.cht, rules.captionCHT},
        {&trimmed.en, rules.captionEN},
    }};
    for (const auto& [name, caption] : captioned) {
        // A name that is no valid UTF-8 is the business object's to refuse.
        if (text::IsValidUtf8(*name) && text::CodePointCount(*name) > kNameMaxLength) {
            text_.Raise(errors::kNameTooLong,
                        {GetLocalText(*module_, caption), static_cast<int32_t>(kNameMaxLength)});
        }
    }
    return trimmed;
}

void InputChecks::NoForbiddenChars(const Names& names, const NameRules& rules) {
    Forbidden(names.chs, rules.forbiddenCHS);
    Forbidden(names.cht, rules.forbiddenCHT);
    Forbidden(names.en, rules.forbiddenEN);
}

void InputChecks::Number(std::string_view number, std::string_view forbiddenTemplate) {
    Forbidden(number, forbiddenTemplate);
}

void InputChecks::Index(int32_t index, std::string_view caption) {
    if (index < kIndexMin || index > kIndexMax) {
        text_.Raise(errors::kOutOfRange,
                    {GetLocalText(*module_, caption), kIndexMin, kIndexMax, index});
    }
}

void InputChecks::Forbidden(std::string_view text, std::string_view templateText) {
    for (const std::string_view forbidden : kForbiddenChars) {
        if (text.find(forbidden) != std::string_view::npos) {
            throw ComError(ObjectError(kForbiddenCharOffset), std::string(kForbiddenCharSource),
                           FormatLocalText(*module_, templateText, {Variant(forbidden)}));
        }
    }
}

}  // namespace quarn::subsysmgr::cli
