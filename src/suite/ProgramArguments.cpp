#include "suite/ProgramArguments.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "suite/store/ConnectionString.h"
#include "suite/store/StoreErrors.h"

namespace quarn::suite {

namespace {

constexpr std::string_view kDatabaseOption = "--db";
constexpr std::string_view kPostgresPrefix = "postgresql:";

// Where the libpq part of a --db value begins, or nothing for a value that is no PostgreSQL one.
std::optional<std::size_t> ConnectionStart(std::string_view database) {
    if (database.starts_with("postgresql://") || database.starts_with("postgres://")) {
        return 0;
    }
    if (database.starts_with(kPostgresPrefix)) {
        return kPostgresPrefix.size();
    }
    return std::nullopt;
}

std::optional<ConnectionString> Parsed(std::string_view conninfo) {
    try {
        return ConnectionString(conninfo);
    } catch (const StoreFailure&) {
        return std::nullopt;
    }
}

bool Starred(std::string_view value) {
    return value.find_first_not_of('*') == std::string_view::npos;
}

// The secret values libpq reads in the string and in each beginning of it that it can parse, so
// that a password given twice, which the whole string's last one overrides, is found too.
// Longest first: a beginning that cuts a password short gives a part of it.
std::vector<std::string> SecretsRead(std::string_view conninfo) {
    std::vector<std::string> secrets;
    for (std::size_t length = 1; length <= conninfo.size(); ++length) {
        const auto parsed = Parsed(conninfo.substr(0, length));
        for (const ConnectionString::Entry& entry :
             parsed ? parsed->Entries() : std::vector<ConnectionString::Entry>{}) {
            if (entry.secret && !Starred(entry.value) &&
                std::ranges::find(secrets, entry.value) == secrets.end()) {
                secrets.push_back(entry.value);
            }
        }
    }
    std::ranges::sort(
        secrets, [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
    return secrets;
}

// Stars each place where a secret stands as it is written, taking only the places whose starring
// leaves every other entry as libpq reads it; nothing when a secret stays legible.
std::optional<std::string> StarredInPlace(std::string_view conninfo,
                                          const ConnectionString& parsed) {
    const std::string others = parsed.WithoutSecrets();
    std::string starred(conninfo);
    for (const std::string& secret : SecretsRead(conninfo)) {
        for (auto at = starred.find(secret); at != std::string::npos;
             at = starred.find(secret, at + 1)) {
            std::string candidate = starred;
            candidate.replace(at, secret.size(), secret.size(), '*');
            const auto reparsed = Parsed(candidate);
            if (reparsed && reparsed->WithoutSecrets() == others) {
                starred = std::move(candidate);
            }
        }
    }
    if (!Parsed(starred) || !SecretsRead(starred).empty()) {
        return std::nullopt;
    }
    return starred;
}

}  // namespace

std::string WithSecretsStarred(std::string_view database) {
    const auto start = ConnectionStart(database);
    if (!start) {
        return std::string(database);
    }
    const std::string_view conninfo = database.substr(*start);
    const auto parsed = Parsed(conninfo);
    if (parsed && SecretsRead(conninfo).empty()) {
        return std::string(database);
    }
    if (const auto inPlace = parsed ? StarredInPlace(conninfo, *parsed) : std::nullopt) {
        return std::string(database.substr(0, *start)) + *inPlace;
    }
    // The kind of database stays legible: "postgresql:" or a URI's scheme.
    const std::size_t kind = *start > 0 ? *start : database.find("//") + 2;
    return std::string(database.substr(0, kind)) + std::string(database.size() - kind, '*');
}

ProgramArguments::ProgramArguments(int argc, char** argv)
    : count_(argc), copies_(argv, argv + argc) {
    for (std::string& copy : copies_) {
        pointers_.push_back(copy.data());
    }
    pointers_.push_back(nullptr);
    const std::string valuePrefix = std::string(kDatabaseOption) + "=";
    for (int n = 1; n < argc; ++n) {
        const std::string_view argument = argv[n];
        char* value = nullptr;
        if (argument == kDatabaseOption && n + 1 < argc) {
            value = argv[++n];
        } else if (argument.starts_with(valuePrefix)) {
            value = argv[n] + valuePrefix.size();
        }
        if (value) {
            const std::string shown = WithSecretsStarred(value);
            std::memcpy(value, shown.data(), shown.size());
        }
    }
}

}  // namespace quarn::suite
