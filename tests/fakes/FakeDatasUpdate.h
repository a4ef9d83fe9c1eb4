#pragma once

#include <memory>

#include "fakes/CallLog.h"
#include "fakes/FakeDatasInfo.h"
#include "host/IDatasUpdate.h"

namespace quarn::fakes {

/// DataFlowInfo.DatasUpdate writing into the tables of a FakeDatasInfo. Transactions are only
/// recorded: what a failed write leaves is the stores' tests' concern.
class FakeDatasUpdate : public IDatasUpdate, public FakeComponent {
  public:
    FakeDatasUpdate(std::shared_ptr<CallLog> log, std::shared_ptr<FakeDatasInfo> tables)
        : FakeComponent(std::move(log), "DatasUpdate"), tables_(std::move(tables)) {}

    void BeginTransaction() override { Enter("BeginTransaction"); }
    void CommitTransaction() override { Enter("CommitTransaction"); }
    void RollbackTransaction() override { Enter("RollbackTransaction"); }
    void DeleteItem(const Variant& itemType, int32_t itemId, bool flag) override;
    /// Stands in for a store that compares versions but deletes without comparing them: the
    /// stores' tests cover another user's change.
    void DeleteItemIfUnchanged(const Variant& itemType, int32_t itemId, int64_t version) override;
    bool ComparesVersions() const override { return true; }
    void CreateTopClass(int32_t index, DictionaryPtr record, bool flag) override;
    void CreateSubSys(int32_t groupId, int32_t index, DictionaryPtr record, bool flag) override;

  private:
    std::shared_ptr<FakeDatasInfo> tables_;
};

}  // namespace quarn::fakes
