#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "fakes/CallLog.h"
#include "foundation/RecordTable.h"
#include "host/IDatasInfo.h"

namespace quarn::fakes {

/// A row of t_DataFlowTopClass.
struct GroupRow {
    int32_t id = 0;
    std::string nameCHS;
    std::string nameCHT;
    std::string nameEN;
    int32_t index = 0;
    bool visible = true;
    int32_t showSysType = 1;
    std::optional<std::string> acctType;
    int64_t version = 0;
};

/// A row of t_DataFlowSubSystem; FName is the simplified name unless `nameIsNull`.
struct SubSystemRow {
    int32_t id = 0;
    int32_t groupId = 0;
    std::string nameCHS;
    std::optional<std::string> nameCHT;
    std::optional<std::string> nameEN;
    std::optional<std::string> subId;
    bool visible = true;
    int32_t index = 0;
    std::optional<std::string> acctType;
    int32_t showSysType = 1;
    bool nameIsNull = false;
    int64_t version = 0;
};

/// A visible subsystem whose code name is "s" and its identifier.
SubSystemRow VisibleSubSystem(int32_t id, int32_t groupId, std::string chs, std::string cht,
                              std::string en, int32_t index,
                              std::optional<std::string> acctType = ",1,2,");

struct AccountTypeRow {
    int32_t code = 0;
    std::string description;
};

std::shared_ptr<const RecordTable> GroupTable(const std::vector<GroupRow>& rows);
std::shared_ptr<const RecordTable> SubSystemTable(const std::vector<SubSystemRow>& rows);

/// DataFlowInfo.DatasInfo over tables that a test fills.
class FakeDatasInfo : public IDatasInfo, public FakeComponent {
  public:
    explicit FakeDatasInfo(std::shared_ptr<CallLog> log)
        : FakeComponent(std::move(log), "DatasInfo") {}

    std::vector<GroupRow> groups;
    std::vector<SubSystemRow> subSystems;
    /// Sub-function counts by subsystem identifier.
    std::vector<std::pair<int32_t, int32_t>> subFunctions;
    std::vector<AccountTypeRow> accountTypes;

    RecordsetPtr GetTopClass_All() override;
    RecordsetPtr GetSubSystem_All(const Variant& groupId) override;
    RecordsetPtr GetSubFunc_All(int32_t subSystemId) override;
    bool GetSubSystemInfo(double subSystemId, DictionaryPtr& info) override;
    RecordsetPtr GetAcctInfo(int16_t kind) override;
    void ClearCache() override;
    void initial() override;
    bool IsBroxQuery() const override { return isBroxQuery_; }
    void IsBroxQuery(bool value) override;

  private:
    bool isBroxQuery_ = false;
};

}  // namespace quarn::fakes
