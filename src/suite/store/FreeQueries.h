#pragma once

#include <string>

#include "host/IClassDefineInfo.h"
#include "host/IClassInfo.h"
#include "host/IRptAction.h"

/// The query components: every statement runs read-only on the database that the context
/// string passed to the call names; a statement that would write raises StoreError ReadOnly.
/// Names come in the context's language under FName.
namespace quarn::suite {

/// QuarnMClass.ClassInfo.
class ClassInfo : public IClassInfo {
  public:
    RecordsetPtr GetData(const std::string& propsString, const std::string& sql) override;
    /// Dictionaries with FID, FName, FBillTypeID and FFunctionID of the ICClassType rows that
    /// the selection admits (an SQL condition), ordered by FID.
    VectorPtr GetClassType(const std::string& propsString, const std::string& selection) override;
};

/// QuarnMClass.ClassDefineInfo.
class ClassDefineInfo : public IClassDefineInfo {
  public:
    RecordsetPtr GetMultiCheckFlows(const std::string& propsString, int32_t subSystemId) override;
    RecordsetPtr GetWorkFlows(const std::string& propsString,
                              const std::string& selection) override;
};

/// QuarnMCrossTab.RptAction.
class RptAction : public IRptAction {
  public:
    /// Every report: FID, FName, FType and FSubSysID.
    RecordsetPtr GetReportRs(const std::string& propsString, int16_t kind) override;
};

}  // namespace quarn::suite
