#include "suite/store/ReleaseMark.h"

#include <string>

#include "foundation/Utf8Text.h"

namespace quarn::suite {

namespace sql {
extern const std::string_view kBaseData;
}  // namespace sql

namespace release {

SuiteRelease Shipped() {
    constexpr std::string_view kMarker = "-- Release: ";
    const std::size_t at = sql::kBaseData.find(kMarker);
    if (at == std::string_view::npos) {
        return {};
    }
    const std::size_t start = at + kMarker.size();
    const std::string_view line =
        text::TrimBlanks(sql::kBaseData.substr(start, sql::kBaseData.find('\n', start) - start));
    const std::size_t blank = line.rfind(' ');
    return SuiteRelease{std::string(text::TrimBlanks(line.substr(0, blank))),
                        std::string(line.substr(blank + 1))};
}

void Create(Connection& connection) {
    connection.Execute(
        "CREATE TABLE t_SuiteRelease (FOrder INTEGER NOT NULL, FChange BIGINT NOT NULL, "
        "FName TEXT NOT NULL, FDate TEXT NOT NULL, FAccountTypes TEXT)");
    if (connection.Kind() != Connection::Engine::PostgreSQL) {
        return;
    }
    // Writers read the release; only the upgrader records one and writes the account types,
    // so a login that may edit the tree cannot take a release by itself.
    connection.Execute(
        "DO $$ BEGIN IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'quarn_upgrader') THEN "
        "CREATE ROLE quarn_upgrader NOLOGIN; END IF; EXCEPTION WHEN insufficient_privilege OR "
        "duplicate_object OR unique_violation THEN NULL; END $$");
    connection.Execute(
        "DO $$ BEGIN IF EXISTS (SELECT FROM pg_roles WHERE rolname = 'quarn_reader') THEN "
        "GRANT SELECT ON t_SuiteRelease TO quarn_reader; END IF; IF EXISTS (SELECT FROM pg_roles "
        "WHERE rolname = 'quarn_writer') THEN GRANT SELECT ON t_SuiteRelease TO quarn_writer; "
        "END IF; IF EXISTS (SELECT FROM pg_roles WHERE rolname = 'quarn_upgrader') THEN "
        "GRANT SELECT, INSERT, DELETE ON t_SuiteRelease TO quarn_upgrader; GRANT SELECT, INSERT, "
        "UPDATE, DELETE ON t_AccountType TO quarn_upgrader; END IF; END $$");
}

void RecordShipped(Connection& connection) {
    const SuiteRelease shipped = Shipped();
    connection.Run(
        "INSERT INTO t_SuiteRelease (FOrder, FChange, FName, FDate) VALUES (1, 0, $1, $2)",
        {shipped.name, shipped.date});
}

}  // namespace release
}  // namespace quarn::suite
