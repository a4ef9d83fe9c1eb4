#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "quarn/foundation/Dictionary.h"
#include "quarn/host/Component.h"
#include "quarn/host/TreeItemRef.h"

namespace quarn {

/// One change the database logged: when, by whom, and the row's values before and after.
struct LoggedChange {
    enum class Operation { Added, Changed, Deleted };
    /// The change number. A save rewrites an item as a delete and an insert; the two show as one
    /// change, numbered by the insert (on SQLite each logged row has a number of its own, on
    /// PostgreSQL a transaction has one). The item's row version after the change is this number.
    int64_t number = 0;
    /// UTC, "YYYY-MM-DDThh:mm:ss.fffZ".
    std::string time;
    /// Who made the change: the database user that authenticated (PostgreSQL); on SQLite, which
    /// has no authentication, the OS user this program ran as; empty for another program's.
    std::string databaseUser;
    /// What the change came through, as the client says of itself: "user@host" of this program,
    /// or the application name of another one; may be empty. Never proof of who.
    std::string client;
    /// SQLite: written by another program, not through this one (its rows were sealed by this
    /// program's next write, or are not sealed yet).
    bool otherProgram = false;
    Operation operation = Operation::Changed;
    /// The row's values by column name before and after the change, in the table's column order;
    /// nullptr for the side where the row did not exist (before an addition, after a deletion).
    DictionaryPtr before;
    DictionaryPtr after;
    /// What the writer noted on the change, e.g. that it reverted an earlier one; usually empty.
    std::string note;
};

/// One change of one item of the tree.
struct ItemChange : LoggedChange {
    TreeItemRef item;
};

/// One change of a record beside the tree that the items refer to: an account type, or the
/// release the database was brought to (an upgrade records it, its revert removes it).
struct RecordChange : LoggedChange {
    enum class Record { AccountType, Release };
    Record record = Record::AccountType;
    int32_t id = 0;  ///< the account type's code; the release's place in the database's order
};

/// The newest sealed change of the log: its number and seal. An export records it, so that a
/// later rewrite of the history up to it is caught against the export.
struct ChainHead {
    int64_t change = 0;
    std::string seal;

    bool operator==(const ChainHead&) const = default;
};

/// What checking the seals of the change log found. A seal chain catches a change altered,
/// removed or inserted, not a rewrite of the whole chain after the point changed (every seal
/// computed again); an export's head catches that too, up to the export.
struct SealCheck {
    enum class Finding {
        Intact,     ///< every sealed change is as it was sealed
        Altered,    ///< `change` does not match its seal: altered, or one before it removed or
                    ///< inserted
        Removed,    ///< changes up to `change` were removed while earlier ones remain
        Unsealed,   ///< `change` lost its seal while later ones keep theirs
        NotSealed,  ///< the database keeps no seals (an older schema, until its first write)
    };
    Finding finding = Finding::Intact;
    int64_t change = 0;        ///< the first change found wrong
    int64_t checked = 0;       ///< log rows checked
    int64_t awaitingSeal = 0;  ///< rows other programs logged since this one last wrote (SQLite)
    ChainHead head;            ///< the newest sealed change
    /// With an export's head: whether the log still holds that change with that seal; nullopt
    /// when it was pruned since.
    std::optional<bool> matchesExport;
};

/// One column whose value a change altered.
struct FieldChange {
    std::string column;
    Variant before;  ///< Null where the item did not exist
    Variant after;
};

/// The columns whose values differ between before and after, in column order; every column of
/// an added or deleted item.
inline std::vector<FieldChange> ChangedFields(const LoggedChange& change) {
    std::vector<FieldChange> fields;
    const auto valueIn = [](const DictionaryPtr& side, const std::string& column) {
        const Variant value = side ? side->Item(column) : Variant();
        return value.IsEmpty() ? Variant::Null() : value;
    };
    for (const DictionaryPtr& side : {change.before, change.after}) {
        if (!side) {
            continue;
        }
        for (const auto& [column, value] : side->Entries()) {
            bool listed = false;
            for (const FieldChange& field : fields) {
                listed = listed || field.column == column;
            }
            Variant before = valueIn(change.before, column);
            Variant after = valueIn(change.after, column);
            if (!listed && !(before == after)) {
                fields.push_back({column, std::move(before), std::move(after)});
            }
        }
    }
    return fields;
}

/// DataFlowInfo.ChangeHistory: the changes of the tree that the database logged, whoever made
/// them, read from the database that the context string names (the session's own when it names
/// none). Failures of the store raise ComError.
class IChangeHistory : public virtual Component {
  public:
    /// Whether the database keeps a change log. A database of an older schema has none until
    /// its first write brings it up to date; Changes and Change then find nothing.
    virtual bool IsLogged(const std::string& propsString) = 0;

    /// The changes of one item (of every item without one), newest first; with `since` (a UTC
    /// date or time, "2026-12-01" or "2026-12-01T08:30:00") only those made at or after it.
    virtual std::vector<ItemChange> Changes(const std::string& propsString,
                                            std::optional<TreeItemRef> item,
                                            const std::string& since = {}) = 0;

    /// The change with this number: normally one item's; several when one PostgreSQL transaction
    /// changed several items (an SQL statement of another program); none when the log has no
    /// such number. Either half of a rewrite finds the whole change.
    virtual std::vector<ItemChange> Change(const std::string& propsString, int64_t number) = 0;
    /// The changes of the account types and of the releases the database was on, newest first,
    /// with `since` as for Changes; none where the log does not record them (an older schema).
    virtual std::vector<RecordChange> RecordChanges(const std::string& propsString,
                                                    const std::string& since = {}) {
        (void)propsString;
        (void)since;
        return {};
    }

    /// A note that the log rows of this session's next write transaction carry when it commits
    /// (a revert names the change it reverted). The transaction's commit or rollback clears it;
    /// "" clears it too.
    virtual void NoteNextWrite(const std::string& note) = 0;

    /// Checks the seal of every logged change; with `exported`, also that the log still holds
    /// the head an export recorded. A history without seals reports NotSealed.
    virtual SealCheck VerifySeals(const std::string& propsString,
                                  const std::optional<ChainHead>& exported = {}) {
        (void)propsString;
        (void)exported;
        SealCheck check;
        check.finding = SealCheck::Finding::NotSealed;
        return check;
    }

    /// Whether a sealed log row of change `number` no longer matches its seal (altered after it
    /// was logged), judged from the row before it alone; rows not sealed yet are not judged.
    virtual bool IsSealBroken(const std::string& propsString, int64_t number) {
        (void)propsString;
        (void)number;
        return false;
    }

    /// The newest sealed change, for an export to record; a history without seals has none.
    virtual ChainHead SealHead(const std::string& propsString) {
        (void)propsString;
        return {};
    }
};

}  // namespace quarn
