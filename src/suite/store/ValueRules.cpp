#include "suite/store/ValueRules.h"

#include <algorithm>
#include <array>
#include <string>

#include "foundation/Utf8Text.h"

namespace quarn::suite::valuerules {

namespace {

// A rule over some columns of a table: each column's text must pass it (NULL passes).
struct Rule {
    std::string_view table;
    std::string_view constraint;
    std::array<std::string_view, 3> columns;
    bool names;  // true: not blank; false: at most 40 code points
};

constexpr std::size_t kNumberMaxLength = 40;

constexpr std::array kRules{
    // The simplified-Chinese name only: every writer gives it, while the schema lets a host that
    // writes no other language leave those names empty.
    Rule{"t_DataFlowTopClass", "ck_topclass_names", {"FTopClassName_CHS", {}, {}}, true},
    Rule{"t_DataFlowSubSystem", "ck_subsystem_names", {"FName_CHS", {}, {}}, true},
    Rule{"t_DataFlowSubSystem", "ck_subsystem_number", {"FSUBID", {}, {}}, false},
};

// The rule's condition in SQL, true for a row that keeps it; `prefix` is "NEW." in a trigger.
std::string Condition(const Rule& rule, bool postgres, std::string_view prefix) {
    std::string condition;
    for (const std::string_view column : rule.columns) {
        if (column.empty()) {
            continue;
        }
        const std::string value = std::string(prefix) + std::string(column);
        condition +=
            (condition.empty() ? "" : " AND ") +
            (rule.names ? (postgres ? "btrim(" : "trim(") + value + ") <> ''"
                        : "(" + value + " IS NULL OR " + (postgres ? "char_length(" : "length(") +
                              value + ") <= " + std::to_string(kNumberMaxLength) + ")");
    }
    return condition;
}

bool Breaks(const Rule& rule, const Variant& value) {
    if (value.IsNull()) {
        return false;
    }
    const std::string text = value.TextOrEmpty();
    if (rule.names) {
        return text.find_first_not_of(' ') == std::string::npos;
    }
    return text::CodePointCount(text) > kNumberMaxLength;
}

// A trigger on SQLite: its name and the statement that makes it, as sqlite_master keeps it.
struct SqliteTrigger {
    std::string name;
    std::string sql;
};

// The trigger raises the constraint's name; the writer finds the rule by BrokenBy. An update is
// judged only when it writes the rule's columns, so that stamping a row's version does not refuse
// a row stored before the rule.
std::vector<SqliteTrigger> SqliteTriggers() {
    std::vector<SqliteTrigger> triggers;
    for (const Rule& rule : kRules) {
        std::string columns;
        for (const std::string_view column : rule.columns) {
            if (!column.empty()) {
                columns += (columns.empty() ? "" : ", ") + std::string(column);
            }
        }
        for (const std::string& operation : {std::string("INSERT"), "UPDATE OF " + columns}) {
            const std::string name = "tr_" + std::string(rule.constraint) + "_" +
                                     operation.substr(0, operation.find(' '));
            triggers.push_back({name, "CREATE TRIGGER " + name + " BEFORE " + operation + " ON " +
                                          std::string(rule.table) + " WHEN NOT (" +
                                          Condition(rule, false, "NEW.") +
                                          ") BEGIN SELECT RAISE(ABORT, '" +
                                          std::string(rule.constraint) + "'); END"});
        }
    }
    return triggers;
}

std::string PostgresConstraint(const Rule& rule) {
    return "ALTER TABLE " + std::string(rule.table) + " ADD CONSTRAINT " +
           std::string(rule.constraint) + " CHECK (" + Condition(rule, true, "") + ") NOT VALID";
}

// The stored SQL of the SQLite triggers by name, or the names of the PostgreSQL constraints on
// the rules' tables (with no SQL).
std::vector<std::pair<std::string, std::string>> Stored(Connection& connection, bool postgres) {
    using Type = ColumnSpec::Type;
    const auto rows =
        postgres
            ? connection.QueryTyped(
                  "SELECT conname, '' FROM pg_constraint WHERE contype = 'c' AND conrelid IN "
                  "('t_dataflowtopclass'::regclass, 't_dataflowsubsystem'::regclass)",
                  {{"name", Type::Text}, {"sql", Type::Text}}, {})
            : connection.QueryTyped("SELECT name, sql FROM sqlite_master WHERE type = 'trigger'",
                                    {{"name", Type::Text}, {"sql", Type::Text}}, {});
    std::vector<std::pair<std::string, std::string>> stored;
    for (const uint32_t row : rows->LiveRows()) {
        stored.emplace_back(rows->Value(row, 0).TextOrEmpty(), rows->Value(row, 1).TextOrEmpty());
    }
    return stored;
}

}  // namespace

void Create(Connection& connection) {
    const bool postgres = connection.Kind() == Connection::Engine::PostgreSQL;
    if (postgres) {
        for (const Rule& rule : kRules) {
            connection.Execute(PostgresConstraint(rule));
        }
        return;
    }
    for (const SqliteTrigger& trigger : SqliteTriggers()) {
        connection.Execute(trigger.sql);
    }
}

std::vector<std::string> Missing(Connection& connection) {
    const bool postgres = connection.Kind() == Connection::Engine::PostgreSQL;
    const auto stored = Stored(connection, postgres);
    const auto find = [&](std::string_view name) {
        return std::find_if(stored.begin(), stored.end(),
                            [&](const auto& entry) { return entry.first == name; });
    };
    std::vector<std::string> missing;
    if (postgres) {
        for (const Rule& rule : kRules) {
            if (find(rule.constraint) == stored.end()) {
                missing.push_back("constraint " + std::string(rule.constraint) + " is missing");
            }
        }
        return missing;
    }
    for (const SqliteTrigger& trigger : SqliteTriggers()) {
        const auto found = find(trigger.name);
        if (found == stored.end()) {
            missing.push_back("trigger " + trigger.name + " is missing");
        } else if (found->second != trigger.sql) {
            missing.push_back("trigger " + trigger.name + " was altered");
        }
    }
    return missing;
}

void Restore(Connection& connection) {
    const bool postgres = connection.Kind() == Connection::Engine::PostgreSQL;
    const auto stored = Stored(connection, postgres);
    const auto has = [&](std::string_view name) {
        return std::any_of(stored.begin(), stored.end(),
                           [&](const auto& entry) { return entry.first == name; });
    };
    if (postgres) {
        for (const Rule& rule : kRules) {
            if (!has(rule.constraint)) {
                connection.Execute(PostgresConstraint(rule));
            }
        }
        return;
    }
    for (const SqliteTrigger& trigger : SqliteTriggers()) {
        connection.Execute("DROP TRIGGER IF EXISTS " + trigger.name);
        connection.Execute(trigger.sql);
    }
}

std::string_view BrokenBy(std::string_view table, const std::vector<std::string>& columns,
                          const std::vector<Variant>& values) {
    for (const Rule& rule : kRules) {
        if (rule.table != table) {
            continue;
        }
        for (const std::string_view column : rule.columns) {
            const auto at = std::find(columns.begin(), columns.end(), column);
            if (!column.empty() && at != columns.end() &&
                Breaks(rule, values[static_cast<std::size_t>(at - columns.begin())])) {
                return rule.constraint;
            }
        }
    }
    return {};
}

}  // namespace quarn::suite::valuerules
