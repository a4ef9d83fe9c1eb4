#pragma once

#include <string>

#include "host/IClassDefineInfo.h"
#include "host/IClassInfo.h"
#include "host/IRptAction.h"
#include "suite/SuiteSession.h"

/// The query components of a session: every statement runs read-only on the database that the
/// context string passed to the call names (the session's own when it names none); a statement that
/// would write raises StoreError ReadOnly. Names come in the context's language under FName.
namespace quarn::suite {

/// QuarnMClass.ClassInfo.
class ClassInfo : public IClassInfo {
  public:
    explicit ClassInfo(std::shared_ptr<SuiteSession> session) : session_(std::move(session)) {}
    RecordsetPtr GetData(const std::string& propsString, const std::string& sql) override;
    /// Dictionaries with FID, FName, FBillTypeID and FFunctionID of the ICClassType rows that
    /// the selection admits (an SQL condition), ordered by FID.
    VectorPtr GetClassType(const std::string& propsString, const std::string& selection) override;

  private:
    std::shared_ptr<SuiteSession> session_;
};

/// QuarnMClass.ClassDefineInfo.
class ClassDefineInfo : public IClassDefineInfo {
  public:
    explicit ClassDefineInfo(std::shared_ptr<SuiteSession> session)
        : session_(std::move(session)) {}
    RecordsetPtr GetMultiCheckFlows(const std::string& propsString, int32_t subSystemId) override;
    RecordsetPtr GetWorkFlows(const std::string& propsString,
                              const std::string& selection) override;

  private:
    std::shared_ptr<SuiteSession> session_;
};

/// QuarnMCrossTab.RptAction.
class RptAction : public IRptAction {
  public:
    explicit RptAction(std::shared_ptr<SuiteSession> session) : session_(std::move(session)) {}
    /// Every report: FID, FName, FType and FSubSysID.
    RecordsetPtr GetReportRs(const std::string& propsString, int16_t kind) override;

  private:
    std::shared_ptr<SuiteSession> session_;
};

}  // namespace quarn::suite
