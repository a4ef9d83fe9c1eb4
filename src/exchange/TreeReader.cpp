#include "exchange/TreeReader.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "foundation/Dictionary.h"
#include "foundation/Recordset.h"
#include "foundation/Vector.h"
#include "host/ProgIds.h"
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

// Where the columns of a row are, found once for all rows by their names.
template <std::size_t Count>
class ColumnPositions {
  public:
    ColumnPositions(const Recordset& rows, const std::string_view (&names)[Count]) {
        for (std::size_t field = 0; field < Count; ++field) {
            positions_[field] = rows.ColumnPosition(names[field]);
        }
    }
    const Variant& Of(const Recordset& row, std::size_t field) const {
        return row.Fields(positions_[field]);
    }

  private:
    std::array<std::size_t, Count> positions_;
};

// The columns of a subsystem row that its item takes.
class SubSystemColumns {
  public:
    explicit SubSystemColumns(const Recordset& rows) : columns_(rows, kNames) {}

    // The current row as SubSysGroup's fill makes a subsystem of it: the three names, the short
    // code and the fields as they are stored.
    SubSystemItem ItemOf(const Recordset& row) const {
        const auto field = [&](Field name) -> const Variant& { return columns_.Of(row, name); };
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
    int64_t VersionOf(const Recordset& row) const { return columns_.Of(row, kVersion).ToInt64(); }
    TreeReader::RowKey KeyOf(const Recordset& row) const {
        return {columns_.Of(row, kId).ToInt32(), columns_.Of(row, kIndex).ToInt32(),
                VersionOf(row)};
    }
    int32_t GroupOf(const Recordset& row) const { return columns_.Of(row, kGroup).ToInt32(); }

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
    ColumnPositions<kFieldCount> columns_;
};

// The columns of a group row that its item takes.
class GroupColumns {
  public:
    explicit GroupColumns(const Recordset& rows) : columns_(rows, kNames) {}

    // The current row as SubSysGroup::initial loads a group of it.
    GroupItem ItemOf(const Recordset& row) const {
        const auto field = [&](Field name) -> const Variant& { return columns_.Of(row, name); };
        return GroupItem{
            field(kId).ToInt32(),
            Names{field(kNameCHS).TextOrEmpty(), field(kNameCHT).TextOrEmpty(),
                  field(kNameEN).TextOrEmpty()},
            field(kIndex).ToInt32(),
            field(kVisible).ToBool(),
            (field(kShowSysType).ToInt32() & 2) == 2,
            ParseAccountTypes(field(kAccountTypes).TextOrEmpty()),
        };
    }
    TreeReader::RowKey KeyOf(const Recordset& row) const {
        return {columns_.Of(row, kId).ToInt32(), columns_.Of(row, kIndex).ToInt32(),
                columns_.Of(row, kVersion).ToInt64()};
    }

  private:
    enum Field : std::size_t {
        kId,
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
        "FTopClassID", "FTopClassName_CHS", "FTopClassName_CHT", "FTopClassName_EN", "FIndex",
        "FVisible",    "FShowSysType",      "FAcctType",         "FVersion"};
    ColumnPositions<kFieldCount> columns_;
};

std::pair<int32_t, int32_t> DisplayOrder(const TreeReader::Stored<SubSystemItem>& row) {
    return {row.item.index, row.item.id};
}
std::pair<int32_t, int32_t> DisplayOrder(const TreeReader::RowKey& key) {
    return {key.index, key.id};
}

// Puts a group's subsystems in display order. The snapshot appends the rows it changed in place,
// so its rows are in that order only until the first change.
template <class Row>
void SortByDisplayOrder(std::vector<Row>& rows) {
    const auto before = [](const Row& a, const Row& b) {
        return DisplayOrder(a) < DisplayOrder(b);
    };
    if (!std::is_sorted(rows.begin(), rows.end(), before)) {
        std::sort(rows.begin(), rows.end(), before);
    }
}

// Hands `take` each subsystem row of the groups in `buckets` with its group's bucket, as pass
// `pass` (0 or 1) of two over all rows, telling `progress` how far; false when it stopped. Rows
// mostly come by group, so a group's bucket is looked up once for its run of rows.
template <class Bucket, class Take>
bool EachRowOf(Recordset& rows, const SubSystemColumns& columns,
               std::unordered_map<int32_t, Bucket>& buckets, int64_t pass,
               const TreeReader::Progress& progress, Take take) {
    const int64_t count = rows.RecordCount();
    Bucket* bucket = nullptr;
    std::optional<int32_t> current;
    int64_t done = 0;
    for (rows.MoveFirst(); !rows.Eof(); rows.MoveNext(), ++done) {
        if ((done & 4095) == 0 && !progress(pass * count + done, 2 * count)) {
            return false;
        }
        const int32_t group = columns.GroupOf(rows);
        if (group != current) {
            const auto found = buckets.find(group);
            bucket = found == buckets.end() ? nullptr : &found->second;
            current = group;
        }
        if (bucket) {
            take(*bucket);
        }
    }
    return true;
}

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

namespace {

// The host's component that reads the tree row by row; none when it has no such component.
std::shared_ptr<ITreeRows> TreeRowsOf(ModuleState& module) {
    if (!module.registry->IsRegistered(progid::kTreeRows)) {
        return nullptr;
    }
    return module.registry->Create<ITreeRows>(progid::kTreeRows);
}

// The items of the rows as they come, mapped as the columns above map a row. An item filled
// anew keeps the room its texts took.
void Fill(GroupItem& item, const GroupRow& row) {
    item.id = row.id;
    item.names.chs.assign(row.nameCHS);
    item.names.cht.assign(row.nameCHT);
    item.names.en.assign(row.nameEN);
    item.index = row.index;
    item.visible = row.visible != 0;
    item.web = (row.showSysType & 2) == 2;
    item.accountTypes = ParseAccountTypes(row.accountTypes);
}

void Fill(SubSystemItem& item, const SubSystemRow& row) {
    item.id = row.id;
    item.group = row.group;
    item.number.assign(row.number);
    item.names.chs.assign(row.nameCHS);
    item.names.cht.assign(row.nameCHT);
    item.names.en.assign(row.nameEN);
    item.index = row.index;
    item.visible = row.visible != 0;
    item.web = (row.showSysType & 2) == 2;
    item.accountTypes = ParseAccountTypes(row.accountTypes);
}

// One group's subsystems, held from its first row to its last and then handed over in display
// order; the items are filled anew for the next group.
class GroupSubSystems {
  public:
    void Add(const SubSystemRow& row) {
        if (count_ == items_.size()) {
            items_.emplace_back();
        }
        Fill(items_[count_++], row);
    }
    void HandOver(const TreeReader::OnSubSystem& subSystem) {
        order_.resize(count_);
        std::iota(order_.begin(), order_.end(), std::size_t{0});
        const auto before = [&](std::size_t a, std::size_t b) {
            return std::pair(items_[a].index, items_[a].id) <
                   std::pair(items_[b].index, items_[b].id);
        };
        if (!std::is_sorted(order_.begin(), order_.end(), before)) {
            std::sort(order_.begin(), order_.end(), before);
        }
        for (const std::size_t item : order_) {
            subSystem(items_[item]);
        }
        count_ = 0;
    }

  private:
    std::vector<SubSystemItem> items_;
    std::size_t count_ = 0;
    std::vector<std::size_t> order_;
};

bool WithinSpans(const std::vector<IdSpan>& spans, int32_t id) {
    return std::any_of(spans.begin(), spans.end(),
                       [&](const IdSpan& span) { return id >= span.first && id <= span.last; });
}

template <class Item>
void SortByIdentifier(std::vector<Item>& items) {
    std::sort(items.begin(), items.end(), [](const Item& a, const Item& b) { return a.id < b.id; });
}

}  // namespace

void TreeReader::EachInTree(const OnGroup& group, const OnSubSystem& subSystem) {
    if (const auto rows = TreeRowsOf(*module_)) {
        GroupItem current;
        GroupSubSystems subSystems;
        rows->ReadTree(
            GetPropsString(*module_),
            [&](const GroupRow& row) {
                subSystems.HandOver(subSystem);  // the group before
                Fill(current, row);
                group(current);
            },
            [&](const SubSystemRow& row) { subSystems.Add(row); });
        subSystems.HandOver(subSystem);
        return;
    }
    for (const GroupNode& node : Tree()) {
        group(node.group);
        for (const SubSystemItem& item : node.subSystems) {
            subSystem(item);
        }
    }
}

void TreeReader::EachInRanges(const std::vector<IdSpan>& groups,
                              const std::vector<IdSpan>& subSystems, const OnGroup& group,
                              const OnSubSystem& subSystem) {
    if (const auto rows = TreeRowsOf(*module_)) {
        GroupItem groupItem;
        SubSystemItem subSystemItem;
        rows->ReadRanges(
            GetPropsString(*module_), groups, subSystems,
            [&](const GroupRow& row) {
                Fill(groupItem, row);
                group(groupItem);
            },
            [&](const SubSystemRow& row) {
                Fill(subSystemItem, row);
                subSystem(subSystemItem);
            });
        return;
    }
    std::vector<GroupItem> storedGroups = Groups();
    std::unordered_set<int32_t> stored;
    for (const GroupItem& item : storedGroups) {
        stored.insert(item.id);
    }
    std::erase_if(storedGroups,
                  [&](const GroupItem& item) { return !WithinSpans(groups, item.id); });
    std::vector<SubSystemItem> storedSubSystems = SubSystems();
    std::erase_if(storedSubSystems, [&](const SubSystemItem& item) {
        return !stored.contains(item.group) || !WithinSpans(subSystems, item.id);
    });
    SortByIdentifier(storedGroups);
    SortByIdentifier(storedSubSystems);
    std::for_each(storedGroups.begin(), storedGroups.end(), group);
    std::for_each(storedSubSystems.begin(), storedSubSystems.end(), subSystem);
}

void TreeReader::RevalidateCache() {
    GetDataFlowInfo(*module_).ClearCache();
}

std::vector<TreeReader::CachedGroup> TreeReader::CachedGroups(const HeldRow& held) {
    const RecordsetPtr rows = GetDataFlowInfo(*module_).GetTopClass_All();
    const GroupColumns columns(*rows);
    std::vector<CachedGroup> groups;
    groups.reserve(static_cast<std::size_t>(rows->RecordCount()));
    for (; !rows->Eof(); rows->MoveNext()) {
        CachedGroup& group = groups.emplace_back(CachedGroup{columns.KeyOf(*rows), std::nullopt});
        if (!held || !held(group.key)) {
            group.item = columns.ItemOf(*rows);
        }
    }
    return groups;
}

std::vector<TreeReader::Stored<SubSystemItem>> TreeReader::CachedSubSystemsOf(int32_t group) {
    const RecordsetPtr rows = GetDataFlowInfo(*module_).GetSubSystem_All(Variant(group));
    const SubSystemColumns columns(*rows);
    std::vector<Stored<SubSystemItem>> items;
    items.reserve(static_cast<std::size_t>(rows->RecordCount()));
    for (; !rows->Eof(); rows->MoveNext()) {
        items.push_back({columns.ItemOf(*rows), columns.VersionOf(*rows)});
    }
    SortByDisplayOrder(items);
    return items;
}

std::optional<TreeReader::SubSystemsByGroup> TreeReader::CachedSubSystemsOf(
    const std::vector<int32_t>& groups, const HeldRows& held, const Progress& progress) {
    SubSystemsByGroup read;
    const auto total = static_cast<int64_t>(groups.size());
    const auto allGroups =
        static_cast<std::size_t>(GetDataFlowInfo(*module_).GetTopClass_All()->RecordCount());
    if (groups.size() <= GroupsReadOneByOne(allGroups)) {
        for (std::size_t n = 0; n < groups.size(); ++n) {
            if (!progress(static_cast<int64_t>(n), total)) {
                return std::nullopt;
            }
            read[groups[n]] = CachedSubSystemsOf(groups[n]);
        }
        return read;
    }
    // The first pass reads only what tells whether a group's rows changed, the second the items
    // of the groups whose rows did.
    std::unordered_map<int32_t, std::vector<RowKey>> keys;
    for (const int32_t group : groups) {
        keys[group];
    }
    const RecordsetPtr rows = GetDataFlowInfo(*module_).GetSubSystem_All(Variant(-1));
    const SubSystemColumns columns(*rows);
    if (!EachRowOf(*rows, columns, keys, 0, progress,
                   [&](std::vector<RowKey>& bucket) { bucket.push_back(columns.KeyOf(*rows)); })) {
        return std::nullopt;
    }
    for (auto& [group, groupKeys] : keys) {
        SortByDisplayOrder(groupKeys);
        if (!held(group, groupKeys)) {
            read[group].reserve(groupKeys.size());
        }
    }
    if (read.empty()) {
        return read;
    }
    if (!EachRowOf(*rows, columns, read, 1, progress,
                   [&](std::vector<Stored<SubSystemItem>>& bucket) {
                       bucket.push_back({columns.ItemOf(*rows), columns.VersionOf(*rows)});
                   })) {
        return std::nullopt;
    }
    for (auto& [group, items] : read) {
        SortByDisplayOrder(items);
    }
    return read;
}

std::optional<GroupItem> TreeReader::FindGroup(int32_t id) {
    SubSysGroup group(module_);
    if (!group.initial(id)) {
        return std::nullopt;
    }
    return ItemOf(group);
}

std::optional<SubSystemItem> TreeReader::SubSystemByKey(int32_t id) {
    const RecordsetPtr rows = GetDataFlowInfo(*module_).GetSubSystem_All(Variant(int16_t{-1}));
    rows->Filter("FSubSysID=" + std::to_string(id));
    if (rows->Eof()) {
        return std::nullopt;
    }
    return SubSystemColumns(*rows).ItemOf(*rows);
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
