#include "suite/store/NewDatabase.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <random>

#include "suite/store/Database.h"
#include "suite/store/Schema.h"
#include "suite/store/StoreErrors.h"

namespace quarn::suite {

namespace {

namespace fs = std::filesystem;

[[noreturn]] void RaiseExists(const StoreLocation& location) {
    RaiseStoreError(StoreError::Exists, "CreateDatabase", "%1已存在，未做任何更改。",
                    location.Name());
}

// A folder that is missing and cannot be made, or that takes no new file.
[[noreturn]] void RaiseCannotCreate(const StoreLocation& location) {
    RaiseStoreError(StoreError::CannotCreate, "CreateDatabase",
                    "无法在此处创建%1：文件夹不存在或不可写入。", location.Name());
}

// Writers use WAL so that readers never wait for them; it is chosen once, here.
void BuildSqliteFile(const fs::path& file, bool demo, const StoreLocation& location) {
    StoreLocation building = location;
    building.target = file.string();
    auto connection = Connect(building, OpenMode::Create);
    connection->Execute("BEGIN IMMEDIATE");
    try {
        schema::Create(*connection, demo);
        connection->Execute("COMMIT");
    } catch (...) {
        connection->Execute("ROLLBACK");
        throw;
    }
    connection->Execute("PRAGMA journal_mode = WAL");
}

// What an interrupted creation left beside the target: files of processes that are gone.
void RemoveLeftovers(const fs::path& target) {
    const std::string prefix = "." + target.filename().string() + ".creating-";
    std::error_code error;
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(prefix, 0) != 0) {
            continue;
        }
        const pid_t creator = static_cast<pid_t>(std::atol(name.c_str() + prefix.size()));
        if (creator > 0 && ::kill(creator, 0) != 0 && errno == ESRCH) {
            fs::remove(entry.path(), error);
        }
    }
}

// Built beside the target and moved into place at the end, so that an interrupted creation
// never leaves a half-made database under the target's name.
void CreateSqlite(const StoreLocation& location, bool demo) {
    const fs::path target(location.target);
    std::error_code error;
    const bool replacesEmptyFile = fs::exists(target, error);
    if (replacesEmptyFile && fs::file_size(target, error) != 0) {
        RaiseExists(location);
    }
    if (target.has_parent_path()) {
        fs::create_directories(target.parent_path(), error);
    }
    RemoveLeftovers(target);
    const fs::path building =
        target.parent_path() /
        ("." + target.filename().string() + ".creating-" + std::to_string(::getpid()) + "-" +
         std::to_string(std::random_device()() % 1000000u));
    try {
        BuildSqliteFile(building, demo, location);
    } catch (const StoreFailure& failure) {
        fs::remove(building, error);
        if (failure.Error() == StoreError::Unavailable ||
            failure.Error() == StoreError::WriteProtected) {
            RaiseCannotCreate(location);
        }
        throw;
    } catch (...) {
        fs::remove(building, error);
        throw;
    }
    // A new name is linked, so a file that appeared meanwhile is never replaced; an empty file
    // that was there is replaced in one step.
    const bool placed = replacesEmptyFile ? ::rename(building.c_str(), target.c_str()) == 0
                                          : ::link(building.c_str(), target.c_str()) == 0;
    const int placeError = errno;
    fs::remove(building, error);
    if (!placed) {
        if (placeError == EEXIST) {
            RaiseExists(location);
        }
        RaiseCannotCreate(location);
    }
}

void CreatePostgres(const StoreLocation& location, bool demo) {
    auto connection = Connect(location, OpenMode::Create);
    connection->BeginWrite();
    try {
        connection->Run("SELECT pg_advisory_xact_lock(590042)", {});  // one creator at a time
        if (connection->HasTable("t_SchemaVersion") || connection->HasTable("t_DataFlowTopClass")) {
            RaiseExists(location);
        }
        schema::Create(*connection, demo);
        connection->Execute("COMMIT");
    } catch (...) {
        try {
            connection->Execute("ROLLBACK");
        } catch (...) {
        }
        throw;
    }
}

}  // namespace

void CreateDatabaseAt(const StoreLocation& location, DatabaseContent content) {
    const bool demo = content == DatabaseContent::DemoData;
    if (location.kind == StoreLocation::Kind::PostgreSQL) {
        CreatePostgres(location, demo);
    } else {
        CreateSqlite(location, demo);
    }
}

void CreateDatabase(const std::string& database, DatabaseContent content,
                    const std::string& password) {
    StoreLocation location = StoreLocation::FromDatabaseSpec(database);
    if (!password.empty()) {
        location.password = password;
    }
    CreateDatabaseAt(location, content);
}

}  // namespace quarn::suite
