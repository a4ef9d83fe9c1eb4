#pragma once

#include <array>

#include "runtime/LocalizedError.h"

/// The numbered errors of the command-line tool itself. Each message is an English template (its
/// own key in the catalogs QuarnSubsysCli.<language>.json) with %1, %2 ... for the details.
namespace quarn::subsysmgr::cli::errors {

inline constexpr std::string_view kSource = "subsysmgr";

/// The command line does not parse: unknown command or option, missing or malformed value.
inline constexpr ErrorDefinition kCommandLine{2301, kSource, "Invalid command line: %1"};
/// --db names something that is neither an SQLite file nor a PostgreSQL connection.
inline constexpr ErrorDefinition kDatabaseOption{
    2302, kSource, "--db must name an SQLite file or postgresql:<connection>, not \"%1\"."};
inline constexpr ErrorDefinition kUnknownGroup{2303, kSource, "There is no subsystem group %1."};
inline constexpr ErrorDefinition kUnknownSubSystem{2304, kSource, "There is no subsystem %1."};
// 2305-2307 (a number out of range, a text too long, an account type not offered) are the
// editors' own checks.
/// Save refused a deletion and said why in a message box.
inline constexpr ErrorDefinition kGroupNotDeleted{2308, kSource,
                                                  "Subsystem group %1 was not deleted."};
inline constexpr ErrorDefinition kSubSystemNotDeleted{2309, kSource,
                                                      "Subsystem %1 was not deleted."};
inline constexpr ErrorDefinition kFileUnreadable{2310, kSource, "Cannot read the file %1."};
inline constexpr ErrorDefinition kFileUnwritable{2311, kSource, "Cannot write the file %1."};
/// An import file that is not an export of this program; nothing is imported.
inline constexpr ErrorDefinition kNotJson{2312, kSource,
                                          "The file %1 is not JSON (%2); nothing was imported."};
inline constexpr ErrorDefinition kFormatVersion{
    2313, kSource,
    "The file %1 has format version %2, this program reads version %3; nothing was imported."};
inline constexpr ErrorDefinition kMissingField{2314, kSource,
                                               "The file %1 lacks %2; nothing was imported."};
inline constexpr ErrorDefinition kWrongType{2315, kSource,
                                            "In the file %1, %2 must be %3; nothing was imported."};
inline constexpr ErrorDefinition kDuplicateItem{
    2316, kSource, "The file %1 lists %2 twice; nothing was imported."};
/// init does not overwrite an existing SQLite file.
inline constexpr ErrorDefinition kDatabaseExists{2317, kSource, "The file %1 exists already."};
/// Any failure that is not one of the suite's numbered errors.
inline constexpr ErrorDefinition kUnexpected{2318, kSource, "Unexpected failure: %1"};
inline constexpr ErrorDefinition kNotATime{
    2319, kSource,
    "The time %1 is neither a date (YYYY-MM-DD) nor a UTC time (YYYY-MM-DDThh:mm:ss)."};

/// A word where a command belongs that is none (%1 with the commands before it, %2 the commands
/// that may stand there).
inline constexpr ErrorDefinition kUnknownCommand{2320, kSource,
                                                 "Unknown command \"%1\"; the commands are: %2."};
/// No command at all (with --json; otherwise the usage is printed).
inline constexpr ErrorDefinition kNoCommand{2321, kSource,
                                            "No command was given; the commands are: %1."};
/// An item holds a text that is not valid UTF-8 (stored by another program), which an export
/// cannot hold exactly (%1 the kind of item, %2 its identifier, %3 the field).
inline constexpr ErrorDefinition kInvalidTextNotExported{
    2322, kSource,
    "The stored %3 of %1 %2 is not valid UTF-8, so an export cannot hold it exactly; nothing was "
    "exported. Correct it, or export with --replace-invalid to write U+FFFD in place of its "
    "invalid bytes."};

/// history --verify --against a file without the head of the history (an export of a database
/// without seals, or of an older version).
inline constexpr ErrorDefinition kNoHistoryHead{
    2323, kSource, "The file %1 records no sealed change of the history to compare with."};

inline constexpr std::array kAll{
    kCommandLine,
    kDatabaseOption,
    kUnknownGroup,
    kUnknownSubSystem,
    kGroupNotDeleted,
    kSubSystemNotDeleted,
    kFileUnreadable,
    kFileUnwritable,
    kNotJson,
    kFormatVersion,
    kMissingField,
    kWrongType,
    kDuplicateItem,
    kDatabaseExists,
    kUnexpected,
    kNotATime,
    kUnknownCommand,
    kNoCommand,
    kInvalidTextNotExported,
    kNoHistoryHead,
};

}  // namespace quarn::subsysmgr::cli::errors
