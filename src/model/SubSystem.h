#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "quarn/foundation/Dictionary.h"
#include "quarn/foundation/Vector.h"
#include "quarn/runtime/LocalizedError.h"
#include "quarn/runtime/ModuleState.h"

namespace quarn::subsysmgr {

class SubSystem;
using SubSystemPtr = std::shared_ptr<SubSystem>;

/// The business object of one subsystem (a row of t_DataFlowSubSystem). Its group fills it,
/// the subsystem editor changes it, and the group's Save writes it; it never writes itself.
///
/// Validating setters raise ComError with a numbered, localized message and leave every field
/// as it was; failures of the data-flow information component pass through unchanged.
class SubSystem {
  public:
    explicit SubSystem(std::shared_ptr<ModuleState> module = ModuleState::Current());
    static SubSystemPtr Create(std::shared_ptr<ModuleState> module = ModuleState::Current());
    ~SubSystem();
    SubSystem(const SubSystem&) = delete;
    SubSystem& operator=(const SubSystem&) = delete;

    // Plain accessors.
    const std::string& Number() const { return number_; }
    void Number(std::string vNewValue) { number_ = std::move(vNewValue); }
    bool Visible() const { return visible_; }
    void Visible(bool vNewValue) { visible_ = vNewValue; }
    bool WebVisible() const { return webVisible_; }
    void WebVisible(bool vNewValue) { webVisible_ = vNewValue; }
    int32_t Index() const { return index_; }
    void Index(int32_t vNewValue) { index_ = vNewValue; }
    /// The stored row's version when it was read (0 for a new item): Save writes over the row
    /// only while it still has this version.
    int64_t Version() const { return version_; }
    void Version(int64_t value) { version_ = value; }
    /// The program identifier of the subsystem's application: a new subsystem names the suite's
    /// own, a stored one keeps the one it has, through every rewrite.
    const std::string& ClassName() const { return className_; }
    void ClassName(std::string value) { className_ = std::move(value); }
    const std::string& FitAccountType() const { return fitAccountType_; }
    void FitAccountType(std::string vNewValue) { fitAccountType_ = std::move(vNewValue); }
    int32_t SubSystemGroupID() const { return subSystemGroupId_; }
    void SubSystemGroupID(int32_t vNewValue) { subSystemGroupId_ = vNewValue; }
    int32_t SubSystemID_Old() const { return subSystemIdOld_; }
    void SubSystemID_Old(int32_t vNewValue) { subSystemIdOld_ = vNewValue; }
    void CancelCheck(bool blnCancel) { cancelCheck_ = blnCancel; }
    bool IsNew() const { return isNew_; }

    // Previous names, as the editor found them; the name checks accept a subsystem's own name.
    std::string SubSystemName_Old() const;  ///< in the current language
    void SubSystemName_Old(const std::string& vNewValue);
    std::string SubSystemNameCHS_Old() const;
    void SubSystemNameCHS_Old(const std::string& vNewValue);
    std::string SubSystemNameCHT_Old() const;
    void SubSystemNameCHT_Old(const std::string& vNewValue);
    std::string SubSystemNameEN_Old() const;
    void SubSystemNameEN_Old(const std::string& vNewValue);

    // Validating setters with their getters.
    int32_t Id() const { return id_; }
    /// Accepts an identifier no subsystem of any group has when it lies in 8000-8999, or in
    /// 100000-199990 for a Brox addition (error 1001), and makes the subsystem new; an existing
    /// identifier only when it is SubSystemID_Old (error 1001). CancelCheck skips the check.
    void Id(int32_t vNewValue);

    /// The name in the current language (the context's, CHS by default).
    std::string Name() const;
    /// Refuses a name another subsystem of the group has in the current language unless it is
    /// SubSystemName_Old (error 1013).
    void Name(const std::string& vNewValue);
    std::string NameCHS() const;
    void NameCHS(const std::string& vNewValue);  ///< error 1013; compared on FName
    std::string NameCHT() const;
    void NameCHT(const std::string& vNewValue);  ///< error 1023
    std::string NameEN() const;
    void NameEN(const std::string& vNewValue);  ///< error 1033

    DictionaryPtr DictName() const { return dictName_; }
    /// Stores the dictionary itself after checking its CHS (on FName_CHS), CHT and EN names
    /// against the group's subsystems (errors 1013, 1023, 1033), each accepted when it equals
    /// the previous name in that language. CancelCheck or nullptr skip the checks.
    void DictName(DictionaryPtr vNewValue);

    bool Modified() const { return modified_; }
    /// Only subsystems 8000-8999 and 100000-199990 may be marked (error 1002).
    void Modified(bool vNewValue);
    bool Deleted() const { return deleted_; }
    /// Only subsystems 8000-8999 without sub-functions may be marked (error 1003).
    void Deleted(bool vNewValue);

    // Business objects of the subsystem.

    /// Five Dictionaries, the first with TBASE, each next one adding TBILL, TMULTICHECK, TFLOW
    /// and TREPORT. Fetched on the first call and then handed out as the same Vector; a failing
    /// listing raises its error and nothing is cached, so the next call fetches again.
    VectorPtr GetAllBusObject();
    /// Bills of ICClassType; nullptr when the class information gave nothing.
    VectorPtr GetBill();
    /// Multi-level approval flows as FID/FName Dictionaries; nullptr on any failure.
    VectorPtr GetMultiCheck();
    /// One Dictionary with the report lists TREPORT_SQL (type 1000), TREPORT_CROSS (1002) and
    /// TREPORT_NEWCROSS (any other type); nullptr when no reports could be read.
    VectorPtr GetReport();

  private:
    // A group's fill hands over stored names, which are taken whatever bytes another program
    // left in them: only a name given as input must be UTF-8.
    friend class SubSysGroup;
    bool fillingStoredNames_ = false;

    VectorPtr GetBaseTypes();
    VectorPtr GetWorkFlowList();
    VectorPtr GetClassTypes(const std::string& selection);
    std::string NameIn(const std::string& language) const;
    std::string OldNameIn(const std::string& language) const;
    void SetOldName(const std::string& language, const std::string& name);
    void SetNameChecked(const std::string& language, const std::string& column,
                        const std::string& name, const std::string& previousName,
                        const ErrorDefinition& duplicateError);

    std::shared_ptr<ModuleState> module_;

    bool isNew_ = false;
    int32_t id_ = 0;
    std::string number_;
    DictionaryPtr dictName_;
    bool visible_ = false;
    bool webVisible_ = false;
    int32_t index_ = 0;
    int64_t version_ = 0;
    std::string className_ = "QuarnBroxActive.Application";
    std::string fitAccountType_;
    bool modified_ = false;
    bool cancelCheck_ = false;
    bool deleted_ = false;
    int32_t subSystemGroupId_ = 0;
    VectorPtr businessObjects_;
    int32_t subSystemIdOld_ = 0;
    DictionaryPtr oldNames_;
};

}  // namespace quarn::subsysmgr
