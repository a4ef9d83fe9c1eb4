#pragma once

#include <string>
#include <string_view>

namespace quarn::suite {

/// The SHA-256 digest of `data` as 64 lower-case hexadecimal digits, as PostgreSQL's
/// encode(sha256(...), 'hex') writes it. The store seals its change log with it in our own code,
/// since SQLite has no hash function in SQL.
std::string Sha256Hex(std::string_view data);

}  // namespace quarn::suite
