#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "host/IClassDefineInfo.h"
#include "host/IClassInfo.h"
#include "host/IDatasInfo.h"
#include "host/IRptAction.h"
#include "suite/SuiteSession.h"

/// The query components of a session: every statement runs read-only on the database that the
/// context string passed to the call names (the session's own when it names none); a statement that
/// would write raises StoreError ReadOnly. Names come in the context's language under FName.
namespace quarn::suite {

/// The session's shared data-flow information, once a business object asked for it: its
/// snapshot of the groups answers the listing of every group.
class WarmDatasInfo {
  public:
    void Set(const std::shared_ptr<IDatasInfo>& info) {
        std::lock_guard lock(mutex_);
        info_ = info;
    }
    /// None before the first or after the last is gone.
    std::shared_ptr<IDatasInfo> Get() const {
        std::lock_guard lock(mutex_);
        return info_.lock();
    }

  private:
    mutable std::mutex mutex_;
    std::weak_ptr<IDatasInfo> info_;
};

/// QuarnMClass.ClassInfo.
class ClassInfo : public IClassInfo {
  public:
    explicit ClassInfo(std::shared_ptr<SuiteSession> session,
                       std::shared_ptr<WarmDatasInfo> warm = nullptr)
        : session_(std::move(session)), warm_(std::move(warm)) {}
    /// The listing of every group that the business objects send ("SELECT * FROM
    /// t_DataFlowTopClass Order By FIndex asc") on the session's own database is answered from
    /// the shared data-flow information's snapshot, brought up to date with the change log:
    /// the same columns, the groups in display order (by FIndex, then identifier).
    RecordsetPtr GetData(const std::string& propsString, const std::string& sql) override;
    /// Dictionaries with FID, FName, FBillTypeID and FFunctionID of the ICClassType rows that
    /// the selection admits (an SQL condition), ordered by FID.
    VectorPtr GetClassType(const std::string& propsString, const std::string& selection) override;

  private:
    std::shared_ptr<SuiteSession> session_;
    std::shared_ptr<WarmDatasInfo> warm_;
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
