#include "BenchmarkData.h"

#include <unistd.h>

#include <filesystem>
#include <stdexcept>
#include <string_view>

#include "suite/CreateDatabase.h"

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

}  // namespace

int32_t GroupId(int32_t group) {
    return 100000 + group;
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
        const std::string chs = "分组" + std::to_string(g);
        sqlite3_bind_int(group, 1, GroupId(g));
        BindText(group, 2, chs);
        BindText(group, 3, chs);
        BindText(group, 4, "分組" + std::to_string(g));
        BindText(group, 5, "Group " + std::to_string(g));
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

sqlite3* CreateTreeInMemory(TreeSize size) {
    sqlite3* database = nullptr;
    Check(sqlite3_open(":memory:", &database), database, "open");
    Exec(database, std::string(suite::sql::kSchemaV1));
    FillTree(database, size);
    return database;
}

}  // namespace quarn::bench
