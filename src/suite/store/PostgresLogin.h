#pragma once

#include <string>
#include <string_view>

#include "suite/store/DatabaseName.h"

struct pg_conn;

namespace quarn::suite {

/// Connects to PostgreSQL with a libpq connection string. Returns the open connection, which the
/// caller finishes with PQfinish. Raises the store's error for why it failed, told by the
/// server's SQLSTATE and the connection's own state whatever language either speaks:
/// Unavailable (nothing answers), NoDatabase, LoginRefused (password missing or wrong, a role
/// that may not connect, SSL that one side requires), Busy (no free connection).
/// `description` names the database in the message and never holds a secret.
pg_conn* ConnectPostgres(const std::string& conninfo, const DatabaseName& description);

/// The SQLSTATE of a connection's failure message written with PQERRORS_SQLSTATE: the five
/// characters after the severity at the end of a line ("FATAL:  28P01", behind libpq's
/// "connection to server ... failed: "); empty when the server sent none.
std::string SqlStateOfLoginMessage(std::string_view message);

}  // namespace quarn::suite
