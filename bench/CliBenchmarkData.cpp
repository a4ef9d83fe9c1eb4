// The data of the command-line benchmarks (bench/cli-speed), and the bare writer that the import
// is measured against:
//
//   bench_cli_data tree FILE COUNT            a new SQLite database with the base data and the
//                                             first COUNT subsystems of the tree below
//   bench_cli_data rows groups|subsystems COUNT   the same rows as tab-separated text, for COPY
//   bench_cli_data export FILE FIRST COUNT    an export file of subsystems FIRST .. FIRST+COUNT-1
//                                             and their groups, as `subsysmgr export` writes it
//   bench_cli_data bare-import FILE FIRST COUNT   writes those groups and subsystems into the
//                                             SQLite file with the sqlite3 C API, one transaction
//                                             per item, as an import does
//
// Subsystem s belongs to group s / 100 and has display index s % 100 (group g: g % 1000, the
// highest index the editors take); the identifiers lie in
// the ranges that export writes and import takes (groups 10000 up; subsystems 100000 up, and
// 8000 up after 199990), so the export of a tree file is the import file of the same tree.

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>
#include <vector>

#include "BenchmarkData.h"
#include "suite/CreateDatabase.h"

namespace quarn::bench {

namespace {

constexpr int32_t kPerGroup = 100;
constexpr int32_t kAccountType = 1;  // an account type of the base data

int32_t CliGroupId(int32_t group) {
    return 10000 + group;
}

int32_t CliSubSystemId(int32_t subSystem) {
    constexpr int32_t kBroxSubSystems = 199990 - 100000 + 1;
    return subSystem < kBroxSubSystems ? 100000 + subSystem : 8000 + subSystem - kBroxSubSystems;
}

int32_t GroupOf(int32_t subSystem) {
    return subSystem / kPerGroup;
}

void Check(int result, sqlite3* database, const std::string& what) {
    if (result != SQLITE_OK && result != SQLITE_DONE && result != SQLITE_ROW) {
        throw std::runtime_error(what + ": " + sqlite3_errmsg(database));
    }
}

// A statement prepared once, stepped once per row.
class Statement {
  public:
    Statement(sqlite3* database, const char* sql) : database_(database) {
        Check(sqlite3_prepare_v2(database, sql, -1, &statement_, nullptr), database, sql);
    }
    ~Statement() { sqlite3_finalize(statement_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& Bind(int position, int32_t value) {
        sqlite3_bind_int(statement_, position, value);
        return *this;
    }
    Statement& Bind(int position, const std::string& text) {
        sqlite3_bind_text(statement_, position, text.c_str(), static_cast<int>(text.size()),
                          SQLITE_TRANSIENT);
        return *this;
    }
    void Step() {
        Check(sqlite3_step(statement_), database_, sqlite3_sql(statement_));
        sqlite3_reset(statement_);
    }

  private:
    sqlite3* database_;
    sqlite3_stmt* statement_ = nullptr;
};

// The rows an import writes, in its order: the new groups, then the subsystems.
struct Writer {
    explicit Writer(sqlite3* database)
        : group(database,
                "INSERT INTO t_DataFlowTopClass (FTopClassID, FtopClassName, FTopClassName_CHS, "
                "FTopClassName_CHT, FTopClassName_EN, FIndex, FVisible, FShowSysType, FAcctType) "
                "VALUES (?, ?, ?, ?, ?, ?, 1, 1, ',1,')"),
          subSystem(database,
                    "INSERT INTO t_DataFlowSubSystem (FSubSysID, FTopClassID, FName, FName_CHS, "
                    "FName_CHT, FName_EN, FSUBID, FClassName, FVisible, FIndex, FAcctType, "
                    "FShowSysType) VALUES (?, ?, ?, ?, ?, ?, 'code', "
                    "'QuarnBroxActive.Application', 1, ?, ',1,', 1)") {}

    void Group(int32_t g) {
        group.Bind(1, CliGroupId(g))
            .Bind(2, GroupNameCHS(g))
            .Bind(3, GroupNameCHS(g))
            .Bind(4, GroupNameCHT(g))
            .Bind(5, GroupNameEN(g))
            .Bind(6, g % 1000)  // display indexes run to 1000
            .Step();
    }
    void SubSystem(int32_t s) {
        subSystem.Bind(1, CliSubSystemId(s))
            .Bind(2, CliGroupId(GroupOf(s)))
            .Bind(3, SubSystemNameCHS(s))
            .Bind(4, SubSystemNameCHS(s))
            .Bind(5, SubSystemNameCHT(s))
            .Bind(6, SubSystemNameEN(s))
            .Bind(7, s % kPerGroup)
            .Step();
    }

    Statement group;
    Statement subSystem;
};

sqlite3* OpenFile(const std::string& file) {
    sqlite3* database = nullptr;
    Check(sqlite3_open_v2(file.c_str(), &database, SQLITE_OPEN_READWRITE, nullptr), database,
          "open " + file);
    sqlite3_busy_timeout(database, 30000);
    // As the store's connection: foreign keys enforced, the log's triggers trusted.
    sqlite3_db_config(database, SQLITE_DBCONFIG_ENABLE_FKEY, 1, nullptr);
    return database;
}

void Exec(sqlite3* database, const char* sql) {
    Check(sqlite3_exec(database, sql, nullptr, nullptr, nullptr), database, sql);
}

void CreateTree(const std::string& file, int32_t count) {
    suite::CreateDatabase(file, suite::DatabaseContent::BaseData);
    sqlite3* database = OpenFile(file);
    {
        Writer writer(database);
        Exec(database, "BEGIN");
        for (int32_t g = 0; g * kPerGroup < count; ++g) {
            writer.Group(g);
        }
        for (int32_t s = 0; s < count; ++s) {
            writer.SubSystem(s);
        }
        Exec(database, "COMMIT");
    }
    sqlite3_close(database);
}

// One transaction per item, the groups that the subsystems need first.
void BareImport(const std::string& file, int32_t first, int32_t count) {
    sqlite3* database = OpenFile(file);
    {
        Writer writer(database);
        Statement begin(database, "BEGIN IMMEDIATE");
        Statement commit(database, "COMMIT");
        Statement groupExists(database, "SELECT 1 FROM t_DataFlowTopClass WHERE FTopClassID = ?");
        for (int32_t g = GroupOf(first); g <= GroupOf(first + count - 1); ++g) {
            begin.Step();
            writer.Group(g);
            commit.Step();
        }
        for (int32_t s = first; s < first + count; ++s) {
            begin.Step();
            writer.SubSystem(s);
            commit.Step();
        }
    }
    sqlite3_close(database);
}

void PrintRows(const std::string& table, int32_t count) {
    std::string out;
    if (table == "groups") {
        for (int32_t g = 0; g * kPerGroup < count; ++g) {
            out += std::to_string(CliGroupId(g)) + '\t' + GroupNameCHS(g) + '\t' + GroupNameCHS(g) +
                   '\t' + GroupNameCHT(g) + '\t' + GroupNameEN(g) + '\t' +
                   std::to_string(g % 1000) + "\t1\t1\t,1,\n";
        }
    } else {
        for (int32_t s = 0; s < count; ++s) {
            out += std::to_string(CliSubSystemId(s)) + '\t' +
                   std::to_string(CliGroupId(GroupOf(s))) + '\t' + SubSystemNameCHS(s) + '\t' +
                   SubSystemNameCHS(s) + '\t' + SubSystemNameCHT(s) + '\t' + SubSystemNameEN(s) +
                   "\tcode\tQuarnBroxActive.Application\t1\t" + std::to_string(s % kPerGroup) +
                   "\t,1,\t1\n";
        }
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
}

using Json = nlohmann::ordered_json;

Json NamesJson(const std::string& chs, const std::string& cht, const std::string& en) {
    return Json{{"CHS", chs}, {"CHT", cht}, {"EN", en}};
}

// The members that follow an item's identifier (and a subsystem's group and number), in the
// order export writes them.
void AddItemMembers(Json& item, Json names, int32_t index) {
    item["names"] = std::move(names);
    item["index"] = index;
    item["visible"] = true;
    item["web"] = false;
    item["accountTypes"] = Json::array({kAccountType});
}

void WriteExport(const std::string& file, int32_t first, int32_t count) {
    Json groups = Json::array();
    for (int32_t g = GroupOf(first); g <= GroupOf(first + count - 1); ++g) {
        Json group{{"id", CliGroupId(g)}};
        AddItemMembers(group, NamesJson(GroupNameCHS(g), GroupNameCHT(g), GroupNameEN(g)),
                       g % 1000);
        groups.push_back(std::move(group));
    }
    // Ordered by identifier, as export writes them: the 8000s come first.
    std::vector<int32_t> order;
    for (int32_t s = first; s < first + count; ++s) {
        order.push_back(s);
    }
    std::stable_partition(order.begin(), order.end(),
                          [](int32_t s) { return CliSubSystemId(s) < 100000; });
    Json subSystems = Json::array();
    for (const int32_t s : order) {
        Json subSystem{
            {"id", CliSubSystemId(s)}, {"group", CliGroupId(GroupOf(s))}, {"number", "code"}};
        AddItemMembers(subSystem,
                       NamesJson(SubSystemNameCHS(s), SubSystemNameCHT(s), SubSystemNameEN(s)),
                       s % kPerGroup);
        subSystems.push_back(std::move(subSystem));
    }
    const Json exported{{"format", 1}, {"groups", groups}, {"subsystems", subSystems}};
    std::ofstream(file, std::ios::binary) << exported.dump(2) << '\n';
}

}  // namespace

}  // namespace quarn::bench

int main(int argc, char** argv) {
    using namespace quarn::bench;
    const std::vector<std::string> args(argv + 1, argv + argc);
    const auto number = [&](std::size_t i) { return static_cast<int32_t>(std::stol(args.at(i))); };
    try {
        if (args.size() == 3 && args[0] == "tree") {
            CreateTree(args[1], number(2));
        } else if (args.size() == 3 && args[0] == "rows") {
            PrintRows(args[1], number(2));
        } else if (args.size() == 4 && args[0] == "export") {
            WriteExport(args[1], number(2), number(3));
        } else if (args.size() == 4 && args[0] == "bare-import") {
            BareImport(args[1], number(2), number(3));
        } else {
            std::cerr << "usage: bench_cli_data tree FILE COUNT | rows groups|subsystems COUNT |\n"
                         "       export FILE FIRST COUNT | bare-import FILE FIRST COUNT\n";
            return 2;
        }
    } catch (const std::exception& error) {
        std::cerr << "bench_cli_data: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
