#include "suite/store/ConnectionString.h"

#include <memory>

#include "suite/store/LibPq.h"
#include "suite/store/StoreErrors.h"

namespace quarn::suite {

namespace {

using Options = std::unique_ptr<PQconninfoOption, decltype(&PQconninfoFree)>;

bool NeedsQuotes(std::string_view value) {
    // libpq ends an unquoted value at white space (as isspace sees it in the C locale) and takes
    // a backslash as an escape.
    return value.empty() || value.find_first_of(" \t\n\v\f\r'\\") != std::string_view::npos;
}

}  // namespace

ConnectionString::ConnectionString(std::string_view conninfo) {
    if (conninfo.size() > kMaxLength) {
        RaiseStoreError(StoreError::InvalidLocation, "Database",
                        "PostgreSQL 连接字符串超过 %1 个字节。", std::to_string(kMaxLength));
    }
    // libpq reads a C string: whatever follows a NUL would silently be left out.
    if (conninfo.find('\0') != std::string_view::npos) {
        RaiseStoreError(StoreError::InvalidLocation, "Database", "数据库名不能含有 %1。", "NUL");
    }
    char* message = nullptr;
    const Options options(Pq().PQconninfoParse(std::string(conninfo).c_str(), &message),
                          Pq().PQconninfoFree);
    if (!options) {
        // libpq's message quotes the part it could not read, which may be the password.
        Pq().PQfreemem(message);
        RaiseStoreError(StoreError::InvalidLocation, "Database",
                        "无法解析 PostgreSQL 连接字符串：请检查键名、等号和引号。");
    }
    for (const PQconninfoOption* option = options.get(); option->keyword; ++option) {
        if (option->val) {
            // libpq marks the options whose value it never shows with '*'.
            const bool secret = option->dispchar && option->dispchar[0] == '*';
            entries_.push_back({option->keyword, option->val, secret});
        }
    }
}

std::optional<std::string> ConnectionString::Value(std::string_view keyword) const {
    for (const Entry& entry : entries_) {
        if (entry.keyword == keyword) {
            return entry.value;
        }
    }
    return std::nullopt;
}

std::string ConnectionString::Joined(bool secret, std::string_view except) const {
    std::string joined;
    for (const Entry& entry : entries_) {
        if (entry.secret != secret || entry.keyword == except) {
            continue;
        }
        joined += (joined.empty() ? "" : " ") + Pair(entry.keyword, entry.value);
    }
    return joined;
}

std::string ConnectionString::WithoutSecrets() const {
    return Joined(false, {});
}

std::string ConnectionString::OtherSecrets() const {
    return Joined(true, "password");
}

DatabaseName ConnectionString::Name() const {
    const auto host = Value("host") ? Value("host") : Value("hostaddr");
    return {.postgres = true,
            .database = Value("dbname").value_or(""),
            .host = host.value_or(""),
            .port = Value("port").value_or(""),
            .user = Value("user").value_or("")};
}

std::string ConnectionString::Pair(std::string_view keyword, std::string_view value) {
    std::string pair = std::string(keyword) + "=";
    if (!NeedsQuotes(value)) {
        return pair + std::string(value);
    }
    pair += '\'';
    for (const char c : value) {
        if (c == '\'' || c == '\\') {
            pair += '\\';
        }
        pair += c;
    }
    return pair + '\'';
}

}  // namespace quarn::suite
