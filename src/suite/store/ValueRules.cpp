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

}  // namespace

void Create(Connection& connection) {
    const bool postgres = connection.Kind() == Connection::Engine::PostgreSQL;
    for (const Rule& rule : kRules) {
        if (postgres) {
            connection.Execute("ALTER TABLE " + std::string(rule.table) + " ADD CONSTRAINT " +
                               std::string(rule.constraint) + " CHECK (" +
                               Condition(rule, true, "") + ") NOT VALID");
            continue;
        }
        // The trigger raises the constraint's name; the writer finds the rule by BrokenBy.
        // An update is judged only when it writes the rule's columns, so that stamping a row's
        // version does not refuse a row stored before the rule.
        std::string columns;
        for (const std::string_view column : rule.columns) {
            if (!column.empty()) {
                columns += (columns.empty() ? "" : ", ") + std::string(column);
            }
        }
        for (const std::string& operation : {std::string("INSERT"), "UPDATE OF " + columns}) {
            connection.Execute("CREATE TRIGGER tr_" + std::string(rule.constraint) + "_" +
                               operation.substr(0, operation.find(' ')) + " BEFORE " + operation +
                               " ON " + std::string(rule.table) + " WHEN NOT (" +
                               Condition(rule, false, "NEW.") + ") BEGIN SELECT RAISE(ABORT, '" +
                               std::string(rule.constraint) + "'); END");
        }
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
