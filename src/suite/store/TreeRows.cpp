#include "suite/store/TreeRows.h"

#include <algorithm>
#include <cassert>
#include <optional>
#include <string>

#include "suite/store/Database.h"

namespace quarn::suite {

namespace {

constexpr std::string_view kGroupColumns =
    "g.FTopClassID, g.FTopClassName_CHS, g.FTopClassName_CHT, g.FTopClassName_EN, g.FIndex, "
    "g.FVisible, g.FShowSysType, g.FAcctType";
constexpr std::string_view kSubSystemColumns =
    "s.FSubSysID, s.FTopClassID, s.FSUBID, s.FName_CHS, s.FName_CHT, s.FName_EN, s.FIndex, "
    "s.FVisible, s.FShowSysType, s.FAcctType";

// A group's row from `first` on, in the order of kGroupColumns.
GroupRow GroupAt(const RowView& row, int first) {
    return GroupRow{row.Integer(first),     row.Text(first + 1),    row.Text(first + 2),
                    row.Text(first + 3),    row.Integer(first + 4), row.Integer(first + 5),
                    row.Integer(first + 6), row.Text(first + 7)};
}

// A subsystem's row from `first` on, in the order of kSubSystemColumns.
SubSystemRow SubSystemAt(const RowView& row, int first) {
    return SubSystemRow{row.Integer(first),     row.Integer(first + 1), row.Text(first + 2),
                        row.Text(first + 3),    row.Text(first + 4),    row.Text(first + 5),
                        row.Integer(first + 6), row.Integer(first + 7), row.Integer(first + 8),
                        row.Text(first + 9)};
}

// The groups in display order.
const std::string kGroupsSql = "SELECT " + std::string(kGroupColumns) +
                               " FROM t_DataFlowTopClass g ORDER BY g.FIndex, g.FTopClassID";
// Every subsystem after its group's identifier, the groups in the order of kGroupsSql; a group
// without subsystems in a row of its own whose subsystem columns are NULL. SQLite walks the
// groups by their index and each group's rows by its key: nothing is sorted, and the many rows
// carry no more than they must.
const std::string kTreeSql = "SELECT g.FTopClassID, " + std::string(kSubSystemColumns) +
                             " FROM t_DataFlowTopClass g LEFT JOIN t_DataFlowSubSystem s ON "
                             "s.FTopClassID = g.FTopClassID ORDER BY g.FIndex, g.FTopClassID";

// A group's row with texts of its own, held while its subsystems are read.
struct HeldGroup {
    int32_t id = 0;
    std::string nameCHS;
    std::string nameCHT;
    std::string nameEN;
    int32_t index = 0;
    int32_t visible = 0;
    int32_t showSysType = 0;
    std::string accountTypes;

    explicit HeldGroup(const GroupRow& row)
        : id(row.id),
          nameCHS(row.nameCHS),
          nameCHT(row.nameCHT),
          nameEN(row.nameEN),
          index(row.index),
          visible(row.visible),
          showSysType(row.showSysType),
          accountTypes(row.accountTypes) {}
    GroupRow Row() const {
        return {id, nameCHS, nameCHT, nameEN, index, visible, showSysType, accountTypes};
    }
};

// The spans ascending, overlapping or adjoining ones joined.
std::vector<IdSpan> MergedSpans(std::vector<IdSpan> spans) {
    std::erase_if(spans, [](const IdSpan& span) { return span.first > span.last; });
    std::sort(spans.begin(), spans.end(),
              [](const IdSpan& a, const IdSpan& b) { return a.first < b.first; });
    std::vector<IdSpan> joined;
    for (const IdSpan& span : spans) {
        if (!joined.empty() && int64_t{span.first} <= int64_t{joined.back().last} + 1) {
            joined.back().last = std::max(joined.back().last, span.last);
        } else {
            joined.push_back(span);
        }
    }
    return joined;
}

// One range scan of the primary key per span, merged in identifier order (no sort), with the
// spans' bounds as parameters.
std::string InSpans(std::string_view select, std::string_view idColumn, std::string_view extra,
                    std::size_t spans, std::vector<Variant>& parameters,
                    const std::vector<IdSpan>& joined) {
    std::string sql;
    for (std::size_t n = 0; n < spans; ++n) {
        const std::size_t first = 2 * n + 1;
        sql += (n ? " UNION ALL " : "") + std::string(select) + " WHERE " + std::string(idColumn) +
               " BETWEEN $" + std::to_string(first) + " AND $" + std::to_string(first + 1) +
               std::string(extra);
        parameters.emplace_back(joined[n].first);
        parameters.emplace_back(joined[n].last);
    }
    return sql + " ORDER BY 1";
}

}  // namespace

void TreeRows::ReadTree(const std::string& propsString, const OnGroup& group,
                        const OnSubSystem& subSystem) {
    session_->Localizing([&] {
        const std::shared_ptr<Database> database = session_->StoreFor(propsString);
        database->Reading([&] {
            // The few groups first, so that the many rows of the join need not carry them.
            std::vector<HeldGroup> groups;
            database->Each(kGroupsSql, {},
                           [&](const RowView& row) { groups.emplace_back(GroupAt(row, 0)); });
            std::size_t next = 0;  // the group whose rows come next
            std::optional<int32_t> current;
            database->Each(kTreeSql, {}, [&](const RowView& row) {
                if (const int32_t id = row.Integer(0); id != current) {
                    // Both reads see one state: the join lists the same groups in that order.
                    assert(next < groups.size() && groups[next].id == id);
                    group(groups[next++].Row());
                    current = id;
                }
                if (!row.IsNull(1)) {
                    subSystem(SubSystemAt(row, 1));
                }
            });
            return true;
        });
    });
}

void TreeRows::ReadRanges(const std::string& propsString, const std::vector<IdSpan>& groups,
                          const std::vector<IdSpan>& subSystems, const OnGroup& group,
                          const OnSubSystem& subSystem) {
    const std::vector<IdSpan> groupSpans = MergedSpans(groups);
    const std::vector<IdSpan> subSystemSpans = MergedSpans(subSystems);
    session_->Localizing([&] {
        const std::shared_ptr<Database> database = session_->StoreFor(propsString);
        database->Reading([&] {
            if (!groupSpans.empty()) {
                std::vector<Variant> parameters;
                const std::string sql =
                    InSpans("SELECT " + std::string(kGroupColumns) + " FROM t_DataFlowTopClass g",
                            "g.FTopClassID", "", groupSpans.size(), parameters, groupSpans);
                database->Each(sql, parameters,
                               [&](const RowView& row) { group(GroupAt(row, 0)); });
            }
            if (!subSystemSpans.empty()) {
                std::vector<Variant> parameters;
                const std::string sql = InSpans(
                    "SELECT " + std::string(kSubSystemColumns) + " FROM t_DataFlowSubSystem s",
                    "s.FSubSysID",
                    " AND EXISTS (SELECT 1 FROM t_DataFlowTopClass g WHERE g.FTopClassID = "
                    "s.FTopClassID)",
                    subSystemSpans.size(), parameters, subSystemSpans);
                database->Each(sql, parameters,
                               [&](const RowView& row) { subSystem(SubSystemAt(row, 0)); });
            }
            return true;
        });
    });
}

void TreeRows::ReadTables(const std::string& propsString, const OnGroup& group,
                          const OnSubSystem& subSystem) {
    static const std::string groupsSql =
        "SELECT " + std::string(kGroupColumns) + " FROM t_DataFlowTopClass g";
    static const std::string subSystemsSql =
        "SELECT " + std::string(kSubSystemColumns) + " FROM t_DataFlowSubSystem s";
    session_->Localizing([&] {
        const std::shared_ptr<Database> database = session_->StoreFor(propsString);
        database->Reading([&] {
            database->Each(groupsSql, {}, [&](const RowView& row) { group(GroupAt(row, 0)); });
            database->Each(subSystemsSql, {},
                           [&](const RowView& row) { subSystem(SubSystemAt(row, 0)); });
            return true;
        });
    });
}

}  // namespace quarn::suite
