#include "suite/store/FreeQueryGuard.h"

#include <sqlite3.h>

#include <array>
#include <cctype>
#include <vector>

#include "foundation/Utf8Text.h"
#include "suite/store/StoreErrors.h"
#include "suite/store/StoreMessages.h"

namespace quarn::suite {

namespace {

// Functions with effects outside the query's result, on either engine. A word that starts with
// one of these is refused wherever it stands.
constexpr std::array<std::string_view, 17> kForbiddenPrefixes{
    "set_config", "lo_",          "pg_read",      "pg_ls_",         "pg_stat_file", "pg_file",
    "dblink",     "query_to_xml", "pg_terminate", "pg_cancel",      "pg_reload",    "pg_advisory",
    "pg_notify",  "nextval",      "setval",       "load_extension", "writefile"};

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return lower;
}

// The statement's words outside quoted texts and comments, lower-cased; `more` tells whether
// anything but blanks follows a ';' at the top level.
struct Scan {
    std::vector<std::string> words;
    bool more = false;
};

Scan Words(std::string_view sql) {
    Scan scan;
    std::string word;
    bool ended = false;
    auto flush = [&] {
        if (!word.empty()) {
            if (ended) {
                scan.more = true;
            }
            scan.words.push_back(Lower(word));
            word.clear();
        }
    };
    for (std::size_t i = 0; i < sql.size(); ++i) {
        const char c = sql[i];
        if (c == '\'' || c == '"') {
            flush();
            const std::size_t close = sql.find(c, i + 1);
            i = close == std::string_view::npos ? sql.size() : close;
            scan.more = scan.more || ended;
        } else if (sql.substr(i, 2) == "--") {
            flush();
            const std::size_t end = sql.find('\n', i);
            i = end == std::string_view::npos ? sql.size() : end;
        } else if (sql.substr(i, 2) == "/*") {
            flush();
            const std::size_t end = sql.find("*/", i + 2);
            i = end == std::string_view::npos ? sql.size() : end + 1;
        } else if (c == ';') {
            flush();
            ended = true;
        } else if (std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$') {
            word += c;
        } else {
            flush();
            if (ended && !std::isspace(static_cast<unsigned char>(c))) {
                scan.more = true;
            }
        }
    }
    flush();
    return scan;
}

}  // namespace

void CheckFreeQuery(std::string_view sql, const DatabaseName& description) {
    const Scan scan = Words(sql);
    const bool reads =
        !scan.words.empty() && (scan.words.front() == "select" || scan.words.front() == "with" ||
                                scan.words.front() == "values");
    bool forbidden = !reads || scan.more;
    for (const std::string& word : scan.words) {
        for (const std::string_view prefix : kForbiddenPrefixes) {
            forbidden = forbidden || word.rfind(prefix, 0) == 0;
        }
        // Data-changing clauses of a WITH, and SELECT ... INTO a new table.
        forbidden = forbidden || word == "insert" || word == "update" || word == "delete" ||
                    word == "into" || word == "copy" || word == "merge";
    }
    if (forbidden) {
        RaiseStoreError(StoreError::ReadOnly, "Database", messages::kFreeQueryRefused, description);
    }
}

namespace {

int AuthorizeReading(void*, int action, const char*, const char* name, const char*, const char*) {
    switch (action) {
        case SQLITE_SELECT:
        case SQLITE_READ:
        case SQLITE_RECURSIVE:
            return SQLITE_OK;
        case SQLITE_FUNCTION: {
            const std::string function = name ? Lower(name) : std::string();
            for (const std::string_view prefix : kForbiddenPrefixes) {
                if (function.rfind(prefix, 0) == 0) {
                    return SQLITE_DENY;
                }
            }
            return function == "readfile" || function == "edit" || function == "fts3_tokenizer"
                       ? SQLITE_DENY
                       : SQLITE_OK;
        }
        default:
            return SQLITE_DENY;
    }
}

}  // namespace

void RestrictToReading(sqlite3* connection) {
    sqlite3_set_authorizer(connection, AuthorizeReading, nullptr);
    sqlite3_limit(connection, SQLITE_LIMIT_ATTACHED, 0);
    sqlite3_db_config(connection, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0, nullptr);
}

}  // namespace quarn::suite
