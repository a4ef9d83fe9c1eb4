#include "suite/store/ChangeSeal.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <map>

#include "suite/store/Sha256.h"

namespace quarn::suite::changelog {

namespace {

constexpr std::size_t kNumber = 0, kTransaction = 1, kTime = 2, kUser = 3, kClient = 4, kTable = 6,
                      kItem = 7, kNote = 10, kForeign = 11;
// Rows read at a time when the whole chain is walked.
constexpr int64_t kBatch = 5000;

int64_t ToNumber(std::string_view text) {
    int64_t value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

int64_t ToNumber(const std::optional<std::string>& text) {
    return text ? ToNumber(std::string_view(*text)) : 0;
}

int64_t ToNumber(const std::string& text) {
    return ToNumber(std::string_view(text));
}

bool IsPostgres(const Connection& connection) {
    return connection.Kind() == Connection::Engine::PostgreSQL;
}

std::string SelectRows(const Connection& connection) {
    std::string sql = "SELECT ";
    for (const std::string_view column : kSealedColumns) {
        sql.append(column).append(", ");
    }
    return sql + "FSeal, " + (IsPostgres(connection) ? "FChangeID" : "FSeq") +
           " FROM t_DataFlowChangeLog";
}

// A row's seal: SHA-256 over the previous seal and each sealed column's length and text ("~" for
// NULL), a line each. `valueAt(column)` gives a column's text, nullopt for NULL.
template <typename ValueAt>
Sha256::Hex Seal(std::string_view previous, const ValueAt& valueAt) {
    Sha256 digest;
    digest.Add(previous);
    digest.Add("\n");
    for (std::size_t column = 0; column < kSealedColumnCount; ++column) {
        const std::optional<std::string_view> value = valueAt(column);
        if (value) {
            std::array<char, 24> length;
            char* end =
                std::to_chars(length.data(), length.data() + length.size() - 1, value->size()).ptr;
            *end++ = ':';
            digest.Add({length.data(), static_cast<std::size_t>(end - length.data())});
            digest.Add(*value);
            digest.Add("\n");
        } else {
            digest.Add("~\n");
        }
    }
    return digest.Finish();
}

// The statement that reads the rows after the row (number, key) in chain order, at most $3, none
// numbered after $4.
std::string RowsAfterSql(const Connection& connection) {
    return SelectRows(connection) +
           (IsPostgres(connection) ? " WHERE (FSeq, FChangeID) > ($1, $2) AND FSeq <= $4 ORDER "
                                     "BY FSeq, FChangeID LIMIT $3"
                                   : " WHERE FSeq > $1 AND FSeq <= $4 ORDER BY FSeq LIMIT $3");
}

// The rows after the row (number, key) in chain order, at most `limit`, none numbered after
// `through`.
std::vector<LogRow> RowsAfter(Connection& connection, int64_t number, int64_t key, int64_t limit,
                              int64_t through = INT64_MAX) {
    std::vector<ColumnSpec> columns;
    for (const std::string_view column : kSealedColumns) {
        columns.push_back({std::string(column), ColumnSpec::Type::Text});
    }
    columns.push_back({"FSeal", ColumnSpec::Type::Text});
    columns.push_back({"FKey", ColumnSpec::Type::Text});
    std::vector<LogRow> rows;
    for (RecordTable::Row& values :
         connection.ReadTyped(RowsAfterSql(connection), columns, {number, key, limit, through})) {
        LogRow row;
        for (std::size_t c = 0; c < kSealedColumnCount; ++c) {
            if (!values[c].IsNull()) {
                row.values[c] = values[c].ToText();
            }
        }
        if (!values[kSealedColumnCount].IsNull()) {
            row.seal = values[kSealedColumnCount].ToText();
        }
        row.key = ToNumber(values[kSealedColumnCount + 1].ToText());
        rows.push_back(std::move(row));
    }
    return rows;
}

// The last pruned change and its seal; (0, "") when nothing was pruned.
ChainHead Pruned(Connection& connection) {
    const auto rows = connection.QueryTyped(
        "SELECT FSeq, FSeal FROM t_DataFlowChangePruned",
        {{"FSeq", ColumnSpec::Type::Text}, {"FSeal", ColumnSpec::Type::Text}}, {});
    if (rows->LiveRows().empty()) {
        return {};
    }
    const uint32_t row = rows->LiveRows().front();
    return {ToNumber(rows->Value(row, 0).TextOrEmpty()), rows->Value(row, 1).TextOrEmpty()};
}

// The last sealed row as the chain continues from it: number, key and seal.
struct Link {
    int64_t number = 0;
    int64_t key = 0;
    std::string seal;
};
// The last row numbered below `below` (with `sealedOnly`, the last sealed one) as the chain
// continues from it; the pruning mark when there is none; nullopt when that row is not sealed.
std::optional<Link> LastRowBefore(Connection& connection, int64_t below, bool sealedOnly) {
    const auto rows = connection.QueryTyped(
        IsPostgres(connection)
            ? "SELECT FSeq, FChangeID, FSeal FROM t_DataFlowChangeLog WHERE FSeq < $1 AND ($2 = 0 "
              "OR FSeal IS NOT NULL) ORDER BY FSeq DESC, FChangeID DESC LIMIT 1"
            : "SELECT FSeq, FSeq, FSeal FROM t_DataFlowChangeLog WHERE FSeq < $1 AND ($2 = 0 OR "
              "FSeal IS NOT NULL) ORDER BY FSeq DESC LIMIT 1",
        {{"FSeq", ColumnSpec::Type::Text},
         {"FKey", ColumnSpec::Type::Text},
         {"FSeal", ColumnSpec::Type::Text}},
        {below, int32_t{sealedOnly ? 1 : 0}});
    if (rows->LiveRows().empty()) {
        const ChainHead pruned = Pruned(connection);
        return Link{pruned.change, 0, pruned.seal};
    }
    const uint32_t row = rows->LiveRows().front();
    if (rows->Value(row, 2).IsNull()) {
        return std::nullopt;
    }
    return Link{ToNumber(rows->Value(row, 0).TextOrEmpty()),
                ToNumber(rows->Value(row, 1).TextOrEmpty()), rows->Value(row, 2).ToText()};
}

Link LastSealed(Connection& connection) {
    return *LastRowBefore(connection, INT64_MAX, true);
}

// How a row's stamp is written back with its seal: as it stands, as another program's change,
// or as a row of this session's own transaction.
enum class Stamp { AsItStands, Foreign, Own };

// The seals of the rows of one kind of stamp, in one statement: `seals` is a JSON array of
// [key, seal]; the own transaction's stamp is the same for all its rows.
void WriteSeals(Connection& connection, Stamp stamp, const std::string& seals, const OwnStamp& own,
                const std::optional<std::string>& ownTime) {
    std::string sql = "UPDATE t_DataFlowChangeLog SET FSeal = s.value->>1";
    std::vector<Variant> parameters{seals};
    if (stamp == Stamp::Foreign) {
        sql += ", FTxn = FSeq, FForeign = 1";
    } else if (stamp == Stamp::Own) {
        sql += ", FTxn = $2, FTime = $3, FDbUser = $4, FClient = $5, FNote = $6, FForeign = 0";
        parameters.insert(parameters.end(),
                          {own.after + 1, ownTime ? Variant(*ownTime) : Variant::Null(), own.user,
                           own.client, own.note.empty() ? Variant::Null() : Variant(own.note)});
    }
    sql += IsPostgres(connection)
               ? " FROM json_array_elements($1::json) AS s(value) WHERE FChangeID = "
                 "CAST(s.value->>0 AS BIGINT)"
               : " FROM json_each($1) AS s WHERE FSeq = CAST(s.value->>0 AS INTEGER)";
    connection.Run(sql, parameters);
}

}  // namespace

int64_t LogRow::Number() const {
    return ToNumber(values[kNumber]);
}

std::string LogRow::Table() const {
    return values[kTable].value_or(std::string());
}

int64_t LogRow::Item() const {
    return ToNumber(values[kItem]);
}

std::string SealOf(std::string_view previous, const LogRow& row) {
    const Sha256::Hex seal = Seal(previous, [&row](std::size_t column) {
        return row.values[column] ? std::optional<std::string_view>(*row.values[column])
                                  : std::nullopt;
    });
    return {seal.begin(), seal.end()};
}

std::string PostgresSealExpression(std::string_view row, std::string_view previous) {
    std::string content = "coalesce(" + std::string(previous) + ", '') || chr(10)";
    for (const std::string_view column : kSealedColumns) {
        const std::string value = std::string(row) + "." + std::string(column) + "::text";
        content += " || CASE WHEN " + value + " IS NULL THEN '~' ELSE octet_length(" + value +
                   ")::text || ':' || " + value + " END || chr(10)";
    }
    return "encode(sha256(convert_to(" + content + ", 'UTF8')), 'hex')";
}

std::vector<LogRow> SealNewRows(Connection& connection, const std::optional<OwnStamp>& own) {
    Link link = LastSealed(connection);
    std::vector<LogRow> rows = RowsAfter(connection, link.number, link.key, INT64_MAX);
    if (rows.empty()) {
        return rows;
    }
    std::optional<std::string> ownTime;
    // One statement for each kind of stamp, not one for every row.
    std::map<Stamp, std::string> seals;
    for (LogRow& row : rows) {
        Stamp stamp = Stamp::AsItStands;
        if (own && row.Number() > own->after) {
            // One transaction, one stamp: its number, user, client, note and time.
            stamp = Stamp::Own;
            if (!ownTime) {
                ownTime = row.values[kTime];
            }
            row.values[kTransaction] = std::to_string(own->after + 1);
            row.values[kTime] = ownTime;
            row.values[kUser] = own->user;
            row.values[kClient] = own->client;
            row.values[kNote] = own->note.empty() ? std::nullopt : std::optional(own->note);
            row.values[kForeign] = "0";
        } else if (own) {
            // Logged outside our transactions: a change of its own, by another program.
            stamp = Stamp::Foreign;
            row.values[kTransaction] = row.values[kNumber];
            row.values[kForeign] = "1";
        }
        row.seal = SealOf(link.seal, row);
        link.seal = *row.seal;
        std::string& list = seals[stamp];
        list.append(list.empty() ? "[[" : ",[")
            .append(std::to_string(row.key))
            .append(",\"")
            .append(*row.seal)
            .append("\"]");
    }
    for (const auto& [stamp, list] : seals) {
        WriteSeals(connection, stamp, list + "]", own.value_or(OwnStamp{}), ownTime);
    }
    return rows;
}

SealCheck VerifySeals(Connection& connection, const std::optional<ChainHead>& exported) {
    SealCheck check;
    const ChainHead pruned = Pruned(connection);
    std::string previous = pruned.seal;
    int64_t lastNumber = pruned.change;
    int64_t lastKey = 0;
    int64_t headNumber = 0;
    std::optional<int64_t> firstUnsealed;
    std::optional<std::string> exportedSealSeen;
    const auto fail = [&](SealCheck::Finding finding, int64_t change) {
        if (check.finding == SealCheck::Finding::Intact) {
            check.finding = finding;
            check.change = change;
        }
    };
    if (pruned.change > 0) {
        // Rows numbered at or before the pruning mark remain: some after them were removed.
        const auto earlier = RowsAfter(connection, INT64_MIN, INT64_MIN, 1);
        if (!earlier.empty() && earlier.front().Number() <= pruned.change) {
            fail(SealCheck::Finding::Removed, pruned.change);
        }
    }
    // Each row is hashed as it is read, its values never copied: the chain can be millions long.
    const std::string sql = RowsAfterSql(connection);
    for (int64_t read = kBatch; read == kBatch;) {
        read = 0;
        connection.Each(sql, {lastNumber, lastKey, kBatch, INT64_MAX}, [&](const RowView& row) {
            ++read;
            ++check.checked;
            const auto valueAt = [&row](std::size_t column) {
                const int at = static_cast<int>(column);
                return row.IsNull(at) ? std::nullopt : std::optional(row.Text(at));
            };
            const std::optional<std::string_view> seal = valueAt(kSealedColumnCount);
            const int64_t number = ToNumber(row.Text(kNumber));
            lastNumber = number;
            lastKey = ToNumber(row.Text(kSealedColumnCount + 1));
            if (!seal) {
                firstUnsealed = firstUnsealed.value_or(number);
                ++check.awaitingSeal;
                return;
            }
            if (firstUnsealed) {
                fail(SealCheck::Finding::Unsealed, *firstUnsealed);
                check.awaitingSeal = 0;
                firstUnsealed.reset();
            }
            const Sha256::Hex expected = Seal(previous, valueAt);
            if (std::string_view(expected.data(), expected.size()) != *seal) {
                fail(SealCheck::Finding::Altered, number);
            }
            previous.assign(*seal);
            headNumber = number;
            if (exported && number == exported->change) {
                exportedSealSeen = previous;  // the last row of that change counts
            }
        });
    }
    check.head = headNumber == 0 ? pruned : ChainHead{headNumber, previous};
    if (exported && exported->change > 0) {
        if (exportedSealSeen) {
            check.matchesExport = *exportedSealSeen == exported->seal;
        } else if (exported->change == pruned.change) {
            check.matchesExport = pruned.seal == exported->seal;
        } else if (exported->change > pruned.change) {
            check.matchesExport = false;  // a change the export saw is gone
        }
    }
    return check;
}

bool SealBroken(Connection& connection, int64_t number) {
    const bool postgres = IsPostgres(connection);
    // The transaction's rows: on PostgreSQL those of the number, on SQLite the ones numbered
    // from its first (its number) to the row before the next transaction's.
    int64_t first = number;
    int64_t last = number;
    if (!postgres) {
        const auto bounds = connection.QueryTyped(
            "SELECT coalesce((SELECT FTxn FROM t_DataFlowChangeLog WHERE FSeq = $1 AND FSeal IS "
            "NOT NULL), $1), coalesce((SELECT FSeq - 1 FROM t_DataFlowChangeLog WHERE FSeq > $1 "
            "AND (FSeal IS NULL OR FTxn IS NOT (SELECT FTxn FROM t_DataFlowChangeLog WHERE FSeq = "
            "$1)) ORDER BY FSeq LIMIT 1), $1)",
            {{"first", ColumnSpec::Type::Text}, {"last", ColumnSpec::Type::Text}}, {number});
        const uint32_t row = bounds->LiveRows().front();
        first = ToNumber(bounds->Value(row, 0).TextOrEmpty());
        last = std::max(number, ToNumber(bounds->Value(row, 1).TextOrEmpty()));
    }
    // The row before the first, whose seal the first follows.
    const std::optional<Link> before = LastRowBefore(connection, first, false);
    if (!before) {
        return false;  // the chain before it is not sealed yet: nothing to judge from
    }
    Link link = *before;
    for (const LogRow& row : RowsAfter(connection, link.number, link.key, INT64_MAX, last)) {
        if (!row.seal) {
            return false;  // another program's rows, sealed by this program's next write
        }
        if (row.Number() >= first && SealOf(link.seal, row) != *row.seal) {
            return true;
        }
        link.seal = *row.seal;
    }
    return false;
}

ChainHead SealHead(Connection& connection) {
    const Link link = LastSealed(connection);
    return {link.number, link.seal};
}

}  // namespace quarn::suite::changelog
