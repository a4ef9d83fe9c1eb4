// Save: the pending changes of the group or of its subsystems written back as delete plus
// create, one transaction per item, with deletions guarded by the row version read wherever the
// update component can compare versions.

#include <string>
#include <vector>

#include "host/IClassInfo.h"
#include "host/IDatasInfo.h"
#include "host/IDatasUpdate.h"
#include "host/IMessageBox.h"
#include "host/ProgIds.h"
#include "model/ModelErrors.h"
#include "model/SubSysGroup.h"
#include "model/UpdateTransaction.h"
#include "runtime/DiagnosticLog.h"
#include "runtime/LocalText.h"
#include "runtime/MessageBox.h"
#include "runtime/SessionContext.h"

namespace quarn::subsysmgr {

namespace {

int32_t ShowSysType(bool visible, bool webVisible) {
    return (visible ? 1 : 0) + (webVisible ? 2 : 0);
}

DictionaryPtr SubSystemRecord(const SubSystem& subSystem) {
    const DictionaryPtr record = Dictionary::Create();
    record->Item("FSubSysID", subSystem.Id());
    record->Item("FSysName", subSystem.NameCHS());
    record->Item("FSysNameCHT", subSystem.NameCHT());
    record->Item("FSysNameEN", subSystem.NameEN());
    record->Item("FClassName", subSystem.ClassName());
    record->Item("FSubID", subSystem.Number());
    record->Item("FVisible", subSystem.Visible());
    record->Item("FAcctType", subSystem.FitAccountType());
    record->Item("FShowSysType", ShowSysType(subSystem.Visible(), subSystem.WebVisible()));
    record->Item("FIndex", subSystem.Index());
    return record;
}

// An update component that cannot compare row versions deletes whatever the stored version:
// another user's change since the read is overwritten unnoticed. The session's log says so once.
void NoteUnguardedDeletions(ModuleState& module, const IDatasUpdate& update) {
    if (update.ComparesVersions() || module.unguardedDeletionsNoted) {
        return;
    }
    module.unguardedDeletionsNoted = true;
    LogNote(module,
            "QuarnClassSubSysMgr.SubSysGroup.Save: the update component cannot compare row "
            "versions (no DeleteItemIfUnchanged); stale-save detection is off for this session");
}

// A refused deletion names at most this many of its blockers and counts the others.
constexpr int32_t kNamedBlockers = 10;

RecordsetPtr Query(ModuleState& module, const std::string& sql) {
    const auto classInfo = module.registry->Create<IClassInfo>(progid::kClassInfo);
    return classInfo->GetData(GetPropsString(module), sql);
}

// The line under a refused deletion's message that names what blocks it: the first blockers
// and how many more of `total` there are. Empty when none could be named (all gone by now).
std::string BlockerLine(ModuleState& module, std::string_view templateText, int32_t id,
                        const std::vector<std::string>& named, int32_t total) {
    if (named.empty()) {
        return {};
    }
    std::string list;
    const std::string separator = GetLocalText(module, errors::kBlockerSeparator);
    for (const std::string& blocker : named) {
        list += (list.empty() ? "" : separator) + blocker;
    }
    const int32_t more = total - static_cast<int32_t>(named.size());
    if (more > 0) {
        list = FormatLocalText(module, errors::kMoreBlockers, {list, more});
    }
    return "\n" + FormatLocalText(module, templateText, {id, list});
}

// The subsystems of a group, by identifier.
std::string GroupBlockers(ModuleState& module, int32_t groupId, int32_t total) {
    const RecordsetPtr rows = Query(
        module,
        "select FSubSysID from t_DataFlowSubSystem where FTopClassID=" + std::to_string(groupId) +
            " order by FSubSysID limit " + std::to_string(kNamedBlockers));
    std::vector<std::string> named;
    for (; !rows->Eof(); rows->MoveNext()) {
        named.push_back(std::to_string(rows->Fields("FSubSysID").ToInt32()));
    }
    return BlockerLine(module, errors::kGroupBlockers, groupId, named, total);
}

// The business objects of a subsystem, by identifier, each as "name (identifier)" in the
// session language.
std::string SubSystemBlockers(ModuleState& module, int32_t subSystemId, int32_t total) {
    const std::string language = GetLanguageOrDefault(module);
    const std::string nameColumn =
        language == "CHT" ? "FName_CHT" : (language == "EN" ? "FName_EN" : "FName");
    const RecordsetPtr rows =
        Query(module, "select FID, " + nameColumn + " as FLocalName from ICClassType where " +
                          "FFunctionID=" + std::to_string(subSystemId) + " order by FID limit " +
                          std::to_string(kNamedBlockers));
    std::vector<std::string> named;
    for (; !rows->Eof(); rows->MoveNext()) {
        const std::string id = std::to_string(rows->Fields("FID").ToInt32());
        const std::string name = rows->Fields("FLocalName").TextOrEmpty();
        named.push_back(name.empty() ? id : name + " (" + id + ")");
    }
    return BlockerLine(module, errors::kSubSystemBlockers, subSystemId, named, total);
}

}  // namespace

DictionaryPtr SubSysGroup::GroupRecord() const {
    const DictionaryPtr record = Dictionary::Create();
    record->Item("FTopClassID", id_);
    record->Item("FTopClassName", NameCHS());
    record->Item("FTopClassNameCHT", NameCHT());
    record->Item("FTopClassNameEN", NameEN());
    record->Item("FVisible", visible_);
    record->Item("FAcctType", fitAccountType_);
    record->Item("FShowSysType", ShowSysType(visible_, webVisible_));
    return record;
}

int32_t SubSysGroup::CountRows(const std::string& sql) {
    return Query(*module_, sql)->Fields("FCount").ToInt32();
}

bool SubSysGroup::Save() {
    const auto update = module_->registry->Create<IDatasUpdate>(progid::kDatasUpdate);
    NoteUnguardedDeletions(*module_, *update);
    bool result = false;
    lastSaveFailure_ = nullptr;
    std::vector<SubSystemPtr> rewritten;
    if (optType_ == enm_OptType_SubSystem && subSystems_) {
        for (const SubSystemPtr& subSystem : *subSystems_) {
            try {
                if (subSystem->Modified() || subSystem->IsNew() || subSystem->Deleted()) {
                    result = SaveSubSystem(*update, *subSystem);
                    if (result && !subSystem->Deleted()) {
                        rewritten.push_back(subSystem);
                    }
                }
            } catch (...) {
                // A failed subsystem is rolled back and skipped; the others are still saved.
                lastSaveFailure_ = std::current_exception();
            }
        }
    }
    bool groupRewritten = false;
    if (optType_ == enm_OptType_Group) {
        result = SaveGroup(*update);
        groupRewritten = result && !deleted_;
    }
    GetDataFlowInfo(*module_).initial();
    AdoptStoredVersions(rewritten, groupRewritten);
    return result;
}

// A written item now has the version its write gave it: saving it again from this object is
// not someone else's change.
void SubSysGroup::AdoptStoredVersions(const std::vector<SubSystemPtr>& rewritten,
                                      bool groupRewritten) {
    IDatasInfo& info = GetDataFlowInfo(*module_);
    if (!rewritten.empty()) {
        const RecordsetPtr rows = info.GetSubSystem_All(Variant(int16_t{-1}));
        for (const SubSystemPtr& subSystem : rewritten) {
            rows->Filter("FSubSysID=" + std::to_string(subSystem->Id()));
            if (!rows->Eof()) {
                subSystem->Version(rows->Fields("FVersion").ToInt64());
            }
        }
    }
    if (groupRewritten) {
        const RecordsetPtr groups = info.GetTopClass_All();
        groups->Filter("FTopClassID=" + std::to_string(id_));
        if (!groups->Eof()) {
            version_ = groups->Fields("FVersion").ToInt64();
        }
    }
}

// Runs a rewrite; another user's change to the item since it was read fails it with `stale`.
template <class Write>
void SubSysGroup::Rewrite(const ErrorDefinition& stale, Write&& write) {
    try {
        write();
    } catch (const ComError& error) {
        if (error.Number() != kItemChangedElsewhere) {
            throw;
        }
        RaiseLocalized(*module_, stale, std::current_exception());
    }
}

bool SubSysGroup::SaveSubSystem(IDatasUpdate& update, SubSystem& subSystem) {
    if (subSystem.Modified() || subSystem.IsNew()) {
        UpdateTransaction transaction(update);
        if (subSystem.Modified() && subSystem.SubSystemID_Old() != 0) {
            Rewrite(errors::kSubSystemChangedElsewhere, [&] {
                update.DeleteItemIfUnchanged(Variant(kUpdateItemSubSystem),
                                             subSystem.SubSystemID_Old(), subSystem.Version());
            });
        }
        update.CreateSubSys(subSystem.SubSystemGroupID(), subSystem.Index(),
                            SubSystemRecord(subSystem), true);
        transaction.Commit();
        return true;
    }
    const int32_t businessObjects =
        CountRows("select count(*) as FCount from ICClassType where FFunctionID=" +
                  std::to_string(subSystem.Id()));
    if (businessObjects > 0) {
        ShowMessage(*module_,
                    subSystem.Name() +
                        GetLocalText(*module_, errors::kSubSystemHasBusinessObjects) +
                        SubSystemBlockers(*module_, subSystem.Id(), businessObjects),
                    kMessageBoxWarning);
        return false;
    }
    UpdateTransaction transaction(update);
    Rewrite(errors::kSubSystemChangedElsewhere, [&] {
        update.DeleteItemIfUnchanged(Variant(kUpdateItemSubSystem), subSystem.Id(),
                                     subSystem.Version());
    });
    transaction.Commit();
    return true;
}

bool SubSysGroup::SaveGroup(IDatasUpdate& update) {
    if (isNew_) {
        UpdateTransaction transaction(update);
        update.CreateTopClass(index_, GroupRecord(), true);
        transaction.Commit();
        return true;
    }
    if (!deleted_ && !modified_) {
        return false;
    }
    if (deleted_) {
        const int32_t subSystems =
            CountRows("select count(*) as FCount from t_DataFlowSubSystem where FTopClassID=" +
                      std::to_string(id_));
        if (subSystems > 0) {
            ShowMessage(*module_,
                        GetLocalText(*module_, errors::kGroupHasSubSystems) +
                            GroupBlockers(*module_, id_, subSystems),
                        kMessageBoxWarning);
            return false;
        }
    }
    UpdateTransaction transaction(update);
    Rewrite(errors::kGroupChangedElsewhere,
            [&] { update.DeleteItemIfUnchanged(Variant(kUpdateItemGroup), id_, version_); });
    if (modified_) {
        update.CreateTopClass(index_, GroupRecord(), true);
    }
    transaction.Commit();
    return true;
}

}  // namespace quarn::subsysmgr
