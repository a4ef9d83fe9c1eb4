#include "exchange/TreeCheck.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <unordered_map>
#include <unordered_set>

#include "exchange/TreeItems.h"
#include "exchange/TreeReader.h"
#include "foundation/Recordset.h"
#include "foundation/RecordsetFilter.h"
#include "foundation/Utf8Text.h"
#include "host/IChangeHistory.h"
#include "host/ITreeRows.h"
#include "host/ProgIds.h"
#include "model/GroupEditorTexts.h"
#include "model/ItemRules.h"
#include "model/ModelErrors.h"
#include "model/SealReport.h"
#include "model/SubSystemEditorTexts.h"
#include "runtime/LocalText.h"
#include "runtime/SessionContext.h"

namespace quarn::subsysmgr::exchange {

namespace {

namespace model_errors = quarn::subsysmgr::errors;

// A rule as the check names it, and what to do about a row that breaks it.
struct Rule {
    std::string_view key;
    std::string_view text;
    std::string_view remedy;
};
constexpr Rule kCode{"code", "code in the range of its kind",
                     "Export what it holds and add it again under a code of its range."};
constexpr Rule kNameMissing{"name-missing", "name given", "Give the name in the editor."};
constexpr Rule kNameLength{"name-length", "name of at most 40 characters",
                           "Shorten the name in the editor."};
constexpr Rule kNameTaken{"name-taken", "name not used by another item",
                          "Rename one of the two items in the editor."};
constexpr Rule kNameText{"name-text", "name is valid text without control characters",
                         "Type the name anew in the editor."};
constexpr Rule kNameForbidden{"name-character", "name without ' _ %",
                              "Remove the character in the editor."};
constexpr Rule kNumberLength{"number-length", "short code of at most 40 characters",
                             "Shorten the short code in the editor."};
constexpr Rule kNumberText{"number-text", "short code is valid text without control characters",
                           "Type the short code anew in the editor."};
constexpr Rule kNumberForbidden{"number-character", "short code without ' _ %",
                                "Remove the character in the editor."};
constexpr Rule kIndex{"index", "display order from 0 to 1000",
                      "Set the display order in the editor."};
constexpr Rule kNoAccountType{"account-type-missing", "at least one account type",
                              "Choose an account type in the editor."};
constexpr Rule kUnknownAccountType{"account-type-unknown", "account types that exist",
                                   "Choose the account types again in the editor."};
constexpr Rule kGroupMissing{"group-missing", "subsystem in an existing group",
                             "Add a group with that code again, or move the subsystem's row to "
                             "another group with SQL."};
constexpr Rule kLogProtection{"log-protection", "change log protected",
                              "Run subsysmgr repair (on PostgreSQL as the database's owner)."};
constexpr Rule kLogSeal{"log-seal", "change log as it was sealed",
                        "Run subsysmgr history --verify and compare the database with a backup."};
// Delivered items are never changed by the editors.
constexpr std::string_view kDeliveredRemedy =
    "Correct the row with SQL: the editors do not change delivered items.";

constexpr std::string_view kDatabase = "database";
constexpr std::array<std::string_view, 3> kLanguages{"CHS", "CHT", "EN"};
constexpr std::array<std::string_view, 3> kSubSystemNameColumns{"FName_CHS", "FName_CHT",
                                                                "FName_EN"};

// The editor's errors and captions for one kind of item.
struct KindTexts {
    std::string_view kind;
    std::string_view itemTemplate;
    bool group;
    const ErrorDefinition& codeRange;
    std::array<const ErrorDefinition*, 3> empty;
    std::array<const ErrorDefinition*, 3> taken;
    std::array<const ErrorDefinition*, 3> forbidden;
    const ErrorDefinition& notText;
    std::array<std::string_view, 3> captions;
    std::string_view indexCaption;
    const ErrorDefinition& noAccountType;
};

const KindTexts kGroup{
    "group",
    "Group %1 %2",
    true,
    model_errors::kGroupIdOutOfRange,
    {&model_errors::kGroupNameEmpty, &model_errors::kGroupNameCHTEmpty,
     &model_errors::kGroupNameENEmpty},
    {&model_errors::kGroupNameTaken, &model_errors::kGroupNameCHTTaken,
     &model_errors::kGroupNameENTaken},
    {&model_errors::kForbiddenInGroupName, &model_errors::kForbiddenInGroupNameCHT,
     &model_errors::kForbiddenInGroupNameEN},
    model_errors::kGroupNameNotText,
    {group_editor::kNameCaption, group_editor::kNameCHTCaption, group_editor::kNameENCaption},
    group_editor::kIndexCaption,
    model_errors::kGroupNoAccountType,
};

const KindTexts kSubSystem{
    "subsystem",
    "Subsystem %1 %2",
    false,
    model_errors::kSubSystemIdOutOfRange,
    {&model_errors::kSubSystemNameEmpty, &model_errors::kSubSystemNameCHTEmpty,
     &model_errors::kSubSystemNameENEmpty},
    {&model_errors::kSubSystemNameTaken, &model_errors::kSubSystemNameCHTTaken,
     &model_errors::kSubSystemNameENTaken},
    {&model_errors::kForbiddenInSubSystemName, &model_errors::kForbiddenInSubSystemNameCHT,
     &model_errors::kForbiddenInSubSystemNameEN},
    model_errors::kSubSystemNameNotText,
    {subsystem_editor::kNameCaption, subsystem_editor::kNameCHTCaption,
     subsystem_editor::kNameENCaption},
    subsystem_editor::kIndexCaption,
    model_errors::kSubSystemNoAccountType,
};

// The fields both kinds of rows have, with the names in the order of kLanguages.
struct RowFields {
    int32_t id;
    std::array<std::string_view, 3> names;
    int32_t index;
    std::string_view accountTypes;
};

// A subsystem whose trimmed name differs from its stored one: the editors compare the trimmed
// name with its siblings' stored names when it is saved.
struct TrimmedName {
    int32_t id;
    std::string item;
    int32_t group;
    std::size_t language;
    std::string trimmed;
};

class Checker {
  public:
    Checker(const std::shared_ptr<ModuleState>& module, const ExchangeText& text)
        : module_(module), text_(text), language_(GetLanguageOrDefault(*module)) {
        const RecordsetPtr types = GetAccountTypes(*module);
        if (types && types->State() != 0) {
            for (types->MoveFirst(); !types->Eof(); types->MoveNext()) {
                accountTypes_.insert(types->Fields("FAcctType").ToInt32());
            }
            types->Close();
        }
    }

    void Group(const GroupRow& row) {
        group_ = 0;
        const RowFields fields{
            row.id, {row.nameCHS, row.nameCHT, row.nameEN}, row.index, row.accountTypes};
        const std::string item = ItemText(kGroup, fields);
        Common(kGroup, fields, item);
        groups_.insert(row.id);
        for (std::size_t language = 0; language < kLanguages.size(); ++language) {
            groupNames_[language].emplace(std::string(fields.names[language]), row.id);
            const std::string_view trimmed = text::TrimBlanks(fields.names[language]);
            if (trimmed != fields.names[language] && !trimmed.empty()) {
                groupTrimmed_.push_back({row.id, item, 0, language, std::string(trimmed)});
            }
        }
    }

    void SubSystem(const SubSystemRow& row) {
        group_ = row.group;
        const RowFields fields{
            row.id, {row.nameCHS, row.nameCHT, row.nameEN}, row.index, row.accountTypes};
        const std::string item = ItemText(kSubSystem, fields);
        Common(kSubSystem, fields, item);
        if (!groups_.contains(row.group)) {
            Add(&kSubSystem, row.id, item, kGroupMissing, "group", 0,
                text_.Format("Group %1 does not exist.", {row.group}));
        }
        if (!rules::IsCleanText(row.number)) {
            AddError(kSubSystem, row.id, item, kNumberText, "number",
                     model_errors::kSubSystemNumberNotText, {});
        } else if (!rules::FitsNameLength(row.number)) {
            AddError(kSubSystem, row.id, item, kNumberLength, "number", model_errors::kTooLong,
                     {GetLocalText(*module_, subsystem_editor::kNumberCaption),
                      static_cast<int32_t>(kNameMaxLength)});
        }
        if (const auto forbidden = rules::ForbiddenCharIn(row.number)) {
            AddError(kSubSystem, row.id, item, kNumberForbidden, "number",
                     model_errors::kForbiddenInSubSystemNumber, {Variant(*forbidden)});
        }
        for (std::size_t language = 0; language < kLanguages.size(); ++language) {
            const std::string_view trimmed = text::TrimBlanks(fields.names[language]);
            if (trimmed != fields.names[language] && !trimmed.empty()) {
                subSystemTrimmed_.push_back(
                    {row.id, item, row.group, language, std::string(trimmed)});
            }
        }
    }

    // The names the editors would refuse as taken: compared with all other groups, and a
    // subsystem's with its group's other subsystems (read as the editors read them).
    void NamesTaken() {
        group_ = 0;
        for (const TrimmedName& name : groupTrimmed_) {
            const auto other = groupNames_[name.language].find(name.trimmed);
            if (other != groupNames_[name.language].end() && other->second != name.id) {
                AddError(kGroup, name.id, name.item, kNameTaken, NameKey(name.language),
                         *kGroup.taken[name.language], {});
            }
        }
        IDatasInfo& info = GetDataFlowInfo(*module_);
        for (const TrimmedName& name : subSystemTrimmed_) {
            if (!groups_.contains(name.group)) {
                continue;
            }
            group_ = name.group;
            const RecordsetPtr siblings = info.GetSubSystem_All(Variant(name.group));
            siblings->Filter(std::string(kSubSystemNameColumns[name.language]) + "=" +
                             QuoteFilterText(name.trimmed));
            if (siblings->RecordCount() > 0) {
                AddError(kSubSystem, name.id, name.item, kNameTaken, NameKey(name.language),
                         *kSubSystem.taken[name.language], {});
            }
            siblings->Close();
        }
    }

    void Protections(const std::vector<std::string>& missing) {
        group_ = 0;
        for (const std::string& entry : missing) {
            Add(nullptr, 0, text_.Text("Database"), kLogProtection, "", 0, entry);
        }
        const auto history = module_->registry->Create<IChangeHistory>(progid::kChangeHistory);
        const std::string session = GetPropsString(*module_);
        if (!history->IsLogged(session)) {
            return;
        }
        const SealCheck check = history->VerifySeals(session, std::nullopt);
        if (check.finding != SealCheck::Finding::Intact &&
            check.finding != SealCheck::Finding::NotSealed) {
            Add(nullptr, 0, text_.Text("Database"), kLogSeal, "", 0,
                DescribeSealCheck(*module_, check).finding);
        }
    }

    std::vector<TreeFinding> Findings() {
        const auto order = [](const TreeFinding& finding) {
            const int kind = finding.kind == kGroup.kind       ? 0
                             : finding.kind == kSubSystem.kind ? 1
                                                               : 2;
            return std::pair(kind, finding.id);
        };
        std::stable_sort(
            findings_.begin(), findings_.end(),
            [&](const TreeFinding& a, const TreeFinding& b) { return order(a) < order(b); });
        return std::move(findings_);
    }

  private:
    static std::string NameKey(std::size_t language) {
        return "names." + std::string(kLanguages[language]);
    }

    std::string ItemText(const KindTexts& kind, const RowFields& fields) const {
        const auto language =
            std::find(kLanguages.begin(), kLanguages.end(), language_) - kLanguages.begin();
        const std::string_view name =
            fields.names[static_cast<std::size_t>(language) < kLanguages.size() ? language : 0];
        return text_.Format(kind.itemTemplate, {fields.id, std::string(name)});
    }

    // The rules both kinds share: code, names, display order and account types.
    void Common(const KindTexts& kind, const RowFields& fields, const std::string& item) {
        const int32_t id = fields.id;
        if (!(kind.group ? rules::IsGroupCode(id) : rules::IsSubSystemCode(id))) {
            AddError(kind, id, item, kCode, "id", kind.codeRange, {});
        }
        for (std::size_t language = 0; language < kLanguages.size(); ++language) {
            const std::string_view name = fields.names[language];
            const std::string_view trimmed = text::TrimBlanks(name);
            const std::string key = NameKey(language);
            if (trimmed.empty()) {
                AddError(kind, id, item, kNameMissing, key, *kind.empty[language], {});
            } else if (!rules::IsCleanText(name)) {
                AddError(kind, id, item, kNameText, key, kind.notText, {});
            } else if (!rules::FitsNameLength(trimmed)) {
                AddError(kind, id, item, kNameLength, key, model_errors::kTooLong,
                         {GetLocalText(*module_, kind.captions[language]),
                          static_cast<int32_t>(kNameMaxLength)});
            }
            if (const auto forbidden = rules::ForbiddenCharIn(name)) {
                AddError(kind, id, item, kNameForbidden, key, *kind.forbidden[language],
                         {Variant(*forbidden)});
            }
        }
        if (!kIndexRange.Contains(fields.index)) {
            AddError(kind, id, item, kIndex, "index", model_errors::kOutOfRange,
                     {GetLocalText(*module_, kind.indexCaption), kIndexRange.first,
                      kIndexRange.last, fields.index});
        }
        AccountTypes(kind, fields, item);
    }

    void AccountTypes(const KindTexts& kind, const RowFields& fields, const std::string& item) {
        bool any = false;
        std::string_view rest = fields.accountTypes;
        while (!rest.empty()) {
            const std::size_t comma = rest.find(',');
            const std::string_view entry = text::TrimBlanks(rest.substr(0, comma));
            rest = comma == std::string_view::npos ? std::string_view{} : rest.substr(comma + 1);
            if (entry.empty()) {
                continue;
            }
            any = true;
            int32_t code = 0;
            const auto [end, failure] =
                std::from_chars(entry.data(), entry.data() + entry.size(), code);
            if (failure != std::errc{} || end != entry.data() + entry.size() ||
                !accountTypes_.contains(code)) {
                AddError(kind, fields.id, item, kUnknownAccountType, "accountTypes",
                         model_errors::kAccountTypeNotOffered, {std::string(entry)});
            }
        }
        if (!any && rules::IsEditable(kind.group, fields.id)) {
            AddError(kind, fields.id, item, kNoAccountType, "accountTypes", kind.noAccountType, {});
        }
    }

    void AddError(const KindTexts& kind, int32_t id, const std::string& item, const Rule& rule,
                  std::string field, const ErrorDefinition& error,
                  const std::vector<Variant>& arguments) {
        Add(&kind, id, item, rule, std::move(field), error.offset,
            FormatLocalText(*module_, error.message, arguments));
    }

    // `kind` is null for the database's own findings.
    void Add(const KindTexts* kind, int32_t id, const std::string& item, const Rule& rule,
             std::string field, int32_t error, std::string message) {
        const bool delivered = kind && (kind->group ? ranges::kDeliveredGroups.Contains(id)
                                                    : ranges::kDeliveredSubSystems.Contains(id));
        findings_.push_back({kind ? kind->kind : kDatabase, id, group_, item, rule.key,
                             text_.Text(rule.text), std::move(field), error, std::move(message),
                             text_.Text(delivered ? kDeliveredRemedy : rule.remedy)});
    }

    std::shared_ptr<ModuleState> module_;
    const ExchangeText& text_;
    std::string language_;
    std::unordered_set<int32_t> accountTypes_;
    std::unordered_set<int32_t> groups_;
    std::array<std::unordered_map<std::string, int32_t>, 3> groupNames_;
    std::vector<TrimmedName> groupTrimmed_;
    std::vector<TrimmedName> subSystemTrimmed_;
    std::vector<TreeFinding> findings_;
    int32_t group_ = 0;  // the group of the subsystem whose findings are being added
};

}  // namespace

std::vector<TreeFinding> CheckTree(const std::shared_ptr<ModuleState>& module,
                                   const ExchangeText& text,
                                   const std::vector<std::string>& missingProtections) {
    Checker checker(module, text);
    const auto rows = module->registry->Create<ITreeRows>(progid::kTreeRows);
    rows->ReadTables(
        GetPropsString(*module), [&](const GroupRow& row) { checker.Group(row); },
        [&](const SubSystemRow& row) { checker.SubSystem(row); });
    checker.NamesTaken();
    checker.Protections(missingProtections);
    return checker.Findings();
}

}  // namespace quarn::subsysmgr::exchange
