#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "fakes/CallLog.h"
#include "fakes/FakeDatasInfo.h"
#include "host/IDatasUpdate.h"

namespace quarn::fakes {

/// DataFlowInfo.DatasUpdate writing into the tables of a FakeDatasInfo, with transactions
/// that restore the tables on rollback.
class FakeDatasUpdate : public IDatasUpdate, public FakeComponent {
  public:
    FakeDatasUpdate(std::shared_ptr<CallLog> log, std::shared_ptr<FakeDatasInfo> tables)
        : FakeComponent(std::move(log), "DatasUpdate"), tables_(std::move(tables)) {}

    void BeginTransaction() override;
    void CommitTransaction() override;
    void RollbackTransaction() override;
    void DeleteItem(const Variant& itemType, int32_t itemId, bool flag) override;
    /// Deletes without comparing versions: the stores' tests cover another user's change.
    void DeleteItemIfUnchanged(const Variant& itemType, int32_t itemId, int64_t version) override;
    void CreateTopClass(int32_t index, DictionaryPtr record, bool flag) override;
    void CreateSubSys(int32_t groupId, int32_t index, DictionaryPtr record, bool flag) override;

  private:
    struct Snapshot {
        std::vector<GroupRow> groups;
        std::vector<SubSystemRow> subSystems;
    };

    std::shared_ptr<FakeDatasInfo> tables_;
    std::optional<Snapshot> snapshot_;
};

}  // namespace quarn::fakes
