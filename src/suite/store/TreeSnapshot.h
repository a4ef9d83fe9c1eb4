#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>

#include "foundation/RecordTable.h"
#include "suite/store/Database.h"

namespace quarn::suite {

/// The functional tree as read at one change number: groups, subsystems, sub-functions and
/// account types, each an immutable table that Recordsets share.
///
/// Each table is read when first asked for, so that a look at one item does not read a tree of
/// 100,000 subsystems: groups, account types and sub-functions whole, subsystems by group until
/// kGroupsReadOneByOne groups have been asked for, then all of them. A table read later is read
/// in one read transaction with bringing the tables already read up to that state, so all of
/// them always show the same committed state. Changes are made in place in tables that no
/// Recordset holds, so following a long run of writes costs the same at any size. Not
/// thread-safe (DatasInfo serializes the calls); a call that raises the store's errors leaves the
/// tables consistent with their change number.
class TreeSnapshot {
  public:
    using Table = std::shared_ptr<const RecordTable>;

    /// Groups whose subsystems are read one group at a time before a read takes them all; an
    /// eighth of the groups when that is more (the groups found by a search in a large tree).
    static constexpr std::size_t kGroupsReadOneByOne = 16;

    /// A snapshot that has read nothing yet.
    explicit TreeSnapshot(std::shared_ptr<Database> database);
    /// Reads every table at once.
    static TreeSnapshot Load(std::shared_ptr<Database> database);

    /// Every group in display order: by FIndex, then identifier.
    const Table& Groups();
    const Table& SubFunctions();
    const Table& AccountTypes();
    /// Every subsystem; a group's rows come in display order (by index, then identifier), the
    /// groups by identifier as read, then interleaved by the changes taken since.
    const Table& SubSystems();
    /// A table that holds every subsystem of the group (and maybe others); a group's rows are in
    /// display order.
    const Table& SubSystemsOf(int32_t groupId);
    /// A table that holds the subsystem when it exists: the snapshot's, when it holds the
    /// subsystem's rows; else the row as the database holds it now, read by its key, which the
    /// snapshot does not keep. After kPointReadsBeforeLoad such reads every subsystem is read
    /// and kept, as a caller that asks for that many items one by one will go on asking.
    Table SubSystemWith(int32_t subSystemId);
    /// Point reads of subsystems answered before the snapshot reads them all: loading a tree
    /// costs about as many instructions per row as a tenth of a point read (measured at 100k).
    static constexpr int kPointReadsBeforeLoad = 2048;
    /// A table that holds the group when it exists: the snapshot's groups when it holds them,
    /// else the group's row read by its key (counted with the point reads of subsystems).
    Table GroupWith(int32_t groupId);
    /// Whether every group, or every subsystem, has been read (and is kept up to date).
    bool HoldsGroups() const { return tables_.groups != nullptr; }
    bool HoldsAllSubSystems() const { return tables_.allSubSystems; }
    /// The columns of the subsystem tables, without rows.
    static Table SubSystemColumns();
    /// The columns of the group table, without rows.
    static Table GroupColumns();

    /// Brings the tables read so far up to date with the changes committed since: only the
    /// changed rows are read again, none when this session's own commit was the only one. Reads
    /// them again when the log cannot tell (pruned past the snapshot, or another schema version).
    /// The account types, which the log does not follow, are read again whole.
    void Refresh();
    /// Forgets the tables when they took rows of a write transaction that was rolled back
    /// since: the database never held those. Cheap; called before every read.
    void ForgetRolledBack();

  private:
    struct Tables {
        int schemaVersion = 0;
        int64_t sequence = -1;  // none read yet
        Table groups;
        Table subFunctions;
        Table accountTypes;
        Table subSystems;
        bool allSubSystems = false;
        std::set<int32_t> subSystemGroups;  // whose rows `subSystems` holds, unless all
        /// Rows were read inside a write transaction: the rolled-back writes counted then.
        std::optional<int64_t> readWhileWriting;

        bool Empty() const { return !groups && !subFunctions && !accountTypes && !subSystems; }
        bool HasSubSystemsOf(int32_t groupId) const {
            return allSubSystems || subSystemGroups.count(groupId) > 0;
        }
    };

    /// Runs `read` on the tables in one read transaction, after bringing them up to the state
    /// that transaction sees.
    template <class Reader>
    void ReadMore(Reader&& read);
    void ReadAllSubSystems(Tables& tables) const;
    void ReadSubSystemsOf(Tables& tables, int32_t groupId) const;
    /// Takes this session's own commit when it was the only one since; false (nothing taken)
    /// otherwise.
    bool TakeOwnCommit();
    /// Takes every change the log holds after the tables' number; empties them (to be read
    /// again) when the log cannot tell. Returns whether the log changed any account type.
    bool FollowLog();
    /// Which subsystem rows the tables hold: those of every group, or of the groups read.
    static std::function<bool(const RecordTable::Row&)> CoveredBy(const Tables& tables);
    static bool Holds(const RecordTable& subSystems, int32_t subSystemId);

    std::shared_ptr<Database> database_;
    Tables tables_;
    int pointReads_ = 0;
};

}  // namespace quarn::suite
