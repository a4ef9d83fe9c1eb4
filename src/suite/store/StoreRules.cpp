#include <array>

#include "foundation/Utf8Text.h"
#include "suite/store/EngineErrors.h"

namespace quarn::suite {

namespace {

struct Rule {
    std::string_view table;
    UniqueRule unique;
    std::string_view messageTemplate;
};

// The rules the database enforces for the tree, whoever writes. PostgreSQL reports the
// constraint's name (primary keys by their default names); SQLite reports only the kind, so
// the writer finds the rule by looking for the colliding row in this order.
constexpr std::array kRules{
    Rule{"t_DataFlowTopClass",
         {"t_dataflowtopclass_pkey", {"FTopClassID", {}}},
         "未保存：子系统分组代码已被使用（%1）。"},
    Rule{"t_DataFlowTopClass",
         {"uq_topclass_name_chs", {"FTopClassName_CHS", {}}},
         "未保存：另一个子系统分组已使用此简体中文名称（%1）。"},
    Rule{"t_DataFlowTopClass",
         {"uq_topclass_name_cht", {"FTopClassName_CHT", {}}},
         "未保存：另一个子系统分组已使用此繁体中文名称（%1）。"},
    Rule{"t_DataFlowTopClass",
         {"uq_topclass_name_en", {"FTopClassName_EN", {}}},
         "未保存：另一个子系统分组已使用此英文名称（%1）。"},
    Rule{"t_DataFlowSubSystem",
         {"t_dataflowsubsystem_pkey", {"FSubSysID", {}}},
         "未保存：子系统代码已被使用（%1）。"},
    Rule{"t_DataFlowSubSystem",
         {"uq_subsystem_name_chs", {"FTopClassID", "FName_CHS"}},
         "未保存：同一分组中另一个子系统已使用此简体中文名称（%1）。"},
    Rule{"t_DataFlowSubSystem",
         {"uq_subsystem_name_cht", {"FTopClassID", "FName_CHT"}},
         "未保存：同一分组中另一个子系统已使用此繁体中文名称（%1）。"},
    Rule{"t_DataFlowSubSystem",
         {"uq_subsystem_name_en", {"FTopClassID", "FName_EN"}},
         "未保存：同一分组中另一个子系统已使用此英文名称（%1）。"},
    Rule{"t_DataFlowTopClass",
         {"ck_topclass_names", {}},
         "未保存：子系统分组的名称不能为空（%1）。"},
    Rule{"t_DataFlowSubSystem", {"ck_subsystem_names", {}}, "未保存：子系统的名称不能为空（%1）。"},
    Rule{"t_DataFlowSubSystem",
         {"ck_subsystem_number", {}},
         "未保存：子系统代号不能超过 40 个字符（%1）。"},
    Rule{"t_DataFlowSubSystem",
         {kForeignKeyOfSubsystemGroup, {"FTopClassID", {}}},
         "未保存：子系统将失去所属的分组（分组不存在，或仍有子系统）（%1）。"},
};

}  // namespace

std::string_view RefusalTemplate(std::string_view constraint) {
    for (const Rule& rule : kRules) {
        if (text::EqualsIgnoreCaseAscii(rule.unique.constraint, constraint)) {
            return rule.messageTemplate;
        }
    }
    return "未保存：数据库拒绝了此写入（%1）。";
}

std::vector<UniqueRule> UniqueRulesOf(std::string_view table) {
    std::vector<UniqueRule> rules;
    for (const Rule& rule : kRules) {
        if (rule.table == table && !rule.unique.columns[0].empty() &&
            rule.unique.constraint != kForeignKeyOfSubsystemGroup) {
            rules.push_back(rule.unique);
        }
    }
    return rules;
}

}  // namespace quarn::suite
