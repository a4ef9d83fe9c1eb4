#include "BenchmarkData.h"

#include <libpq-fe.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string_view>

#include "suite/CreateDatabase.h"
#include "suite/store/Database.h"
#include "suite/store/StoreLocation.h"

namespace quarn::suite::sql {
extern const std::string_view kSchemaV1;
}

namespace quarn::bench {

namespace {

void Check(int result, sqlite3* database, const char* what) {
    if (result != SQLITE_OK && result != SQLITE_DONE && result != SQLITE_ROW) {
        throw std::runtime_error(std::string(what) + ": " + sqlite3_errmsg(database));
    }
}

void Exec(sqlite3* database, const std::string& sql) {
    Check(sqlite3_exec(database, sql.c_str(), nullptr, nullptr, nullptr), database, sql.c_str());
}

void BindText(sqlite3_stmt* statement, int position, const std::string& text) {
    sqlite3_bind_text(statement, position, text.c_str(), static_cast<int>(text.size()),
                      SQLITE_TRANSIENT);
}

using PostgresResult = std::unique_ptr<PGresult, decltype(&PQclear)>;

void CheckPostgres(PGconn* connection, PGresult* result, ExecStatusType expected,
                   const std::string& what) {
    const PostgresResult owned(result, &PQclear);
    if (PQresultStatus(result) != expected) {
        throw std::runtime_error(what + ": " + PQerrorMessage(connection));
    }
}

void ExecPostgres(PGconn* connection, const std::string& sql) {
    CheckPostgres(connection, PQexec(connection, sql.c_str()), PGRES_COMMAND_OK, sql);
}

// Tab-separated rows into `copy` (a COPY ... FROM STDIN): one round trip for the whole table.
void CopyRows(PGconn* connection, const std::string& copy, const std::string& rows) {
    CheckPostgres(connection, PQexec(connection, copy.c_str()), PGRES_COPY_IN, copy);
    if (PQputCopyData(connection, rows.data(), static_cast<int>(rows.size())) != 1 ||
        PQputCopyEnd(connection, nullptr) != 1) {
        throw std::runtime_error(copy + ": " + PQerrorMessage(connection));
    }
    CheckPostgres(connection, PQgetResult(connection), PGRES_COMMAND_OK, copy);
    while (PGresult* rest = PQgetResult(connection)) {
        PQclear(rest);
    }
}

// `conninfo` naming the database `database` instead of its own; every other setting is kept.
std::string WithDatabase(const std::string& conninfo, const std::string& database) {
    char* error = nullptr;
    PQconninfoOption* options = PQconninfoParse(conninfo.c_str(), &error);
    if (!options) {
        const std::string message = error ? error : "out of memory";
        PQfreemem(error);
        throw std::runtime_error("QUARN_TEST_PG: " + message);
    }
    std::string result;
    for (const PQconninfoOption* option = options; option->keyword; ++option) {
        const bool isDatabase = std::string_view(option->keyword) == "dbname";
        const char* value = isDatabase ? database.c_str() : option->val;
        if (!value) {
            continue;
        }
        std::string quoted;
        for (const char* c = value; *c; ++c) {
            if (*c == '\\' || *c == '\'') {
                quoted += '\\';
            }
            quoted += *c;
        }
        result += (result.empty() ? "" : " ") + std::string(option->keyword) + "='" + quoted + "'";
    }
    PQconninfoFree(options);
    return result;
}

// One row of COPY's text format (the generated values hold no tabs, newlines or backslashes).
std::string Tabbed(std::initializer_list<std::string> values) {
    std::string line;
    for (const std::string& value : values) {
        line += value + '\t';
    }
    line.back() = '\n';
    return line;
}

std::string PostgresTreeName(TreeSize size) {
    return "quarn_bench_" + std::to_string(::getpid()) + "_" + std::to_string(size.subSystems);
}

}  // namespace

int32_t GroupId(int32_t group) {
    return 100000 + group;
}
std::string GroupNameEN(int32_t group) {
    return "Group " + std::to_string(group);
}
std::string GroupNameCHS(int32_t group) {
    return "分组" + std::to_string(group);
}
std::string GroupNameCHT(int32_t group) {
    return "分組" + std::to_string(group);
}
int32_t SubSystemId(int32_t subSystem) {
    return 100000 + subSystem;
}
std::string SubSystemNameEN(int32_t subSystem) {
    return "Subsystem " + std::to_string(subSystem);
}
std::string SubSystemNameCHS(int32_t subSystem) {
    return "子系统" + std::to_string(subSystem);
}
std::string SubSystemNameCHT(int32_t subSystem) {
    return "子系統" + std::to_string(subSystem);
}

void FillTree(sqlite3* database, TreeSize size) {
    Exec(database, "BEGIN");
    sqlite3_stmt* group = nullptr;
    Check(sqlite3_prepare_v2(database,
                             "INSERT INTO t_DataFlowTopClass (FTopClassID, FtopClassName, "
                             "FTopClassName_CHS, FTopClassName_CHT, FTopClassName_EN, FIndex, "
                             "FVisible, FShowSysType, FAcctType) VALUES (?, ?, ?, ?, ?, ?, 1, 1, "
                             "',1,2,')",
                             -1, &group, nullptr),
          database, "prepare group");
    for (int32_t g = 0; g < size.Groups(); ++g) {
        sqlite3_bind_int(group, 1, GroupId(g));
        BindText(group, 2, GroupNameCHS(g));
        BindText(group, 3, GroupNameCHS(g));
        BindText(group, 4, GroupNameCHT(g));
        BindText(group, 5, GroupNameEN(g));
        sqlite3_bind_int(group, 6, g);
        Check(sqlite3_step(group), database, "insert group");
        sqlite3_reset(group);
    }
    sqlite3_finalize(group);

    sqlite3_stmt* subSystem = nullptr;
    Check(sqlite3_prepare_v2(database,
                             "INSERT INTO t_DataFlowSubSystem (FSubSysID, FTopClassID, FName, "
                             "FName_CHS, FName_CHT, FName_EN, FSUBID, FVisible, FIndex, FAcctType, "
                             "FShowSysType) VALUES (?, ?, ?, ?, ?, ?, 'code', 1, ?, ',1,', 1)",
                             -1, &subSystem, nullptr),
          database, "prepare subsystem");
    for (int32_t s = 0; s < size.subSystems; ++s) {
        sqlite3_bind_int(subSystem, 1, SubSystemId(s));
        sqlite3_bind_int(subSystem, 2, GroupId(s % size.Groups()));
        BindText(subSystem, 3, SubSystemNameCHS(s));
        BindText(subSystem, 4, SubSystemNameCHS(s));
        BindText(subSystem, 5, SubSystemNameCHT(s));
        BindText(subSystem, 6, SubSystemNameEN(s));
        sqlite3_bind_int(subSystem, 7, s / size.Groups());
        Check(sqlite3_step(subSystem), database, "insert subsystem");
        sqlite3_reset(subSystem);
    }
    sqlite3_finalize(subSystem);
    Exec(database, "COMMIT");
}

std::string CreateTreeFile(TreeSize size) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("quarn-bench-" + std::to_string(::getpid()) + "-" +
                       std::to_string(size.subSystems) + ".sqlite");
    std::filesystem::remove(path);
    suite::CreateDatabase(path.string(), suite::DatabaseContent::BaseData);
    sqlite3* database = nullptr;
    Check(sqlite3_open(path.c_str(), &database), database, "open");
    // The benchmark's own tree replaces the delivered one.
    Check(sqlite3_exec(database,
                       "DELETE FROM t_DataFlowSubSystem; DELETE FROM t_DataFlowTopClass; "
                       "DELETE FROM t_AccountType",
                       nullptr, nullptr, nullptr),
          database, "clear");
    FillTree(database, size);
    sqlite3_close(database);
    return path.string();
}

void AddAccountTypes(const std::string& path) {
    sqlite3* database = nullptr;
    sqlite3_open(path.c_str(), &database);
    char* error = nullptr;
    if (sqlite3_exec(database,
                     "INSERT OR IGNORE INTO t_AccountType (FAcctType, FDesc, FDesc_CHT, FDesc_EN) "
                     "VALUES (1, '工业企业', '工業企業', 'Industrial enterprise')",
                     nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string message = error ? error : "cannot add the account types";
        sqlite3_free(error);
        sqlite3_close(database);
        throw std::runtime_error(message);
    }
    sqlite3_close(database);
}

void SealLog(const std::string& path) {
    const auto database =
        suite::Database::Open(suite::StoreLocation::FromDatabaseSpec("sqlite:" + path));
    database->BeginWrite();
    database->Commit();
}

sqlite3* CreateTreeInMemory(TreeSize size) {
    sqlite3* database = nullptr;
    Check(sqlite3_open(":memory:", &database), database, "open");
    Exec(database, std::string(suite::sql::kSchemaV1));
    FillTree(database, size);
    return database;
}

PostgresHandle ConnectPostgres(const std::string& conninfo) {
    PostgresHandle connection(PQconnectdb(conninfo.c_str()), &PQfinish);
    if (PQstatus(connection.get()) != CONNECTION_OK) {
        throw std::runtime_error(std::string("cannot connect to PostgreSQL: ") +
                                 PQerrorMessage(connection.get()));
    }
    PQsetNoticeProcessor(
        connection.get(), [](void*, const char*) {}, nullptr);
    return connection;
}

std::string CreateTreePostgres(const std::string& serverConninfo, TreeSize size) {
    const std::string name = PostgresTreeName(size);
    {
        const PostgresHandle server = ConnectPostgres(serverConninfo);
        ExecPostgres(server.get(), "DROP DATABASE IF EXISTS " + name);
        ExecPostgres(server.get(), "CREATE DATABASE " + name);
    }
    const std::string conninfo = WithDatabase(serverConninfo, name);
    suite::CreateDatabase("postgresql:" + conninfo, suite::DatabaseContent::BaseData);

    // The same tree as FillTree writes, with the same columns left to their defaults.
    std::string groups;
    for (int32_t g = 0; g < size.Groups(); ++g) {
        groups += Tabbed({std::to_string(GroupId(g)), GroupNameCHS(g), GroupNameCHS(g),
                          GroupNameCHT(g), GroupNameEN(g), std::to_string(g), "1", "1", ",1,2,"});
    }
    std::string subSystems;
    for (int32_t s = 0; s < size.subSystems; ++s) {
        subSystems += Tabbed({std::to_string(SubSystemId(s)),
                              std::to_string(GroupId(s % size.Groups())), SubSystemNameCHS(s),
                              SubSystemNameCHS(s), SubSystemNameCHT(s), SubSystemNameEN(s), "code",
                              "1", std::to_string(s / size.Groups()), ",1,", "1"});
    }
    const PostgresHandle database = ConnectPostgres(conninfo);
    ExecPostgres(database.get(), "BEGIN");
    ExecPostgres(database.get(),
                 "DELETE FROM t_DataFlowSubSystem; DELETE FROM t_DataFlowTopClass; "
                 "DELETE FROM t_AccountType");
    CopyRows(database.get(),
             "COPY t_DataFlowTopClass (FTopClassID, FtopClassName, FTopClassName_CHS, "
             "FTopClassName_CHT, FTopClassName_EN, FIndex, FVisible, FShowSysType, FAcctType) "
             "FROM STDIN",
             groups);
    CopyRows(database.get(),
             "COPY t_DataFlowSubSystem (FSubSysID, FTopClassID, FName, FName_CHS, FName_CHT, "
             "FName_EN, FSUBID, FVisible, FIndex, FAcctType, FShowSysType) FROM STDIN",
             subSystems);
    ExecPostgres(database.get(), "COMMIT");
    ExecPostgres(database.get(), "ANALYZE");  // plans as on a database in use
    return conninfo;
}

void DropTreePostgres(const std::string& serverConninfo, TreeSize size) noexcept {
    try {
        const PostgresHandle server = ConnectPostgres(serverConninfo);
        ExecPostgres(server.get(),
                     "DROP DATABASE IF EXISTS " + PostgresTreeName(size) + " WITH (FORCE)");
    } catch (const std::exception&) {
        // A server that is gone took the database with it.
    }
}

}  // namespace quarn::bench
