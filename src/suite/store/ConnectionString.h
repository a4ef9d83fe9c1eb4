#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "suite/store/DatabaseName.h"

namespace quarn::suite {

/// A PostgreSQL connection string as libpq reads it: key=value pairs (values quoted with '...'
/// where needed) or a postgresql:// URI. libpq itself parses it, so whatever libpq would connect
/// with is what this class sees, quoting and URI parameters included. Secret entries (those
/// libpq marks as passwords: password, sslpassword) are kept apart from the rest.
class ConnectionString {
  public:
    /// Longer strings are refused before libpq sees them.
    static constexpr std::size_t kMaxLength = 8192;

    struct Entry {
        std::string keyword;
        std::string value;
        bool secret = false;
    };

    /// Parses `conninfo`. Raises StoreError InvalidLocation when it is longer than kMaxLength,
    /// holds a NUL or libpq cannot parse it; the message never repeats the string.
    explicit ConnectionString(std::string_view conninfo);

    /// The entries the string sets, in libpq's order of keywords (a URI gives the same entries
    /// as the equivalent key=value string).
    const std::vector<Entry>& Entries() const { return entries_; }
    /// The value of an entry, or nothing when the string does not set it.
    std::optional<std::string> Value(std::string_view keyword) const;
    /// The password entry, or "" (then libpq's own sources such as ~/.pgpass apply).
    std::string Password() const { return Value("password").value_or(std::string()); }

    /// The key=value string of the entries that are not secret.
    std::string WithoutSecrets() const;
    /// The key=value string of the secret entries other than the password, or "".
    std::string OtherSecrets() const;
    /// The database, server and role the string sets, for messages; never a secret.
    DatabaseName Name() const;

    /// `keyword=value` with the value quoted as libpq requires: in '...' with \' and \\ when it is
    /// empty or holds a blank, a quote or a backslash.
    static std::string Pair(std::string_view keyword, std::string_view value);

  private:
    std::string Joined(bool secret, std::string_view except) const;

    std::vector<Entry> entries_;
};

}  // namespace quarn::suite
