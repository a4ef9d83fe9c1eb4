#include "suite/store/DatabaseName.h"

#include "suite/catalog/MessageFormatter.h"

namespace quarn::suite {

namespace {

// Each piece is a catalog text with %1 for what comes before it and %2 for the name it adds, so
// that a language puts the words where its grammar wants them.
constexpr std::string_view kSqliteFile = "SQLite 数据库 %1";
constexpr std::string_view kPostgres = "PostgreSQL 数据库";
constexpr std::string_view kPostgresNamed = "PostgreSQL 数据库 %1";
constexpr std::string_view kOnServer = "%1，位于 %2";
constexpr std::string_view kOnPort = "%1，端口 %2";
constexpr std::string_view kAsRole = "%1，用户 %2";

std::string Filled(const std::string& text, std::string first, std::string second = {}) {
    return MessageFormatter().FormatMessage(
        text, {Variant(std::move(first)), Variant(std::move(second))});
}

}  // namespace

std::string DatabaseName::Text(const Localize& localize) const {
    if (!postgres) {
        return Filled(localize(kSqliteFile), file);
    }
    std::string text =
        database.empty() ? localize(kPostgres) : Filled(localize(kPostgresNamed), database);
    if (!host.empty()) {
        text = Filled(localize(kOnServer), text, port.empty() ? host : host + ":" + port);
    } else if (!port.empty()) {
        text = Filled(localize(kOnPort), text, port);
    }
    if (!user.empty()) {
        text = Filled(localize(kAsRole), text, user);
    }
    return text;
}

std::string DatabaseName::Text() const {
    return Text([](std::string_view text) { return std::string(text); });
}

}  // namespace quarn::suite
