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
/// Any failure that is not one of the suite's numbered errors.
inline constexpr ErrorDefinition kUnexpected{2318, kSource, "Unexpected failure: %1"};
inline constexpr ErrorDefinition kNotATime{
    2319, kSource,
    "The time %1 is neither a date (YYYY-MM-DD) nor a time (YYYY-MM-DDThh:mm:ss, local, or UTC "
    "with a final Z)."};

/// A word where a command belongs that is none (%1 with the commands before it, %2 the commands
/// that may stand there).
inline constexpr ErrorDefinition kUnknownCommand{2320, kSource,
                                                 "Unknown command \"%1\"; the commands are: %2."};
/// No command at all (with --json; otherwise the usage is printed).
inline constexpr ErrorDefinition kNoCommand{2321, kSource,
                                            "No command was given; the commands are: %1."};

inline constexpr std::array kAll{
    kCommandLine, kDatabaseOption, kUnexpected, kNotATime, kUnknownCommand, kNoCommand,
};

}  // namespace quarn::subsysmgr::cli::errors
