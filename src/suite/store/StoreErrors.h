#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "quarn/foundation/ComError.h"
#include "quarn/suite/store/DatabaseName.h"

namespace quarn::suite {

/// Offsets of the errors the store raises.
enum class StoreError : int32_t {
    Unavailable = 2201,      ///< the database cannot be opened or reached
    NewerSchema = 2202,      ///< written by a newer version of this program
    Busy = 2203,             ///< locked by another writer for longer than the busy timeout
    Refused = 2204,          ///< a write the rules forbid: duplicate, orphan, name taken
    ReadOnly = 2205,         ///< a free query that would write or leave the suite's tables
    QueryFailed = 2206,      ///< any other failure of a statement
    InvalidLocation = 2207,  ///< a database name the store cannot use
    NotOurs = 2208,          ///< an existing file or database that this program did not create
    DiskFull = 2209,         ///< the disk or the server ran out of space; nothing was written
    WriteProtected = 2210,   ///< the file, its folder or the server accepts no writes
    Exists = 2211,           ///< a database is to be created where one already is
    Stale = 2212,            ///< the item was changed or deleted by someone else since it was read
    Unprotected = 2213,      ///< what keeps the change log true is missing or altered: no writes
    NoDatabase = 2214,       ///< the named database does not exist (a file to read, a server's)
    LoginRefused = 2215,     ///< the server refused this login: password, role, rule or SSL
    CannotCreate = 2216,     ///< a new database's file cannot be made: folder missing or read-only
};

/// Every error above, for the register of the system's numbers. The store's numbers stay within
/// 2201-2299: a business object that fails because of the store appends the store's reason to
/// its own message by that range.
inline constexpr std::array kStoreErrors{
    StoreError::Unavailable,     StoreError::NewerSchema, StoreError::Busy,
    StoreError::Refused,         StoreError::ReadOnly,    StoreError::QueryFailed,
    StoreError::InvalidLocation, StoreError::NotOurs,     StoreError::DiskFull,
    StoreError::WriteProtected,  StoreError::Exists,      StoreError::Stale,
    StoreError::Unprotected,     StoreError::NoDatabase,  StoreError::LoginRefused,
    StoreError::CannotCreate,
};

constexpr int32_t ErrorNumber(StoreError error) {
    return ObjectError(static_cast<int32_t>(error));
}

/// A store error as raised: its message template (a simplified-Chinese catalog key with %1 for
/// the detail) and the detail kept apart, so that the session that reports it can put the
/// message into its own language. The description is the template in simplified Chinese.
/// A detail names a database, a table or a rule; never a statement, a typed value or a password.
/// A second detail (%2) names what the first does not, such as the missing protections.
/// A failure of the database engine keeps the engine's own code (EngineCode). A detail that
/// names a database keeps it in parts (NamedDatabase), worded in the reporting session's language.
class StoreFailure : public ComError {
  public:
    StoreFailure(StoreError error, std::string source, std::string_view messageTemplate,
                 std::string detail, std::string moreDetail = {}, std::string engineCode = {});
    StoreFailure(StoreError error, std::string source, std::string_view messageTemplate,
                 const DatabaseName& database, std::string moreDetail = {},
                 std::string engineCode = {});

    StoreError Error() const { return error_; }
    const std::string& Template() const { return template_; }
    const std::string& Detail() const { return detail_; }
    const std::string& MoreDetail() const { return moreDetail_; }
    const std::optional<DatabaseName>& NamedDatabase() const { return database_; }

  private:
    StoreError error_;
    std::string template_;
    std::string detail_;
    std::string moreDetail_;
    std::optional<DatabaseName> database_;
};

/// Raises a StoreFailure. `messageTemplate` is a literal simplified-Chinese text with %1 (and
/// %2 for `moreDetail`).
[[noreturn]] void RaiseStoreError(StoreError error, std::string source,
                                  std::string_view messageTemplate, std::string detail = {},
                                  std::string moreDetail = {});
[[noreturn]] void RaiseStoreError(StoreError error, std::string source,
                                  std::string_view messageTemplate, const DatabaseName& database,
                                  std::string moreDetail = {});

/// Raises a StoreFailure of the source "Database" for a failure of the database engine, with the
/// engine's own code: SQLite's extended result code as SqliteEngineCode names it, or
/// PostgreSQL's SQLSTATE.
[[noreturn]] void RaiseEngineFailure(StoreError error, std::string_view messageTemplate,
                                     const DatabaseName& database, std::string engineCode);
[[noreturn]] void RaiseEngineFailure(StoreError error, std::string_view messageTemplate,
                                     std::string detail, std::string engineCode);

}  // namespace quarn::suite
