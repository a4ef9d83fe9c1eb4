#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "quarn/foundation/Dictionary.h"
#include "quarn/host/Component.h"
#include "quarn/host/TreeItemRef.h"

namespace quarn {

/// A release of the suite's delivered tree: its name and its date (YYYY-MM-DD).
struct SuiteRelease {
    std::string name;
    std::string date;

    bool operator==(const SuiteRelease&) const = default;
};

/// An account type as t_AccountType holds it: its code and its names.
struct AccountTypeRow {
    int32_t code = 0;
    std::string chs;
    std::string cht;
    std::string en;

    bool operator==(const AccountTypeRow&) const = default;
};

/// What an upgrade writes, in one transaction: the delivered groups and subsystems the release
/// removes or rewrites, the customer subsystems the user chose to move out of a removed group,
/// and the account types.
struct ReleaseWrite {
    SuiteRelease release;
    /// Every account type of the release: the stored list becomes this one.
    std::vector<AccountTypeRow> accountTypes;
    /// Items deleted (each subsystem before its group).
    std::vector<TreeItemRef> removed;
    /// Subsystems given another group: (subsystem, group).
    std::vector<std::pair<int32_t, int32_t>> moved;
    /// Groups and subsystems written whole, added or in place of the stored row: the values by
    /// column of t_DataFlowTopClass and t_DataFlowSubSystem (FClassName, which no release
    /// carries, is kept from the stored row).
    std::vector<DictionaryPtr> groups;
    std::vector<DictionaryPtr> subSystems;
    /// The database's last change when what this write is based on was read (see LastChange):
    /// the write is refused when any change came after it. None: written without that check.
    std::optional<int64_t> readAt;
};

/// An upgrade the log holds: the release it brought and the change that wrote it.
struct ReleaseChange {
    SuiteRelease release;
    int64_t change = 0;
};

/// DataFlowInfo.ReleaseStore: the release of the delivered tree that a database is on, and the
/// only writer of the delivered rows, for the database that the context string names (the
/// session's own when it names none). Failures of the store raise ComError.
class IReleaseStore : public virtual Component {
  public:
    /// The release this program creates new databases with.
    virtual SuiteRelease Shipped() = 0;
    /// The release the database is on; none for a database made before releases were recorded.
    virtual std::optional<SuiteRelease> Release(const std::string& propsString) = 0;
    /// The number of the database's last committed change: every change of the tree, whoever
    /// made it, comes after it.
    virtual int64_t LastChange(const std::string& propsString) = 0;
    /// Every stored account type by code.
    virtual std::vector<AccountTypeRow> AccountTypes(const std::string& propsString) = 0;
    /// Of the subsystems `ids`, those that business objects, reports, work flows or approval
    /// flows refer to, each with how many refer to it.
    virtual std::vector<std::pair<int32_t, int64_t>> Uses(const std::string& propsString,
                                                          const std::vector<int32_t>& ids) = 0;
    /// Writes the whole upgrade in one transaction of the session's database, logged as one
    /// change whose rows carry `note`, and records the release with the account types it
    /// replaced. Writes nothing when it raises. Needs a role that may upgrade (PostgreSQL).
    /// Raises kItemChangedElsewhere (2212) when the database changed after `write.readAt`,
    /// judged with the write lock held. Returns the number of the change it wrote (0 when it
    /// wrote no row of the tree).
    virtual int64_t Write(const ReleaseWrite& write, const std::string& note) = 0;
    /// Writes the upgrade as Write does, runs `inside` in the same transaction, where reads of
    /// the session's database see the tree as the upgrade would leave it, and then rolls it all
    /// back: nothing is written. Raises what Write and `inside` raise.
    virtual void Rehearse(const ReleaseWrite& write, const std::function<void()>& inside) = 0;
    /// The upgrade that change `number` (any of its log rows) belongs to; none for another change.
    virtual std::optional<ReleaseChange> UpgradeOf(int64_t number) = 0;
    /// Undoes the upgrade of change `number` from its logged rows, in one transaction whose log
    /// rows carry `note`: the delivered rows, the account types and the release back as they
    /// were. Without `force`, raises 1042 and writes nothing when one of its items changed since;
    /// raises it always when change `number` is no upgrade, or one taken back already.
    virtual void RevertUpgrade(int64_t number, bool force, const std::string& note) = 0;
};

}  // namespace quarn
