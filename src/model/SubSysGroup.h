#pragma once

#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "quarn/foundation/Dictionary.h"
#include "quarn/foundation/Recordset.h"
#include "quarn/foundation/Vector.h"
#include "quarn/host/IDatasUpdate.h"
#include "quarn/model/OptType.h"
#include "quarn/model/SubSystemCollection.h"
#include "quarn/runtime/LocalizedError.h"
#include "quarn/runtime/ModuleState.h"

namespace quarn::subsysmgr {

/// The business object of one subsystem group (a row of t_DataFlowTopClass).
///
/// Create it, load it with initial(), change it through its setters and write it with Save.
/// Validating setters raise ComError with a numbered, localized message and leave every field as
/// it was; failures of the data-flow information component pass through unchanged.
class SubSysGroup {
  public:
    /// Works with the given module state (the loaded component's by default) and makes the
    /// shared data-flow information drop its cache. Passes on a failure to reach it.
    explicit SubSysGroup(std::shared_ptr<ModuleState> module = ModuleState::Current());
    ~SubSysGroup();
    SubSysGroup(const SubSysGroup&) = delete;
    SubSysGroup& operator=(const SubSysGroup&) = delete;

    /// Loads a group. Returns false and clears the record when no group has the identifier;
    /// raises error 1004 (initial) on any failure.
    bool initial(int32_t lngSubSysGroupID);

    /// Every group in display order: one Dictionary (ID, Name, FTopClassName_EN,
    /// FTopClassName_CHT, FShowSysType) per group, all copies. Raises error 1004
    /// (GetAllSubSysGroup) on any failure.
    VectorPtr GetAllSubSysGroup();

    /// Makes the shared data-flow information drop its cache.
    void RefreshDataFlow();

    // The group's subsystems (changed in memory until Save).

    /// Rebuilds SubSystems from the data source: only the requested subsystem for a positive
    /// identifier, every subsystem of the group otherwise. With blnCheckID (and an identifier
    /// of 0 or more) each subsystem's setters check its values as it is filled. Returns the
    /// requested subsystem (also stored as CurrentSubSystem), or nullptr when it is missing or
    /// the identifier is not positive. Never raises: a failed fill keeps what was read before.
    SubSystemPtr GetSubSystem(int32_t m_lngSubSystemID, bool blnCheckID = true);
    /// The first subsystem in SubSystems with the identifier, or nullptr.
    SubSystemPtr Item(int32_t m_lngID) const;
    /// The same as UpdateSubSystem; raises MissingObject without a subsystem.
    void AddSubSystem(SubSystemPtr objSubSys);
    /// Marks the subsystem modified (passing on its refusal, error 1002), removes the first
    /// subsystem with its identifier and appends it at the end. Always returns false.
    bool UpdateSubSystem(SubSystemPtr objSubSys);
    /// Marks the first subsystem with the identifier deleted (passing on its refusal, error
    /// 1003); it stays in the collection. False when there is none.
    bool DeleteSubSystem(int32_t m_lngID);
    /// The collection, or nullptr before the first fill.
    SubSystemCollectionPtr SubSystems() const { return subSystems_; }
    /// The subsystems of every group, straight from the data-flow information.
    RecordsetPtr GetAllSubSystem();

    /// Writes the pending changes: with OptType enm_OptType_SubSystem every modified, new or
    /// deleted subsystem, with enm_OptType_Group the group itself. Each item's writes form one
    /// transaction, so a failed rewrite leaves the stored row as it was. A failed subsystem is
    /// skipped; a failed group write raises. Deletions of items that still have children are
    /// refused with a message box. An item that someone else changed or deleted since it was
    /// read is not written over: its write fails with error 1042 (the store's reason appended).
    /// Ends with the re-read of the shared information.
    /// Returns true when the last subsystem handled (or the group) was written.
    bool Save();
    /// Why the last subsystem that Save skipped failed, or null when none failed.
    std::exception_ptr LastSaveFailure() const { return lastSaveFailure_; }

    // Plain accessors.
    SubSystemPtr CurrentSubSystem() const { return currentSubSystem_; }
    void CurrentSubSystem(SubSystemPtr vNewValue) { currentSubSystem_ = std::move(vNewValue); }
    const std::string& FitAccountType() const { return fitAccountType_; }
    void FitAccountType(std::string vNewValue) { fitAccountType_ = std::move(vNewValue); }
    int32_t Index() const { return index_; }
    void Index(int32_t vNewValue) { index_ = vNewValue; }
    /// The stored row's version when it was read (0 for a new item): Save writes over the row
    /// only while it still has this version.
    int64_t Version() const { return version_; }
    void Version(int64_t value) { version_ = value; }
    bool Visible() const { return visible_; }
    void Visible(bool vNewValue) { visible_ = vNewValue; }
    bool WebVisible() const { return webVisible_; }
    void WebVisible(bool vNewValue) { webVisible_ = vNewValue; }
    bool IsNew() const { return isNew_; }
    int32_t TopClassID_OLD() const { return topClassIdOld_; }
    void TopClassID_OLD(int32_t vNewValue) { topClassIdOld_ = vNewValue; }
    void CancelCheck(bool vNewValue) { cancelCheck_ = vNewValue; }
    enm_OptType OptType() const { return optType_; }
    void OptType(enm_OptType vNewValue) { optType_ = vNewValue; }

    // Validating setters with their getters.
    int32_t Id() const { return id_; }
    /// A new identifier must lie in 800-899, or 10000-19999 for a Brox addition (error 1007),
    /// and makes the group new; an existing one is accepted whatever its range. -1, -102 and
    /// CancelCheck skip the check.
    void Id(int32_t vNewValue);

    /// The name in the session language as the context reports it ("" without a dictionary).
    std::string Name() const;
    /// Stores under the session language (CHS by default); refuses a name that any group has
    /// in that language (error 1014) unless CancelCheck or the name is "".
    void Name(const std::string& vNewValue);
    std::string NameCHS() const;
    void NameCHS(const std::string& vNewValue);  ///< error 1014
    std::string NameCHT() const;
    void NameCHT(const std::string& vNewValue);  ///< error 1024
    std::string NameEN() const;
    void NameEN(const std::string& vNewValue);  ///< error 1034

    DictionaryPtr DictName() const { return dictName_; }
    /// Stores the dictionary itself after checking its CHS, CHT and EN names against every
    /// other group (errors 1014, 1024, 1034); an existing group is not compared with itself.
    /// nullptr clears the names without a check.
    void DictName(DictionaryPtr vNewValue);

    bool Deleted() const { return deleted_; }
    /// Only groups 800-899 may be marked (error 1006); true makes the group not new.
    void Deleted(bool vNewValue);
    bool Modified() const { return modified_; }
    /// Only groups 800-899 and 10000-19999 may be marked (error 1008); true makes the group
    /// not new.
    void Modified(bool vNewValue);

  private:
    void FillSubSystem(const RecordsetPtr& rows, int32_t lngSubSysID, bool blnCheckID);
    void FixUpAccountType(SubSystem& last, int32_t lngSubSysID);
    void AdoptStoredVersions(const std::vector<SubSystemPtr>& rewritten, bool groupRewritten);
    template <class Write>
    void Rewrite(const ErrorDefinition& stale, Write&& write);
    bool SaveSubSystem(IDatasUpdate& update, SubSystem& subSystem);
    bool SaveGroup(IDatasUpdate& update);
    int32_t CountRows(const std::string& sql);
    DictionaryPtr GroupRecord() const;
    void SetNameChecked(const std::string& language, const std::string& name,
                        const ErrorDefinition& duplicateError);
    std::string NameIn(const std::string& language) const;

    std::shared_ptr<ModuleState> module_;

    bool isNew_ = false;
    int32_t topClassIdOld_ = 0;
    SubSystemPtr currentSubSystem_;
    bool deleted_ = false;
    std::string fitAccountType_;
    int32_t id_ = 0;
    bool modified_ = false;
    DictionaryPtr dictName_;
    SubSystemCollectionPtr subSystems_;
    std::exception_ptr lastSaveFailure_;
    int32_t index_ = 0;
    int64_t version_ = 0;
    bool visible_ = false;
    bool webVisible_ = false;
    bool cancelCheck_ = false;
    enm_OptType optType_ = enm_OptType_Group;
};

}  // namespace quarn::subsysmgr
