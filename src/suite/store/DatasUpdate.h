#pragma once

#include <memory>

#include "host/IDatasUpdate.h"
#include "suite/SuiteSession.h"
#include "suite/store/Database.h"

namespace quarn::suite {

/// DataFlowInfo.DatasUpdate on the database of its session. Maps the write records onto the
/// tables' columns; the database's triggers log every change. A write outside a transaction is
/// a transaction of its own. The database refuses duplicate
/// identifiers, duplicate names within a level and subsystems without their group (checked at
/// commit), whoever writes; such a write raises StoreError Refused and changes nothing.
class DatasUpdate : public IDatasUpdate {
  public:
    explicit DatasUpdate(std::shared_ptr<SuiteSession> session);
    ~DatasUpdate() override;

    void BeginTransaction() override;
    void CommitTransaction() override;
    void RollbackTransaction() override;
    void DeleteItem(const Variant& itemType, int32_t itemId, bool flag) override;
    void DeleteItemIfUnchanged(const Variant& itemType, int32_t itemId, int64_t version) override;
    bool ComparesVersions() const override { return true; }
    void CreateTopClass(int32_t index, DictionaryPtr record, bool flag) override;
    void CreateSubSys(int32_t groupId, int32_t index, DictionaryPtr record, bool flag) override;

  private:
    template <class Write>
    void InTransaction(Write&& write);
    /// Inserts a row; a refusal names the rule the row broke.
    void Insert(const char* table, const std::string& sql, const std::vector<std::string>& columns,
                const std::vector<Variant>& values);
    /// Raises Stale for the item that a checked deletion did not find at its version, saying
    /// whether it was changed or deleted and, from the log, when and by whom.
    [[noreturn]] void RaiseStale(const char* table, const char* idColumn, int32_t itemId);

    std::shared_ptr<SuiteSession> session_;
    std::shared_ptr<Database> database_;
};

}  // namespace quarn::suite
