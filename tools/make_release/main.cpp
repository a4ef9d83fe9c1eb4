// Makes the release file of the delivered tree from the base data that new databases are created
// with (schema_v1.sql, base_data.sql): the account types, groups and subsystems with the release
// named on base_data.sql's "-- Release: NAME DATE" line. Run by the build, so that the base data
// is the one source of the delivered rows.
// Usage: make_release <schema_v1.sql> <base_data.sql> <output>

#include <sqlite3.h>

#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "exchange/AtomicFile.h"
#include "exchange/ReleaseFile.h"

namespace {

using namespace quarn::subsysmgr::exchange;
using quarn::SuiteRelease;

std::string ReadFile(const char* name) {
    std::ifstream stream(name, std::ios::binary);
    std::ostringstream content;
    content << stream.rdbuf();
    if (!stream) {
        throw std::runtime_error(std::string("cannot read ") + name);
    }
    return content.str();
}

std::string Text(sqlite3_stmt* statement, int column) {
    const auto* text = sqlite3_column_text(statement, column);
    return text == nullptr ? std::string() : reinterpret_cast<const char*>(text);
}

// Calls `row` for each row of the query.
template <class Row>
void Each(sqlite3* database, const char* sql, Row&& row) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(database, sql, -1, &statement, nullptr) != SQLITE_OK) {
        throw std::runtime_error(sqlite3_errmsg(database));
    }
    while (sqlite3_step(statement) == SQLITE_ROW) {
        row(statement);
    }
    sqlite3_finalize(statement);
}

SuiteRelease Header(const std::string& baseData) {
    const std::string marker = "-- Release: ";
    const std::size_t at = baseData.find(marker);
    if (at == std::string::npos) {
        throw std::runtime_error("base data names no release");
    }
    const std::size_t start = at + marker.size();
    const std::string line = baseData.substr(start, baseData.find('\n', start) - start);
    const std::size_t blank = line.rfind(' ');
    return {line.substr(0, blank), line.substr(blank + 1)};
}

// The rows mapped as a group and its collection read them.
Release ReleaseOf(sqlite3* database, SuiteRelease header) {
    Release release{std::move(header), {}, {}, {}};
    Each(database, "SELECT FAcctType, FDesc, FDesc_CHT, FDesc_EN FROM t_AccountType ORDER BY 1",
         [&](sqlite3_stmt* row) {
             release.accountTypes.push_back(
                 {sqlite3_column_int(row, 0), {Text(row, 1), Text(row, 2), Text(row, 3)}});
         });
    Each(database,
         "SELECT FTopClassID, FTopClassName_CHS, FTopClassName_CHT, FTopClassName_EN, FIndex, "
         "FVisible, FShowSysType, FAcctType FROM t_DataFlowTopClass ORDER BY 1",
         [&](sqlite3_stmt* row) {
             release.groups.push_back({sqlite3_column_int(row, 0),
                                       {Text(row, 1), Text(row, 2), Text(row, 3)},
                                       sqlite3_column_int(row, 4),
                                       sqlite3_column_int(row, 5) != 0,
                                       (sqlite3_column_int(row, 6) & 2) == 2,
                                       ParseAccountTypes(Text(row, 7))});
         });
    Each(database,
         "SELECT FSubSysID, FTopClassID, FSUBID, FName_CHS, FName_CHT, FName_EN, FIndex, "
         "FVisible, FShowSysType, FAcctType FROM t_DataFlowSubSystem ORDER BY 1",
         [&](sqlite3_stmt* row) {
             release.subSystems.push_back({sqlite3_column_int(row, 0),
                                           sqlite3_column_int(row, 1),
                                           Text(row, 2),
                                           {Text(row, 3), Text(row, 4), Text(row, 5)},
                                           sqlite3_column_int(row, 6),
                                           sqlite3_column_int(row, 7) != 0,
                                           (sqlite3_column_int(row, 8) & 2) == 2,
                                           ParseAccountTypes(Text(row, 9))});
         });
    return release;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: make_release <schema_v1.sql> <base_data.sql> <output>\n";
        return 64;
    }
    sqlite3* database = nullptr;
    try {
        const std::string baseData = ReadFile(argv[2]);
        sqlite3_open(":memory:", &database);
        for (const std::string& script : {ReadFile(argv[1]), baseData}) {
            char* message = nullptr;
            if (sqlite3_exec(database, script.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
                const std::string error = message == nullptr ? "" : message;
                sqlite3_free(message);
                throw std::runtime_error(error);
            }
        }
        WriteFileAtomically(argv[3], WriteRelease(ReleaseOf(database, Header(baseData))));
    } catch (const std::exception& error) {
        std::cerr << "make_release: " << error.what() << '\n';
        sqlite3_close(database);
        return 1;
    }
    sqlite3_close(database);
    return 0;
}
