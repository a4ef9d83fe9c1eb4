#include "TreeReader.h"

#include <algorithm>
#include <array>
#include <climits>
#include <string>
#include <unordered_map>
#include <utility>

#include "foundation/Dictionary.h"
#include "foundation/Recordset.h"
#include "foundation/Utf8Text.h"
#include "foundation/Vector.h"
#include "runtime/SessionContext.h"

namespace quarn::subsysmgr::cli {

TreeReader::TreeReader(std::shared_ptr<ModuleState> module) : module_(std::move(module)) {}

GroupItem TreeReader::ItemOf(const SubSysGroup& group) {
    return GroupItem{group.Id(),         Names{group.NameCHS(), group.NameCHT(), group.NameEN()},
                     group.Index(),      group.Visible(),
                     group.WebVisible(), ParseAccountTypes(group.FitAccountType())};
}

SubSystemItem TreeReader::ItemOf(const SubSystem& subSystem) {
    return SubSystemItem{
        subSystem.Id(),         subSystem.SubSystemGroupID(),
        subSystem.Number(),     Names{subSystem.NameCHS(), subSystem.NameCHT(), subSystem.NameEN()},
        subSystem.Index(),      subSystem.Visible(),
        subSystem.WebVisible(), ParseAccountTypes(subSystem.FitAccountType())};
}

namespace {

// The columns of a subsystem row that its item takes, found once for all rows.
class SubSystemColumns {
  public:
    explicit SubSystemColumns(const Recordset& rows) {
        positions_.fill(SIZE_MAX);  // a missing column raises UnknownColumn when read
        for (std::size_t column = 0; column < rows.ColumnCount(); ++column) {
            for (std::size_t field = 0; field < kFieldCount; ++field) {
                if (text::EqualsIgnoreCaseAscii(rows.ColumnName(column), kNames[field])) {
                    positions_[field] = column;
                }
            }
        }
    }

    // The current row as SubSysGroup's fill makes a subsystem of it: the three names, the short
    // code and the fields as they are stored.
    SubSystemItem ItemOf(const Recordset& row) const {
        const auto field = [&](Field name) -> const Variant& {
            return row.Fields(positions_[name]);
        };
        return SubSystemItem{
            field(kId).ToInt32(),
            field(kGroup).ToInt32(),
            field(kNumber).TextOrEmpty(),
            Names{field(kNameCHS).TextOrEmpty(), field(kNameCHT).TextOrEmpty(),
                  field(kNameEN).TextOrEmpty()},
            field(kIndex).ToInt32(),
            field(kVisible).ToBool(),
            (field(kShowSysType).ToInt32() & 2) == 2,
            ParseAccountTypes(field(kAccountTypes).TextOrEmpty()),
        };
    }

  private:
    enum Field : std::size_t {
        kId,
        kGroup,
        kNumber,
        kNameCHS,
        kNameCHT,
        kNameEN,
        kIndex,
        kVisible,
        kShowSysType,
        kAccountTypes,
        kFieldCount
    };
    static constexpr std::string_view kNames[kFieldCount] = {
        "FSubSysID", "FTopClassID", "FSUBID",   "FName_CHS",    "FName_CHT",
        "FName_EN",  "FIndex",      "FVisible", "FShowSysType", "FAcctType"};
    std::array<std::size_t, kFieldCount> positions_;
};

}  // namespace

std::vector<SubSystemItem> TreeReader::SubSystems() {
    SubSysGroup reader(module_);
    const RecordsetPtr rows = reader.GetAllSubSystem();
    const SubSystemColumns columns(*rows);
    std::vector<SubSystemItem> items;
    items.reserve(static_cast<std::size_t>(rows->RecordCount()));
    for (; !rows->Eof(); rows->MoveNext()) {
        items.push_back(columns.ItemOf(*rows));
    }
    rows->Close();
    return items;
}

std::vector<GroupItem> TreeReader::Groups() {
    SubSysGroup reader(module_);
    const VectorPtr listing = reader.GetAllSubSysGroup();
    std::vector<GroupItem> groups;
    for (const Variant& entry : listing->Items()) {
        if (reader.initial(entry.AsDictionary()->Item("ID").ToInt32())) {
            groups.push_back(ItemOf(reader));
        }
    }
    return groups;
}

std::vector<GroupNode> TreeReader::Tree() {
    std::unordered_map<int32_t, std::vector<SubSystemItem>> byGroup;
    for (SubSystemItem& item : SubSystems()) {
        byGroup[item.group].push_back(std::move(item));
    }
    std::vector<GroupNode> tree;
    for (GroupItem& group : Groups()) {
        std::vector<SubSystemItem>& subSystems = byGroup[group.id];
        GroupNode node{std::move(group), std::move(subSystems)};
        std::sort(node.subSystems.begin(), node.subSystems.end(),
                  [](const SubSystemItem& a, const SubSystemItem& b) {
                      return std::pair(a.index, a.id) < std::pair(b.index, b.id);
                  });
        tree.push_back(std::move(node));
    }
    return tree;
}

std::optional<GroupItem> TreeReader::FindGroup(int32_t id) {
    SubSysGroup group(module_);
    if (!group.initial(id)) {
        return std::nullopt;
    }
    return ItemOf(group);
}

std::optional<SubSystemItem> TreeReader::FindSubSystem(int32_t id) {
    const auto loaded = LoadSubSystem(id);
    if (!loaded) {
        return std::nullopt;
    }
    return ItemOf(*loaded->subSystem);
}

std::optional<TreeReader::Loaded> TreeReader::LoadSubSystem(int32_t id) {
    auto group = std::make_shared<SubSysGroup>(module_);
    DictionaryPtr info;
    if (!GetDataFlowInfo(*module_).GetSubSystemInfo(id, info) ||
        !group->initial(info->Item("FTopClassID").ToInt32())) {
        return std::nullopt;
    }
    SubSystemPtr subSystem = group->GetSubSystem(id, false);
    if (!subSystem) {
        return std::nullopt;
    }
    return Loaded{std::move(group), std::move(subSystem)};
}

}  // namespace quarn::subsysmgr::cli
