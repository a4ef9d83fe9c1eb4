#pragma once

#include "foundation/ComError.h"

/// What the tool's exit code tells a script, in the sysexits convention where one fits: whether
/// to try again later, fix the input first, or look closer.
namespace quarn::subsysmgr::cli {

/// Done.
inline constexpr int kExitOk = 0;
/// An unexpected failure, or a seal check that found the history altered.
inline constexpr int kExitError = 1;
/// An import wrote what it could but refused at least one item (a dry run: would refuse).
inline constexpr int kExitRefused = 2;
/// EX_USAGE: the command line is wrong (an unknown command, a missing or malformed option or
/// --db value); nothing was done.
inline constexpr int kExitUsage = 64;
/// EX_DATAERR: refused by a rule, by another user's change, or for an item that does not exist;
/// nothing was written. Fix the request first.
inline constexpr int kExitDataError = 65;
/// EX_NOINPUT: a file or database to read does not exist or cannot be read.
inline constexpr int kExitNoInput = 66;
/// EX_CANTCREAT: an output file or a new database cannot be made there, or one exists already.
inline constexpr int kExitCannotCreate = 73;
/// EX_IOERR: the disk or the server ran out of space; nothing was written.
inline constexpr int kExitIoError = 74;
/// EX_TEMPFAIL: the database is busy, locked or cannot be reached now; try again later.
inline constexpr int kExitTryAgain = 75;
/// EX_NOPERM: the login was refused (password, role, access rule, SSL) or the database takes no
/// writes from this user.
inline constexpr int kExitNoPermission = 77;

/// The exit code for a reported error, by its number: an error raised in place of the store's
/// (a save that failed because the database was busy) by the store's number behind it.
int ExitCodeOf(const ComError& error);

}  // namespace quarn::subsysmgr::cli
