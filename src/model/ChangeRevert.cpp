#include "model/ChangeRevert.h"

#include <algorithm>
#include <charconv>
#include <string_view>
#include <utility>
#include <vector>

#include "foundation/ComError.h"
#include "host/ProgIds.h"
#include "model/IdRanges.h"
#include "model/ModelErrors.h"
#include "model/SubSysGroup.h"
#include "model/SubSystem.h"
#include "runtime/LocalText.h"
#include "runtime/SessionContext.h"

namespace quarn::subsysmgr {

namespace {

constexpr std::string_view kRevertNote = "revert of change ";
constexpr std::string_view kForcedRevertNote = "forced revert of change ";

// Raises the error with its localized message filled in; the store's reason of `cause` (a full
// disk, a refused write) follows it.
[[noreturn]] void Raise(ModuleState& module, const ErrorDefinition& error,
                        const std::vector<Variant>& arguments,
                        const std::exception_ptr& cause = nullptr) {
    std::string message;
    try {
        message = FormatLocalText(module, error.message, arguments);
    } catch (...) {
        message = GetLocalText(module, error.message);  // the details are lost, not the message
    }
    RaiseWithStoreReason(error, std::move(message), cause);
}

// Items delivered with the suite lie outside the ranges that may be created or changed here.
bool IsDelivered(const TreeItemRef& item) {
    if (item.kind == TreeItemRef::Kind::Group) {
        return !ranges::kCustomerGroups.Contains(item.id) && !ranges::kBroxGroups.Contains(item.id);
    }
    return !ranges::kCustomerSubSystems.Contains(item.id) &&
           !ranges::kBroxSubSystems.Contains(item.id);
}

// A logged value; "" and 0 for one the log lacks.
std::string Text(const Dictionary& values, std::string_view column) {
    const Variant& value = values.Item(column);
    return value.IsEmpty() ? std::string() : value.TextOrEmpty();
}
int32_t Number(const Dictionary& values, std::string_view column) {
    const Variant& value = values.Item(column);
    return value.IsEmpty() || value.IsNull() ? 0 : value.ToInt32();
}

DictionaryPtr Names(const Dictionary& values, std::string_view chs, std::string_view cht,
                    std::string_view en) {
    const DictionaryPtr names = Dictionary::Create();
    names->Item("CHS", Text(values, chs));
    names->Item("CHT", Text(values, cht));
    names->Item("EN", Text(values, en));
    return names;
}

// The fields after the identifier, in the order the group editor sets them.
void SetFields(SubSysGroup& group, const Dictionary& values) {
    group.DictName(Names(values, "FTopClassName_CHS", "FTopClassName_CHT", "FTopClassName_EN"));
    group.Index(Number(values, "FIndex"));
    group.Visible(Number(values, "FVisible") != 0);
    group.WebVisible((Number(values, "FShowSysType") & 2) == 2);
    group.FitAccountType(Text(values, "FAcctType"));
}

// The same for a subsystem, whose group is set first: its names are compared with that
// group's subsystems.
void SetFields(SubSystem& subSystem, const Dictionary& values) {
    subSystem.DictName(Names(values, "FName_CHS", "FName_CHT", "FName_EN"));
    subSystem.Index(Number(values, "FIndex"));
    subSystem.Number(Text(values, "FSUBID"));
    subSystem.Visible(Number(values, "FVisible") != 0);
    subSystem.WebVisible((Number(values, "FShowSysType") & 2) == 2);
    subSystem.FitAccountType(Text(values, "FAcctType"));
    if (const std::string className = Text(values, "FClassName"); !className.empty()) {
        subSystem.ClassName(className);
    }
}

// The item as stored now, loaded as the editors load it.
struct Stored {
    std::shared_ptr<SubSysGroup> group;  // the group, or the subsystem's group
    SubSystemPtr subSystem;
    bool exists = false;
    int64_t version = 0;
};

Stored Load(const std::shared_ptr<ModuleState>& module, const TreeItemRef& item) {
    Stored stored;
    stored.group = std::make_shared<SubSysGroup>(module);  // reads what changed since
    if (item.kind == TreeItemRef::Kind::Group) {
        stored.exists = stored.group->initial(item.id);
        stored.version = stored.group->Version();
        return stored;
    }
    const RecordsetPtr all = stored.group->GetAllSubSystem();
    all->Filter("FSubSysID=" + std::to_string(item.id));
    const int32_t groupId = all->Eof() ? 0 : all->Fields("FTopClassID").ToInt32();
    all->Close();
    if (groupId != 0 && stored.group->initial(groupId)) {
        stored.subSystem = stored.group->GetSubSystem(item.id, false);
    }
    stored.exists = stored.subSystem != nullptr;
    stored.version = stored.exists ? stored.subSystem->Version() : 0;
    return stored;
}

// Clears the note of the revert's write, whether or not the write happened.
class PendingNote {
  public:
    PendingNote(IChangeHistory& history, const std::string& note) : history_(history) {
        history_.NoteNextWrite(note);
    }
    ~PendingNote() {
        try {
            history_.NoteNextWrite({});
        } catch (...) {
            // The store is gone, and the note with it.
        }
    }
    PendingNote(const PendingNote&) = delete;
    PendingNote& operator=(const PendingNote&) = delete;

  private:
    IChangeHistory& history_;
};

}  // namespace

ChangeRevert::ChangeRevert(std::shared_ptr<ModuleState> module) : module_(std::move(module)) {}

std::string ChangeRevert::Note(int64_t change, bool forced) {
    return std::string(forced ? kForcedRevertNote : kRevertNote) + std::to_string(change);
}

std::optional<ChangeRevert::RevertNote> ChangeRevert::ReadNote(const std::string& note) {
    for (const bool forced : {true, false}) {
        const std::string_view prefix = forced ? kForcedRevertNote : kRevertNote;
        if (note.rfind(prefix, 0) != 0) {
            continue;
        }
        int64_t change = 0;
        const char* end = note.data() + note.size();
        const auto [at, error] = std::from_chars(note.data() + prefix.size(), end, change);
        if (error == std::errc() && at == end) {
            return RevertNote{change, forced};
        }
    }
    return std::nullopt;
}

ChangeRevert::Outcome ChangeRevert::Revert(int64_t number, bool force,
                                           std::optional<TreeItemRef> item) {
    ModuleState& module = *module_;
    const auto history = module.registry->Create<IChangeHistory>(progid::kChangeHistory);
    const std::string context = GetPropsString(module);
    if (!history->IsLogged(context)) {
        // An older database gets its log with its first write, which must not be this one.
        RaiseLocalized(module, errors::kNoChangeLog);
    }
    std::vector<ItemChange> changes = history->Change(context, number);
    if (item) {
        std::erase_if(changes, [&](const ItemChange& change) { return change.item != *item; });
    }
    if (changes.empty()) {
        Raise(module, errors::kChangeNotFound, {number});
    }
    if (changes.size() > 1) {
        Raise(module, errors::kChangeOfSeveralItems, {number});
    }
    const ItemChange& change = changes.front();
    if (IsDelivered(change.item)) {
        Raise(module, errors::kChangeOfDeliveredItem, {number});
    }
    // Values someone wrote into the log afterwards are never written back, forced or not.
    if (history->IsSealBroken(context, change.number)) {
        Raise(module, errors::kChangeSealBroken, {number});
    }

    Stored stored = Load(module_, change.item);
    if (!force) {
        // The change is still the item's last one: the item holds what the change wrote. A
        // stored item's row version is its last change; only a deleted one's is read from the
        // log, so an item with a long history costs no more than a new one.
        int64_t last = stored.version;
        if (!stored.exists) {
            const std::vector<ItemChange> since = history->Changes(context, change.item);
            last = since.empty() ? 0 : since.front().number;
        }
        const bool current =
            change.after ? stored.exists && stored.version == change.number : !stored.exists;
        if (last != change.number || !current) {
            Raise(module, errors::kRevertOverLaterChange,
                  {number, std::max({last, stored.version, change.number})});
        }
    }

    Outcome outcome{change.number, change.item, Action::Unchanged, force};
    const DictionaryPtr& before = change.before;
    if (!before && !stored.exists) {
        return outcome;  // forced: a later change deleted what this one added
    }
    outcome.action = !before         ? Action::Deleted
                     : stored.exists ? Action::Restored
                                     : Action::Recreated;
    const std::string note = Note(change.number, force);

    if (change.item.kind == TreeItemRef::Kind::Group) {
        SubSysGroup& group = *stored.group;
        if (outcome.action == Action::Deleted) {
            group.Deleted(true);
        } else {
            if (outcome.action == Action::Recreated) {
                group.Id(change.item.id);
            }
            SetFields(group, *before);
            if (outcome.action == Action::Restored) {
                group.Modified(true);
            }
        }
        group.OptType(enm_OptType_Group);
        PendingNote pending(*history, note);
        if (!group.Save()) {
            Raise(module, errors::kChangeNotReverted, {number});
        }
        return outcome;
    }

    std::shared_ptr<SubSysGroup> group = stored.group;
    if (outcome.action == Action::Deleted) {
        group->DeleteSubSystem(change.item.id);
    } else {
        SubSystemPtr subSystem = stored.subSystem;
        if (outcome.action == Action::Restored) {
            // What the subsystem editor remembers of a loaded subsystem: its own code and names
            // stay allowed.
            subSystem->SubSystemID_Old(subSystem->Id());
            subSystem->SubSystemName_Old(subSystem->Name());
            subSystem->SubSystemNameCHS_Old(subSystem->NameCHS());
            subSystem->SubSystemNameCHT_Old(subSystem->NameCHT());
            subSystem->SubSystemNameEN_Old(subSystem->NameEN());
        } else {
            subSystem = SubSystem::Create(module_);
            group = std::make_shared<SubSysGroup>(module_);
        }
        subSystem->SubSystemGroupID(Number(*before, "FTopClassID"));
        subSystem->Id(change.item.id);
        SetFields(*subSystem, *before);
        group->UpdateSubSystem(subSystem);
    }
    group->OptType(enm_OptType_SubSystem);
    PendingNote pending(*history, note);
    if (!group->Save()) {
        errors::RethrowIfChangedElsewhere(group->LastSaveFailure());
        Raise(module, errors::kChangeNotReverted, {number}, group->LastSaveFailure());
    }
    return outcome;
}

}  // namespace quarn::subsysmgr
