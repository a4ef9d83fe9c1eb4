#include "exchange/TreeReader.h"

#include <algorithm>
#include <array>
#include <string>
#include <unordered_map>
#include <utility>

#include "foundation/Dictionary.h"
#include "foundation/Recordset.h"
#include "foundation/Vector.h"
#include "runtime/SessionContext.h"

namespace quarn::subsysmgr::exchange {

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
        for (std::size_t field = 0; field < kFieldCount; ++field) {
            positions_[field] = rows.ColumnPosition(kNames[field]);
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
    int64_t VersionOf(const Recordset& row) const {
        return row.Fields(positions_[kVersion]).ToInt64();
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
        kVersion,
        kFieldCount
    };
    static constexpr std::string_view kNames[kFieldCount] = {
        "FSubSysID", "FTopClassID", "FSUBID",       "FName_CHS", "FName_CHT", "FName_EN",
        "FIndex",    "FVisible",    "FShowSysType", "FAcctType", "FVersion"};
    std::array<std::size_t, kFieldCount> positions_;
};

}  // namespace

namespace {

template <class Item>
std::vector<Item> ItemsOf(std::vector<TreeReader::Stored<Item>> stored) {
    std::vector<Item> items;
    items.reserve(stored.size());
    for (TreeReader::Stored<Item>& entry : stored) {
        items.push_back(std::move(entry.item));
    }
    return items;
}

}  // namespace

std::vector<TreeReader::Stored<SubSystemItem>> TreeReader::StoredSubSystems() {
    SubSysGroup reader(module_);
    const RecordsetPtr rows = reader.GetAllSubSystem();
    const SubSystemColumns columns(*rows);
    std::vector<Stored<SubSystemItem>> items;
    items.reserve(static_cast<std::size_t>(rows->RecordCount()));
    for (; !rows->Eof(); rows->MoveNext()) {
        items.push_back({columns.ItemOf(*rows), columns.VersionOf(*rows)});
    }
    rows->Close();
    return items;
}

std::vector<SubSystemItem> TreeReader::SubSystems() {
    return ItemsOf(StoredSubSystems());
}

std::vector<TreeReader::Stored<GroupItem>> TreeReader::StoredGroups() {
    SubSysGroup reader(module_);
    const VectorPtr listing = reader.GetAllSubSysGroup();
    std::vector<Stored<GroupItem>> groups;
    for (const Variant& entry : listing->Items()) {
        if (reader.initial(entry.AsDictionary()->Item("ID").ToInt32())) {
            groups.push_back({ItemOf(reader), reader.Version()});
        }
    }
    return groups;
}

std::vector<GroupItem> TreeReader::Groups() {
    return ItemsOf(StoredGroups());
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

}  // namespace quarn::subsysmgr::exchange
