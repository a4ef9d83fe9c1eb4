#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "foundation/Dictionary.h"
#include "foundation/Recordset.h"
#include "foundation/Vector.h"
#include "model/OptType.h"
#include "runtime/LocalizedError.h"
#include "runtime/ModuleState.h"

namespace quarn::subsysmgr {

class SubSystem;
using SubSystemPtr = std::shared_ptr<SubSystem>;

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

    // Plain accessors.
    SubSystemPtr CurrentSubSystem() const { return currentSubSystem_; }
    void CurrentSubSystem(SubSystemPtr vNewValue) { currentSubSystem_ = std::move(vNewValue); }
    const std::string& FitAccountType() const { return fitAccountType_; }
    void FitAccountType(std::string vNewValue) { fitAccountType_ = std::move(vNewValue); }
    int32_t Index() const { return index_; }
    void Index(int32_t vNewValue) { index_ = vNewValue; }
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
    /// A new identifier must lie in 800-899 (error 1007) and makes the group new; an existing
    /// one is accepted whatever its range. -1, -102 and CancelCheck skip the check.
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
    int32_t index_ = 0;
    bool visible_ = false;
    bool webVisible_ = false;
    bool cancelCheck_ = false;
    enm_OptType optType_ = enm_OptType_Group;
};

}  // namespace quarn::subsysmgr
