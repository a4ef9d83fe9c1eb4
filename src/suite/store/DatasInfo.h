#pragma once

#include <memory>
#include <mutex>
#include <optional>

#include "host/IDatasInfo.h"
#include "suite/SuiteSession.h"
#include "suite/store/TreeSnapshot.h"

namespace quarn::suite {

/// DataFlowInfo.DatasInfo over the database of its session. Keeps what it read as a snapshot and
/// reads only what a call needs (one group's subsystems, one subsystem's group), so a look at one
/// item of a large tree stays cheap (a subsystem asked for by its key is read by its key); every
/// call answers from the snapshot with a Recordset of its own over the shared rows. `initial`
/// applies only what was committed since (by any writer); after `ClearCache` the next read does the
/// same. Thread-safe.
class DatasInfo : public IDatasInfo, public std::enable_shared_from_this<DatasInfo> {
  public:
    explicit DatasInfo(std::shared_ptr<SuiteSession> session) : session_(std::move(session)) {}

    /// Every group in display order: by FIndex, then identifier. The rows are read when the
    /// Recordset is first used, as its filter needs them: one group by its key, or all.
    RecordsetPtr GetTopClass_All() override;
    /// For every group (-1) the rows are read when the Recordset is first used, as its filter
    /// needs them: one subsystem by its key, one group's, or all.
    RecordsetPtr GetSubSystem_All(const Variant& groupId) override;
    RecordsetPtr GetSubFunc_All(int32_t subSystemId) override;
    bool GetSubSystemInfo(double subSystemId, DictionaryPtr& info) override;
    /// Columns FAcctType, FDesc (in the session language), FDesc_CHS, FDesc_CHT, FDesc_EN.
    RecordsetPtr GetAcctInfo(int16_t kind) override;
    void ClearCache() override;
    void initial() override;
    bool IsBroxQuery() const override { return isBroxQuery_; }
    void IsBroxQuery(bool value) override { isBroxQuery_ = value; }

  private:
    /// What `part` takes from the snapshot, which is brought up to date first after ClearCache.
    template <class Part>
    TreeSnapshot::Table Read(Part&& part);

    std::shared_ptr<SuiteSession> session_;
    std::mutex mutex_;
    std::optional<TreeSnapshot> snapshot_;
    bool verified_ = false;  // false after ClearCache: the next read brings the snapshot up to date
    bool isBroxQuery_ = false;
};

}  // namespace quarn::suite
