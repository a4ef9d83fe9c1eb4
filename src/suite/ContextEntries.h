#pragma once

#include <optional>
#include <string>
#include <string_view>

/// Entries of the session context string that choose the suite's services:
///
///   Database=sqlite:<file>                   an SQLite database file
///   Database=postgresql:<libpq key=values>   a PostgreSQL database, e.g.
///                                            postgresql:host=db1 port=5432 dbname=suite user=me
///   LogFile=<file>                           write the diagnostic log there ("-": stderr)
///
/// Unlike the component's own reading of the context, values keep their letter case.
namespace quarn::suite {

inline constexpr std::string_view kDatabaseEntry = "Database";
inline constexpr std::string_view kLogFileEntry = "LogFile";

/// The value of an entry (key compared without regard to case, at the start of an entry), or
/// nothing when the context has no such entry.
std::optional<std::string> ContextEntry(std::string_view context, std::string_view key);

}  // namespace quarn::suite
