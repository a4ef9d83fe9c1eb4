#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/ExchangeText.h"
#include "exchange/ItemFields.h"
#include "exchange/ReleaseFile.h"
#include "exchange/TreeCheck.h"
#include "host/IReleaseStore.h"
#include "runtime/ModuleState.h"

namespace quarn::subsysmgr::exchange {

/// What an upgrade does, or would do, with one delivered item or account type.
enum class UpgradeOutcome { Added, Changed, Moved, Removed, Unchanged };

/// "added", "changed", "moved", "removed" or "unchanged": the name in JSON and its source text.
std::string_view OutcomeName(UpgradeOutcome outcome);

/// Why an upgrade cannot go ahead over a customer or platform item.
enum class ConflictKind {
    /// A group the release removes still holds this customer or platform subsystem.
    Orphan,
    /// The delivered item would take a name this customer item holds in the same group.
    NameTaken,
    /// The subsystem the release removes is still referred to by business objects, reports or
    /// flows.
    StillUsed,
    /// The account type the release removes is still used by this customer item.
    AccountTypeInUse,
};

/// "orphan", "nameTaken", "stillUsed", "accountTypeInUse".
std::string_view ConflictName(ConflictKind kind);

struct UpgradeConflict {
    ConflictKind kind = ConflictKind::Orphan;
    /// The customer or platform item in the way (not for StillUsed), with its stored names.
    std::optional<TreeItemRef> other;
    Names otherNames;
    /// NameTaken: the language of the name, CHS, CHT or EN.
    std::string language;
    /// StillUsed: how many business objects, reports and flows refer to the subsystem.
    int64_t uses = 0;
    /// Orphan: the customer group the user named to move it to; the conflict is then resolved.
    std::optional<int32_t> movedTo;

    bool Resolved() const { return movedTo.has_value(); }
};

/// One delivered item or account type of the database or the release, and what becomes of it.
struct UpgradeItem {
    std::string_view kind;  // "group", "subsystem" or "accountType"
    int32_t id = 0;
    /// The release's names; the stored ones of an item it removes.
    Names names;
    UpgradeOutcome outcome = UpgradeOutcome::Unchanged;
    /// Of a change or move, in the order of the item's members: before is the stored value.
    std::vector<FieldDifference> changes;
    std::vector<UpgradeConflict> conflicts;
};

/// An upgrade decided on the database as it was read: every delivered item and account type,
/// groups, then subsystems, then account types, each by identifier.
struct UpgradePlan {
    Release release;
    std::optional<SuiteRelease> from;
    std::optional<int32_t> moveOrphansTo;
    std::vector<UpgradeItem> items;
    /// The database's last change when the plan was read: Apply writes nothing if another came
    /// since. None (a plan made by hand) is written without that check.
    std::optional<int64_t> readAt;

    /// Conflicts not resolved by moving orphans: any refuses the whole upgrade.
    std::size_t Conflicts() const;
    /// Whether applying would write nothing: no item changes and the release is the same.
    bool NothingToDo() const;
};

/// The release of the database beside the program's own, for a reminder that does not block.
struct ReleaseState {
    std::optional<SuiteRelease> database;
    SuiteRelease program;

    /// Whether the database is on an earlier release than the program (or on none recorded).
    bool Older() const { return !database || database->date < program.date; }
};

/// Upgrades the delivered tree of the session's database to a release: the only writer of
/// delivered rows. Plan reads and writes nothing; Apply writes a plan in one transaction, one
/// change in the history ("upgrade to release NAME") that `revert` takes back as a whole, and
/// never writes a customer or platform row but the orphans the plan moves.
class ReleaseUpgrade {
  public:
    /// Passes on the store's failures.
    ReleaseUpgrade(std::shared_ptr<ModuleState> module, const ExchangeText& text);

    /// Raises kNoOrphanGroup when `moveOrphansTo` names no stored customer group.
    UpgradePlan Plan(Release release, std::optional<int32_t> moveOrphansTo = std::nullopt);
    /// Raises kUpgradeRefused, writing nothing, for a plan with conflicts, and kUpgradeStale when
    /// the database changed after the plan was read; otherwise writes it (nothing for a plan
    /// with nothing to do). The store's failures pass through, with nothing written. Returns the
    /// number of the upgrade's change, which `revert` takes back (0 when nothing or no row of
    /// the tree was written).
    int64_t Apply(const UpgradePlan& plan);
    /// Runs `inside` with the plan written in a transaction that is rolled back after it: reads
    /// of the session's database see the tree as Apply would leave it, and nothing is written.
    /// Raises kUpgradeRefused for a plan with conflicts, and the store's failures.
    void Rehearse(const UpgradePlan& plan, const std::function<void()>& inside);
    /// What `check` would find in the tree Apply would leave, from a rehearsal. The change log
    /// is left out: it is the same before and after, and the rehearsal's rows are never sealed.
    std::vector<TreeFinding> CheckAfter(const UpgradePlan& plan);

    /// The note of an upgrade's change in the log.
    static std::string Note(const SuiteRelease& release);
    /// The name of the release an upgrade's note names; none for another note.
    static std::optional<std::string> ReleaseNoted(std::string_view note);

    /// The release the database and the program are on.
    static ReleaseState StateOf(ModuleState& module);

  private:
    /// What the store writes for `plan`; raises kUpgradeRefused for a plan with conflicts.
    ReleaseWrite WriteOf(const UpgradePlan& plan) const;

    std::shared_ptr<ModuleState> module_;
    const ExchangeText& text_;
};

}  // namespace quarn::subsysmgr::exchange
