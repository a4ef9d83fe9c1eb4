#include "exchange/TreeCheck.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <future>
#include <map>
#include <unordered_map>
#include <unordered_set>

#include "exchange/TreeItems.h"
#include "exchange/TreeReader.h"
#include "foundation/Recordset.h"
#include "foundation/RecordsetFilter.h"
#include "foundation/Utf8Text.h"
#include "host/IChangeHistory.h"
#include "host/IMessageFormatter.h"
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
constexpr Rule kValueRule{"value-rule", "rules on values kept by the database",
                          "Run subsysmgr repair (on PostgreSQL as the database's owner)."};
constexpr Rule kLogSeal{"log-seal", "change log as it was sealed",
                        "Run subsysmgr history --verify and compare the database with a backup."};
// Delivered items are never changed by the editors.
constexpr std::string_view kDeliveredRemedy =
    "Correct the row with SQL: the editors do not change delivered items.";

constexpr std::string_view kDatabase = "database";
constexpr std::array<std::string_view, 3> kLanguages{"CHS", "CHT", "EN"};
constexpr std::array<std::string_view, 3> kNameKeys{"names.CHS", "names.CHT", "names.EN"};
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

// Most rows of a damaged tree share their findings' texts: the rule texts, remedies, the editors'
// messages without row-specific arguments and the templates are made once per check, and an
// item's caption only for a row with a finding.
class Checker {
  public:
    Checker(const std::shared_ptr<ModuleState>& module, const ExchangeText& text)
        : module_(module), text_(text) {
        const std::string language = GetLanguageOrDefault(*module);
        const auto at = std::find(kLanguages.begin(), kLanguages.end(), language);
        itemLanguage_ =
            at == kLanguages.end() ? 0 : static_cast<std::size_t>(at - kLanguages.begin());
        // The account types as the database holds them now, not as a reader kept them.
        GetDataFlowInfo(*module).ClearCache();
        const RecordsetPtr types = GetAccountTypes(*module);
        if (types && types->State() != 0) {
            for (types->MoveFirst(); !types->Eof(); types->MoveNext()) {
                accountTypes_.insert(types->Fields("FAcctType").ToInt32());
            }
            types->Close();
        }
    }

    void Group(const GroupRow& row) {
        Begin(kGroup, {row.id, {row.nameCHS, row.nameCHT, row.nameEN}, row.index, row.accountTypes},
              0);
        Common();
        groups_.insert(row.id);
        for (std::size_t language = 0; language < kLanguages.size(); ++language) {
            groupNames_[language].emplace(std::string(row_.names[language]), row.id);
            const std::string_view trimmed = text::TrimBlanks(row_.names[language]);
            if (trimmed != row_.names[language] && !trimmed.empty()) {
                groupTrimmed_.push_back({row.id, Item(), 0, language, std::string(trimmed)});
            }
        }
    }

    void SubSystem(const SubSystemRow& row) {
        Begin(kSubSystem,
              {row.id, {row.nameCHS, row.nameCHT, row.nameEN}, row.index, row.accountTypes},
              row.group);
        Common();
        if (!groups_.contains(row.group)) {
            Add(kGroupMissing, "group", 0, text_.Format("Group %1 does not exist.", {row.group}));
        }
        if (!rules::IsCleanText(row.number)) {
            AddError(kNumberText, "number", model_errors::kSubSystemNumberNotText,
                     FixedMessage(model_errors::kSubSystemNumberNotText));
        } else if (!rules::FitsNameLength(row.number)) {
            AddError(kNumberLength, "number", model_errors::kTooLong,
                     LengthMessage(subsystem_editor::kNumberCaption));
        }
        if (const auto forbidden = rules::ForbiddenCharIn(row.number)) {
            AddError(kNumberForbidden, "number", model_errors::kForbiddenInSubSystemNumber,
                     ForbiddenMessage(model_errors::kForbiddenInSubSystemNumber, *forbidden));
        }
        for (std::size_t language = 0; language < kLanguages.size(); ++language) {
            const std::string_view trimmed = text::TrimBlanks(row_.names[language]);
            if (trimmed != row_.names[language] && !trimmed.empty()) {
                subSystemTrimmed_.push_back(
                    {row.id, Item(), row.group, language, std::string(trimmed)});
            }
        }
    }

    // The names the editors would refuse as taken: compared with all other groups, and a
    // subsystem's with its group's other subsystems (read as the editors read them).
    void NamesTaken() {
        for (const TrimmedName& name : groupTrimmed_) {
            const auto other = groupNames_[name.language].find(name.trimmed);
            if (other != groupNames_[name.language].end() && other->second != name.id) {
                Begin(kGroup, name, 0);
                const ErrorDefinition& error = *kGroup.taken[name.language];
                AddError(kNameTaken, kNameKeys[name.language], error, FixedMessage(error));
            }
        }
        IDatasInfo& info = GetDataFlowInfo(*module_);
        for (const TrimmedName& name : subSystemTrimmed_) {
            if (!groups_.contains(name.group)) {
                continue;
            }
            const RecordsetPtr siblings = info.GetSubSystem_All(Variant(name.group));
            siblings->Filter(std::string(kSubSystemNameColumns[name.language]) + "=" +
                             QuoteFilterText(name.trimmed));
            if (siblings->RecordCount() > 0) {
                Begin(kSubSystem, name, name.group);
                const ErrorDefinition& error = *kSubSystem.taken[name.language];
                AddError(kNameTaken, kNameKeys[name.language], error, FixedMessage(error));
            }
            siblings->Close();
        }
    }

    void Protections(const std::vector<std::string>& missing,
                     const std::vector<std::string>& missingValueRules,
                     const std::optional<SealCheck>& seals) {
        kind_ = nullptr;
        group_ = 0;
        row_.id = 0;
        item_ = text_.Text("Database");
        itemMade_ = true;
        for (const std::string& entry : missing) {
            Add(kLogProtection, "", 0, entry);
        }
        for (const std::string& entry : missingValueRules) {
            Add(kValueRule, "", 0, entry);
        }
        if (seals && seals->finding != SealCheck::Finding::Intact &&
            seals->finding != SealCheck::Finding::NotSealed) {
            Add(kLogSeal, "", 0, DescribeSealCheck(*module_, *seals).finding);
        }
    }

    // The reads hand the rows over by code on SQLite (its tables are stored in key order), so
    // only the names taken, found last, and other engines' reads need the sort.
    std::vector<TreeFinding> Findings() {
        const auto order = [](const TreeFinding& finding) {
            const int kind = finding.kind == kGroup.kind       ? 0
                             : finding.kind == kSubSystem.kind ? 1
                                                               : 2;
            return std::pair(kind, finding.id);
        };
        const auto before = [&](const TreeFinding& a, const TreeFinding& b) {
            return order(a) < order(b);
        };
        if (!std::is_sorted(findings_.begin(), findings_.end(), before)) {
            std::stable_sort(findings_.begin(), findings_.end(), before);
        }
        return std::move(findings_);
    }

  private:
    // The row whose findings are added next; its caption is made when the first is.
    void Begin(const KindTexts& kind, const RowFields& fields, int32_t group) {
        kind_ = &kind;
        row_ = fields;
        group_ = group;
        itemMade_ = false;
    }
    void Begin(const KindTexts& kind, const TrimmedName& name, int32_t group) {
        kind_ = &kind;
        row_.id = name.id;
        group_ = group;
        item_ = name.item;
        itemMade_ = true;
    }

    const std::string& Item() {
        if (!itemMade_) {
            const ItemTemplate& split = ItemTemplateOf(*kind_);
            const std::string_view name = row_.names[itemLanguage_];
            if (split.plain) {
                item_.assign(split.beforeCode);
                item_.append(std::to_string(row_.id)).append(split.beforeName).append(name);
                item_.append(split.after);
            } else {
                item_ = Formatter().FormatMessage(split.localized, {row_.id, std::string(name)});
            }
            itemMade_ = true;
        }
        return item_;
    }

    // A caption's localized template, split around its %1 (the code) and %2 (the name) when it
    // holds each once, in that order, and no other '%': then it is filled without the formatter.
    struct ItemTemplate {
        std::string localized;
        bool plain = false;
        std::string beforeCode, beforeName, after;
    };
    const ItemTemplate& ItemTemplateOf(const KindTexts& kind) {
        ItemTemplate& split = kind.group ? groupItem_ : subSystemItem_;
        if (!split.localized.empty()) {
            return split;
        }
        split.localized = text_.Text(kind.itemTemplate);
        const std::string& text = split.localized;
        const std::size_t code = text.find("%1");
        const std::size_t name = text.find("%2");
        const auto percents = std::count(text.begin(), text.end(), '%');
        const auto digitAfter = [&](std::size_t at) {
            return at + 2 < text.size() && text[at + 2] >= '0' && text[at + 2] <= '9';
        };
        if (percents == 2 && code != std::string::npos && name != std::string::npos &&
            code < name && !digitAfter(code) && !digitAfter(name)) {
            split.plain = true;
            split.beforeCode = text.substr(0, code);
            split.beforeName = text.substr(code + 2, name - code - 2);
            split.after = text.substr(name + 2);
        }
        return split;
    }

    // The rules both kinds share: code, names, display order and account types.
    void Common() {
        const KindTexts& kind = *kind_;
        const int32_t id = row_.id;
        if (!(kind.group ? rules::IsGroupCode(id) : rules::IsSubSystemCode(id))) {
            AddError(kCode, "id", kind.codeRange, FixedMessage(kind.codeRange));
        }
        for (std::size_t language = 0; language < kLanguages.size(); ++language) {
            const std::string_view name = row_.names[language];
            const std::string_view trimmed = text::TrimBlanks(name);
            const std::string_view key = kNameKeys[language];
            if (trimmed.empty()) {
                AddError(kNameMissing, key, *kind.empty[language],
                         FixedMessage(*kind.empty[language]));
            } else if (!rules::IsCleanText(name)) {
                AddError(kNameText, key, kind.notText, FixedMessage(kind.notText));
            } else if (!rules::FitsNameLength(trimmed)) {
                AddError(kNameLength, key, model_errors::kTooLong,
                         LengthMessage(kind.captions[language]));
            }
            if (const auto forbidden = rules::ForbiddenCharIn(name)) {
                AddError(kNameForbidden, key, *kind.forbidden[language],
                         ForbiddenMessage(*kind.forbidden[language], *forbidden));
            }
        }
        if (!kIndexRange.Contains(row_.index)) {
            AddError(
                kIndex, "index", model_errors::kOutOfRange,
                Message(model_errors::kOutOfRange, {LocalText(kind.indexCaption), kIndexRange.first,
                                                    kIndexRange.last, row_.index}));
        }
        AccountTypes();
    }

    void AccountTypes() {
        bool any = false;
        std::string_view rest = row_.accountTypes;
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
                AddError(kUnknownAccountType, "accountTypes", model_errors::kAccountTypeNotOffered,
                         Message(model_errors::kAccountTypeNotOffered, {std::string(entry)}));
            }
        }
        if (!any && rules::IsEditable(kind_->group, row_.id)) {
            AddError(kNoAccountType, "accountTypes", kind_->noAccountType,
                     FixedMessage(kind_->noAccountType));
        }
    }

    IMessageFormatter& Formatter() {
        if (!module_->formatter) {
            module_->formatter =
                module_->registry->Create<IMessageFormatter>(progid::kMessageFormatter);
        }
        return *module_->formatter;
    }

    // A text of the editors in the session language, looked up once.
    const std::string& LocalText(std::string_view source) {
        auto [at, added] = localTexts_.try_emplace(source);
        if (added) {
            at->second = GetLocalText(*module_, source);
        }
        return at->second;
    }

    // The editor's message, as FormatLocalText makes it, from the template looked up once.
    SharedText Message(const ErrorDefinition& error, const std::vector<Variant>& arguments) {
        return std::make_shared<const std::string>(
            Formatter().FormatMessage(LocalText(error.message), arguments));
    }

    // A message whose arguments are the same for every row, made once per error and `variant`
    // (what tells its arguments apart).
    template <typename Arguments>
    const SharedText& Once(const ErrorDefinition& error, std::string_view variant,
                           Arguments arguments) {
        auto [at, added] = messages_.try_emplace({&error, variant});
        if (added) {
            at->second = Message(error, arguments());
        }
        return at->second;
    }
    const SharedText& FixedMessage(const ErrorDefinition& error) {
        return Once(error, {}, [] { return std::vector<Variant>{}; });
    }
    const SharedText& LengthMessage(std::string_view caption) {
        return Once(model_errors::kTooLong, caption, [&] {
            return std::vector<Variant>{LocalText(caption), static_cast<int32_t>(kNameMaxLength)};
        });
    }
    const SharedText& ForbiddenMessage(const ErrorDefinition& error, std::string_view character) {
        return Once(error, character, [&] { return std::vector<Variant>{Variant(character)}; });
    }

    // An exchange text (a rule's text or remedy), looked up once.
    const SharedText& Text(std::string_view source) {
        auto [at, added] = texts_.try_emplace(source);
        if (added) {
            at->second = std::make_shared<const std::string>(text_.Text(source));
        }
        return at->second;
    }

    void AddError(const Rule& rule, std::string_view field, const ErrorDefinition& error,
                  SharedText message) {
        Add(rule, field, error.offset, std::move(message));
    }

    // A finding of the current row; of the database when no row is current.
    void Add(const Rule& rule, std::string_view field, int32_t error, SharedText message) {
        const int32_t id = row_.id;
        const bool delivered = kind_ && (kind_->group ? ranges::kDeliveredGroups.Contains(id)
                                                      : ranges::kDeliveredSubSystems.Contains(id));
        findings_.emplace_back(kind_ ? kind_->kind : kDatabase, id, group_, Item(), rule.key,
                               Text(rule.text), std::string(field), error, std::move(message),
                               Text(delivered ? kDeliveredRemedy : rule.remedy));
    }
    void Add(const Rule& rule, std::string_view field, int32_t error, std::string message) {
        Add(rule, field, error, std::make_shared<const std::string>(std::move(message)));
    }

    std::shared_ptr<ModuleState> module_;
    const ExchangeText& text_;
    std::size_t itemLanguage_ = 0;  // the names shown in captions, in the order of kLanguages
    std::unordered_set<int32_t> accountTypes_;
    std::unordered_set<int32_t> groups_;
    std::array<std::unordered_map<std::string, int32_t>, 3> groupNames_;
    std::vector<TrimmedName> groupTrimmed_;
    std::vector<TrimmedName> subSystemTrimmed_;
    std::vector<TreeFinding> findings_;
    std::map<std::string_view, SharedText> texts_;
    ItemTemplate groupItem_;
    ItemTemplate subSystemItem_;
    std::map<std::string_view, std::string> localTexts_;
    std::map<std::pair<const ErrorDefinition*, std::string_view>, SharedText> messages_;
    // The current row: its kind (null for the database), fields, group and caption.
    const KindTexts* kind_ = nullptr;
    RowFields row_{};
    int32_t group_ = 0;
    std::string item_;
    bool itemMade_ = false;
};

}  // namespace

std::vector<TreeFinding> CheckTree(const std::shared_ptr<ModuleState>& module,
                                   const ExchangeText& text,
                                   const std::vector<std::string>& missingProtections,
                                   const std::vector<std::string>& missingValueRules,
                                   bool verifySeals) {
    Checker checker(module, text);
    const std::string session = GetPropsString(*module);
    // Hashing a long log costs as much as checking the rows: the two go on side by side.
    std::future<std::optional<SealCheck>> seals;
    if (verifySeals) {
        const auto history = module->registry->Create<IChangeHistory>(progid::kChangeHistory);
        seals = std::async(std::launch::async, [history, session] {
            return std::optional(history->VerifySeals(session, std::nullopt));
        });
    }
    const auto rows = module->registry->Create<ITreeRows>(progid::kTreeRows);
    rows->ReadTables(
        session, [&](const GroupRow& row) { checker.Group(row); },
        [&](const SubSystemRow& row) { checker.SubSystem(row); });
    checker.NamesTaken();
    checker.Protections(missingProtections, missingValueRules,
                        seals.valid() ? seals.get() : std::nullopt);
    return checker.Findings();
}

}  // namespace quarn::subsysmgr::exchange
