#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "quarn/host/IChangeHistory.h"
#include "suite/store/Connection.h"

/// The seal of the change log: a hash chain over its rows in the order they were logged. Each
/// row's seal is SHA-256 over the seal of the row before it and the row's content (every column
/// but the seal itself, each as its exact stored text), so changing, removing or inserting a row
/// breaks the chain at that row. The first row follows the empty seal, or the seal of the last
/// pruned row.
///
/// PostgreSQL seals each row as it is logged (a trigger of the log's owner). SQLite has no hash
/// function in SQL, so our own write seals its rows before it commits, and with them the rows
/// that other programs logged since (marked as theirs): until then those rows are unsealed.
namespace quarn::suite::changelog {

/// The schema version whose log is sealed.
inline constexpr int kFirstSealedVersion = 5;

/// The columns a seal covers, in the order it covers them.
inline constexpr std::string_view kSealedColumns[] = {
    "FSeq",       "FTxn",    "FTime", "FDbUser", "FClient", "FOperation",
    "FTableName", "FItemID", "FOld",  "FNew",    "FNote",   "FForeign"};
inline constexpr std::size_t kSealedColumnCount = std::size(kSealedColumns);

/// A log row as stored: the sealed columns as text (nullopt for NULL), its seal, and the key
/// that orders the chain (FSeq on SQLite, FChangeID on PostgreSQL).
struct LogRow {
    std::optional<std::string> values[kSealedColumnCount];
    std::optional<std::string> seal;
    int64_t key = 0;

    int64_t Number() const;
    std::string Table() const;
    int64_t Item() const;
};

/// The seal of `row` after the seal `previous`.
std::string SealOf(std::string_view previous, const LogRow& row);

/// PostgreSQL: the same as an SQL expression over the record `row` (e.g. "NEW") and the text
/// variable `previous`.
std::string PostgresSealExpression(std::string_view row, std::string_view previous);

/// How this session stamps the rows of its own write transaction before sealing them: every row
/// numbered after `after` is its own.
struct OwnStamp {
    int64_t after = 0;
    std::string user;
    std::string client;
    std::string note;
};

/// Seals the rows logged after the last sealed one, in order. With `own` (SQLite, before the
/// commit) its rows get the transaction's number, user, client, note and time, and the earlier
/// unsealed rows, which another program wrote, are marked so. Without, the rows are sealed as
/// they stand (a migration). Returns the rows sealed.
std::vector<LogRow> SealNewRows(Connection& connection, const std::optional<OwnStamp>& own);

/// Walks the whole chain; `exported` is the head an earlier export recorded.
SealCheck VerifySeals(Connection& connection, const std::optional<ChainHead>& exported);

/// The last sealed row: its change number and seal (0 and "" for an empty log).
ChainHead SealHead(Connection& connection);

/// Whether a sealed row of the transaction that logged change `number` no longer matches its
/// seal, judged from the row before it; rows not sealed yet are not judged.
bool SealBroken(Connection& connection, int64_t number);

}  // namespace quarn::suite::changelog
