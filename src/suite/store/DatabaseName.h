#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace quarn::suite {

/// A database as a person reads it in a message: an SQLite file, or a PostgreSQL database with
/// the server and the role where the connection names them; never a secret. It is kept in parts
/// and worded only when shown, so that one store shared by sessions of different languages
/// names itself in each session's language.
struct DatabaseName {
    bool postgres = false;
    std::string file{};  ///< the SQLite file
    /// The PostgreSQL database, server, port and role; each empty when the connection leaves it to
    /// libpq's defaults.
    std::string database{};
    std::string host{};
    std::string port{};
    std::string user{};

    /// Turns a simplified-Chinese catalog text into the session's language.
    using Localize = std::function<std::string(std::string_view)>;

    /// "SQLite database <file>", "PostgreSQL database suite on db1:5432 as me" in the language
    /// `localize` gives.
    std::string Text(const Localize& localize) const;
    /// The same in simplified Chinese, the store's own language.
    std::string Text() const;
};

}  // namespace quarn::suite
