#include "FunctionalTreeModel.h"

#include <QColor>
#include <QDataStream>
#include <QFont>
#include <QIODevice>
#include <QMimeData>
#include <algorithm>
#include <charconv>
#include <unordered_set>

#include "DesignerIcons.h"
#include "DesignerTexts.h"
#include "foundation/ComError.h"
#include "model/SubSystem.h"
#include "runtime/LocalText.h"
#include "runtime/SessionContext.h"
#include "ui/QtText.h"

namespace quarn::designer {

using subsysmgr::ModuleState;

namespace {

// Subsystems of this many groups are read from every group's rows at once, as the snapshot
// itself does past this many groups.
constexpr std::size_t kGroupsReadOneByOne = 16;

// Dragged items: per item its kind, identifier and group.
const QString kItemsMimeType = QStringLiteral("application/x-quarn-tree-items");

QString Tr(std::string_view text) {
    return subsysmgr::ToQString(subsysmgr::GetLocalText(*ModuleState::Current(), text));
}

char Folded(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether `text` contains `folded` (ASCII letters in lower case), ASCII letters of `text`
// compared without regard to case. UTF-8 sequences never contain ASCII bytes, so a byte-wise
// search finds only whole characters.
bool ContainsFolded(std::string_view text, std::string_view folded) {
    if (folded.empty()) {
        return true;
    }
    // Candidates are found by the first character in either case, the rest compared folded.
    const char first = folded.front();
    const char upper = first >= 'a' && first <= 'z' ? static_cast<char>(first - 'a' + 'A') : first;
    for (std::size_t start = 0; start + folded.size() <= text.size(); ++start) {
        if (text[start] != first && text[start] != upper) {
            continue;
        }
        std::size_t i = 1;
        while (i < folded.size() && Folded(text[start + i]) == folded[i]) {
            ++i;
        }
        if (i == folded.size()) {
            return true;
        }
    }
    return false;
}

// The positions of the named columns of a Recordset, looked up once for all its rows.
template <std::size_t N>
std::array<std::size_t, N> Columns(const Recordset& rows, const std::array<const char*, N>& names) {
    std::array<std::size_t, N> positions{};
    for (std::size_t n = 0; n < N; ++n) {
        positions[n] = rows.ColumnCount();  // reading it raises UnknownColumn
        for (std::size_t column = 0; column < rows.ColumnCount(); ++column) {
            if (rows.ColumnName(column) == names[n]) {
                positions[n] = column;
            }
        }
    }
    return positions;
}

// An entry's columns: identifier, order, version, the three names, then FVisible, FShowSysType
// and FAcctType.
constexpr std::size_t kEntryColumns = 9;

TreeEntry EntryAt(const Recordset& rows, const std::array<std::size_t, kEntryColumns>& columns) {
    return {rows.Fields(columns[0]).ToInt32(),
            rows.Fields(columns[1]).ToInt32(),
            rows.Fields(columns[2]).ToInt64(),
            {rows.Fields(columns[3]).TextOrEmpty(), rows.Fields(columns[4]).TextOrEmpty(),
             rows.Fields(columns[5]).TextOrEmpty()},
            rows.Fields(columns[6]).ToBool(),
            // The web console's flag is bit 2 of FShowSysType, as the business objects read it.
            (rows.Fields(columns[7]).ToInt32() & 2) == 2,
            rows.Fields(columns[8]).TextOrEmpty()};
}

const std::array<const char*, kEntryColumns> kGroupColumns = {
    "FTopClassID",      "FIndex",   "FVersion",     "FTopClassName_CHS", "FTopClassName_CHT",
    "FTopClassName_EN", "FVisible", "FShowSysType", "FAcctType"};
const std::array<const char*, kEntryColumns + 1> kSubSystemColumns = {
    "FSubSysID", "FIndex",   "FVersion",     "FName_CHS", "FName_CHT",
    "FName_EN",  "FVisible", "FShowSysType", "FAcctType", "FTopClassID"};
constexpr std::size_t kGroupOfSubSystem = kEntryColumns;

std::array<std::size_t, kEntryColumns> EntryColumns(
    const std::array<std::size_t, kEntryColumns + 1>& columns) {
    std::array<std::size_t, kEntryColumns> entry{};
    std::copy_n(columns.begin(), kEntryColumns, entry.begin());
    return entry;
}

std::vector<TreeEntry> ReadGroups() {
    const RecordsetPtr rows = subsysmgr::GetDataFlowInfo(*ModuleState::Current()).GetTopClass_All();
    const auto columns = Columns(*rows, kGroupColumns);
    std::vector<TreeEntry> groups;
    for (; !rows->Eof(); rows->MoveNext()) {
        groups.push_back(EntryAt(*rows, columns));
    }
    return groups;
}

// Puts a group's subsystems in display order. The snapshot appends the rows it changed in place,
// so its rows are in that order only until the first change.
void SortByDisplayOrder(std::vector<TreeEntry>& entries) {
    const auto before = [](const TreeEntry& a, const TreeEntry& b) {
        return std::pair(a.index, a.id) < std::pair(b.index, b.id);
    };
    if (!std::is_sorted(entries.begin(), entries.end(), before)) {
        std::sort(entries.begin(), entries.end(), before);
    }
}

std::vector<TreeEntry> ReadSubSystemsOf(int32_t groupId) {
    const RecordsetPtr rows =
        subsysmgr::GetDataFlowInfo(*ModuleState::Current()).GetSubSystem_All(Variant(groupId));
    const auto columns = EntryColumns(Columns(*rows, kSubSystemColumns));
    std::vector<TreeEntry> subSystems;
    subSystems.reserve(static_cast<std::size_t>(rows->RecordCount()));
    for (; !rows->Eof(); rows->MoveNext()) {
        subSystems.push_back(EntryAt(*rows, columns));
    }
    SortByDisplayOrder(subSystems);
    return subSystems;
}

// The model's row signals, as SyncRows calls them.
struct RowSignals {
    std::function<void(int first, int last)> beginRemove, beginInsert;
    std::function<void(int from, int to)> beginMove;
    std::function<void()> endRemove, endInsert, endMove;
    std::function<void(int row)> changed;
};

// Changes made inside a model reset, which announces them all at once.
RowSignals Silent() {
    return {[](int, int) {}, [](int, int) {}, [](int, int) {}, [] {}, [] {}, [] {}, [](int) {}};
}

// Brings `rows` (keyed by identifier, in display order) to `fresh`: removes what is gone,
// inserts what is new, moves what moved and updates what changed, each announced through
// `signal` as it happens. `idOf`, `make`, `update` and `removed` adapt the kind of row; `update`
// says whether the row changed.
template <class Row, class IdOf, class Make, class Update, class Removed>
void SyncRows(std::vector<Row>& rows, std::vector<TreeEntry>& fresh, const RowSignals& signal,
              IdOf idOf, Make make, Update update, Removed removed) {
    std::unordered_set<int32_t> freshIds;
    freshIds.reserve(fresh.size());
    for (const TreeEntry& entry : fresh) {
        freshIds.insert(entry.id);
    }
    for (int last = static_cast<int>(rows.size()) - 1; last >= 0;) {
        if (freshIds.contains(idOf(rows[static_cast<std::size_t>(last)]))) {
            --last;
            continue;
        }
        int first = last;
        while (first > 0 && !freshIds.contains(idOf(rows[static_cast<std::size_t>(first - 1)]))) {
            --first;
        }
        signal.beginRemove(first, last);
        for (int row = first; row <= last; ++row) {
            removed(rows[static_cast<std::size_t>(row)]);
        }
        rows.erase(rows.begin() + first, rows.begin() + last + 1);
        signal.endRemove();
        last = first - 1;
    }

    std::unordered_set<int32_t> held;
    held.reserve(rows.size());
    for (const Row& row : rows) {
        held.insert(idOf(row));
    }
    for (std::size_t i = 0; i < fresh.size(); ++i) {
        if (i < rows.size() && idOf(rows[i]) == fresh[i].id) {
            if (update(rows[i], fresh[i])) {
                signal.changed(static_cast<int>(i));
            }
            continue;
        }
        if (!held.contains(fresh[i].id)) {
            std::size_t end = i + 1;
            while (end < fresh.size() && !held.contains(fresh[end].id)) {
                ++end;
            }
            signal.beginInsert(static_cast<int>(i), static_cast<int>(end - 1));
            std::vector<Row> added;
            for (std::size_t n = i; n < end; ++n) {
                added.push_back(make(std::move(fresh[n])));
            }
            rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(i),
                        std::make_move_iterator(added.begin()),
                        std::make_move_iterator(added.end()));
            signal.endInsert();
            i = end - 1;
            continue;
        }
        std::size_t from = i + 1;
        while (idOf(rows[from]) != fresh[i].id) {
            ++from;
        }
        signal.beginMove(static_cast<int>(from), static_cast<int>(i));
        std::rotate(rows.begin() + static_cast<std::ptrdiff_t>(i),
                    rows.begin() + static_cast<std::ptrdiff_t>(from),
                    rows.begin() + static_cast<std::ptrdiff_t>(from + 1));
        signal.endMove();
        if (update(rows[i], fresh[i])) {
            signal.changed(static_cast<int>(i));
        }
    }
}

}  // namespace

// What a parent's rows are, so that an index's internal pointer (its parent) tells its kind.
struct FunctionalTreeModel::Node {
    explicit Node(ItemKind rows) : childKind(rows) {}
    ItemKind childKind;
};

struct FunctionalTreeModel::ObjectKind : Node {
    ObjectKind() : Node(ItemKind::BusinessObject) {}
    std::string_view caption;
    std::vector<TreeEntry> objects;
    BusinessObjects* owner = nullptr;
    int row = 0;
};

struct FunctionalTreeModel::BusinessObjects : Node {
    BusinessObjects() : Node(ItemKind::BusinessObjects) {}
    Group* group = nullptr;
    int32_t subSystemId = 0;
    mutable int row = 0;  // the subsystem's row when last looked up
    std::vector<std::unique_ptr<ObjectKind>> kinds;
};

struct FunctionalTreeModel::Group : Node {
    Group() : Node(ItemKind::SubSystem) {}
    TreeEntry entry;
    int row = 0;
    bool fetched = false;
    std::vector<TreeEntry> subSystems;  // in display order
    // Under a filter that the group does not match itself: the positions of the subsystems shown.
    bool narrowed = false;
    std::vector<uint32_t> shown;
    bool matched = false;
    bool hasMatches = false;  // some of its subsystems matched the filter
    // The business objects of the subsystems expanded so far, by subsystem.
    std::unordered_map<int32_t, std::unique_ptr<BusinessObjects>> objects;

    int ShownCount() const {
        return static_cast<int>(narrowed ? shown.size() : fetched ? subSystems.size() : 0);
    }
    const TreeEntry& SubSystemAt(int position) const {
        const auto at = static_cast<std::size_t>(position);
        return subSystems[narrowed ? shown[at] : at];
    }
};

FunctionalTreeModel::FunctionalTreeModel(QObject* parent) : QAbstractItemModel(parent) {}

FunctionalTreeModel::~FunctionalTreeModel() = default;

ItemKind FunctionalTreeModel::KindOf(const QModelIndex& index) {
    return index.internalPointer() ? static_cast<const Node*>(index.internalPointer())->childKind
                                   : ItemKind::Group;
}

FunctionalTreeModel::Group* FunctionalTreeModel::GroupAt(int row) const {
    if (row < 0) {
        return nullptr;
    }
    const auto at = static_cast<std::size_t>(row);
    if (Narrowed()) {
        return at < shownGroups_.size() ? shownGroups_[at] : nullptr;
    }
    return at < groups_.size() ? groups_[at].get() : nullptr;
}

FunctionalTreeModel::Group* FunctionalTreeModel::FindGroup(int32_t groupId) const {
    const auto found = groupsById_.find(groupId);
    return found == groupsById_.end() ? nullptr : found->second;
}

void FunctionalTreeModel::IndexGroups() {
    groupsById_.clear();
    groupsById_.reserve(groups_.size());
    for (const auto& group : groups_) {
        groupsById_[group->entry.id] = group.get();
    }
}

void FunctionalTreeModel::Renumber() {
    if (Narrowed()) {
        for (std::size_t row = 0; row < shownGroups_.size(); ++row) {
            shownGroups_[row]->row = static_cast<int>(row);
        }
        return;
    }
    for (std::size_t row = 0; row < groups_.size(); ++row) {
        groups_[row]->row = static_cast<int>(row);
    }
}

int FunctionalTreeModel::RowOf(const BusinessObjects& objects) const {
    const Group& group = *objects.group;
    const int count = group.ShownCount();
    if (objects.row < count && group.SubSystemAt(objects.row).id == objects.subSystemId) {
        return objects.row;
    }
    for (int row = 0; row < count; ++row) {
        if (group.SubSystemAt(row).id == objects.subSystemId) {
            objects.row = row;
            return row;
        }
    }
    return -1;
}

QModelIndex FunctionalTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (row < 0 || column < 0 || column >= kColumnCount || row >= rowCount(parent)) {
        return {};
    }
    if (!parent.isValid()) {
        return createIndex(row, column, nullptr);
    }
    switch (KindOf(parent)) {
        case ItemKind::Group:
            return createIndex(row, column, static_cast<Node*>(GroupAt(parent.row())));
        case ItemKind::SubSystem: {
            auto* group = static_cast<Group*>(parent.internalPointer());
            BusinessObjects* objects = group->objects.at(group->SubSystemAt(parent.row()).id).get();
            return createIndex(row, column, static_cast<Node*>(objects));
        }
        case ItemKind::BusinessObjects: {
            auto* objects = static_cast<BusinessObjects*>(parent.internalPointer());
            return createIndex(
                row, column,
                static_cast<Node*>(objects->kinds[static_cast<std::size_t>(parent.row())].get()));
        }
        case ItemKind::BusinessObject:
            break;
    }
    return {};
}

QModelIndex FunctionalTreeModel::parent(const QModelIndex& child) const {
    if (!child.isValid() || !child.internalPointer()) {
        return {};
    }
    auto* node = static_cast<Node*>(child.internalPointer());
    switch (node->childKind) {
        case ItemKind::SubSystem:
            return createIndex(static_cast<Group*>(node)->row, 0, nullptr);
        case ItemKind::BusinessObjects: {
            auto* objects = static_cast<BusinessObjects*>(node);
            const int row = RowOf(*objects);
            return row < 0 ? QModelIndex()
                           : createIndex(row, 0, static_cast<Node*>(objects->group));
        }
        case ItemKind::BusinessObject: {
            auto* kind = static_cast<ObjectKind*>(node);
            return createIndex(kind->row, 0, static_cast<Node*>(kind->owner));
        }
        case ItemKind::Group:
            break;
    }
    return {};
}

int FunctionalTreeModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid()) {
        return static_cast<int>(Narrowed() ? shownGroups_.size() : groups_.size());
    }
    if (parent.column() != 0) {
        return 0;
    }
    switch (KindOf(parent)) {
        case ItemKind::Group: {
            const Group* group = GroupAt(parent.row());
            return group ? group->ShownCount() : 0;
        }
        case ItemKind::SubSystem: {
            auto* group = static_cast<Group*>(parent.internalPointer());
            const auto found = group->objects.find(group->SubSystemAt(parent.row()).id);
            return found == group->objects.end() ? 0
                                                 : static_cast<int>(found->second->kinds.size());
        }
        case ItemKind::BusinessObjects: {
            auto* objects = static_cast<BusinessObjects*>(parent.internalPointer());
            return static_cast<int>(
                objects->kinds[static_cast<std::size_t>(parent.row())]->objects.size());
        }
        case ItemKind::BusinessObject:
            break;
    }
    return 0;
}

int FunctionalTreeModel::columnCount(const QModelIndex& /*parent*/) const {
    return kColumnCount;
}

bool FunctionalTreeModel::hasChildren(const QModelIndex& parent) const {
    if (!parent.isValid()) {
        return !groups_.empty();
    }
    if (parent.column() != 0) {
        return false;
    }
    switch (KindOf(parent)) {
        case ItemKind::Group: {
            const Group* group = GroupAt(parent.row());
            return group && (!group->fetched || group->ShownCount() > 0);
        }
        case ItemKind::SubSystem:
            // Unknown until read: the expander shows until the subsystem is opened.
            return !canFetchMore(parent) ? rowCount(parent) > 0 : true;
        case ItemKind::BusinessObjects:
            return true;
        case ItemKind::BusinessObject:
            break;
    }
    return false;
}

bool FunctionalTreeModel::canFetchMore(const QModelIndex& parent) const {
    if (!parent.isValid() || parent.column() != 0) {
        return false;
    }
    switch (KindOf(parent)) {
        case ItemKind::Group: {
            const Group* group = GroupAt(parent.row());
            return group && !group->fetched;
        }
        case ItemKind::SubSystem: {
            auto* group = static_cast<Group*>(parent.internalPointer());
            return !group->objects.contains(group->SubSystemAt(parent.row()).id);
        }
        case ItemKind::BusinessObjects:
        case ItemKind::BusinessObject:
            break;
    }
    return false;
}

void FunctionalTreeModel::fetchMore(const QModelIndex& parent) {
    if (!canFetchMore(parent)) {
        return;
    }
    if (KindOf(parent) == ItemKind::Group) {
        FetchGroup(*GroupAt(parent.row()), parent);
    } else {
        FetchBusinessObjects(*static_cast<Group*>(parent.internalPointer()), parent);
    }
}

void FunctionalTreeModel::FetchGroup(Group& group, const QModelIndex& index) {
    std::vector<TreeEntry> subSystems;
    try {
        subSystems = ReadSubSystemsOf(group.entry.id);
    } catch (const ComError& error) {
        emit ReadFailed(subsysmgr::ToQString(error.Description()), error.Number());
    }
    group.fetched = true;
    if (subSystems.empty()) {
        return;
    }
    beginInsertRows(index, 0, static_cast<int>(subSystems.size()) - 1);
    group.subSystems = std::move(subSystems);
    endInsertRows();
}

void FunctionalTreeModel::FetchBusinessObjects(Group& group, const QModelIndex& index) {
    auto objects = std::make_unique<BusinessObjects>();
    objects->group = &group;
    objects->subSystemId = group.SubSystemAt(index.row()).id;
    objects->row = index.row();
    try {
        const auto subSystem = subsysmgr::SubSystem::Create();
        subSystem->CancelCheck(true);
        subSystem->Id(objects->subSystemId);
        const VectorPtr lists = subSystem->GetAllBusObject();
        // The last entry carries every kind.
        const DictionaryPtr all = lists->Item(lists->Count() - 1).AsDictionary();
        const auto entries = [](const VectorPtr& list, std::vector<TreeEntry>& into) {
            for (const Variant& entry : list->Items()) {
                const DictionaryPtr object = entry.AsDictionary();
                const std::string name = object->Item("FName").TextOrEmpty();
                into.push_back(
                    {object->Item("FID").ToInt32(), 0, 0, {name, name, name}, {}, {}, {}});
            }
        };
        const auto addKind = [&](std::string_view caption, std::vector<TreeEntry> found) {
            if (found.empty()) {
                return;
            }
            auto kind = std::make_unique<ObjectKind>();
            kind->caption = caption;
            kind->objects = std::move(found);
            kind->owner = objects.get();
            kind->row = static_cast<int>(objects->kinds.size());
            objects->kinds.push_back(std::move(kind));
        };
        const struct {
            const char* key;
            std::string_view caption;
        } kinds[] = {{"TBASE", texts::kBaseTypes},
                     {"TBILL", texts::kBills},
                     {"TMULTICHECK", texts::kMultiChecks},
                     {"TFLOW", texts::kWorkFlows}};
        for (const auto& kind : kinds) {
            std::vector<TreeEntry> found;
            if (const VectorPtr list = all->Item(kind.key).AsVector()) {
                entries(list, found);
            }
            addKind(kind.caption, std::move(found));
        }
        // Reports come as one dictionary of three lists, as the report service lists them.
        const VectorPtr reports = all->Item("TREPORT").AsVector();
        if (reports && reports->Count() > 0) {
            std::vector<TreeEntry> found;
            for (const auto& [key, list] : reports->Item(0).AsDictionary()->Entries()) {
                entries(list.AsVector(), found);
            }
            addKind(texts::kReports, std::move(found));
        }
    } catch (const ComError& error) {
        objects->kinds.clear();
        emit ReadFailed(subsysmgr::ToQString(error.Description()), error.Number());
    }
    const int count = static_cast<int>(objects->kinds.size());
    if (count == 0) {
        group.objects[objects->subSystemId] = std::move(objects);
        // The expander goes away.
        emit dataChanged(index, index);
        return;
    }
    beginInsertRows(index, 0, count - 1);
    group.objects[objects->subSystemId] = std::move(objects);
    endInsertRows();
}

const TreeEntry* FunctionalTreeModel::EntryOf(const QModelIndex& index) const {
    switch (KindOf(index)) {
        case ItemKind::Group: {
            const Group* group = GroupAt(index.row());
            return group ? &group->entry : nullptr;
        }
        case ItemKind::SubSystem:
            return &static_cast<Group*>(index.internalPointer())->SubSystemAt(index.row());
        case ItemKind::BusinessObject:
            return &static_cast<ObjectKind*>(index.internalPointer())
                        ->objects[static_cast<std::size_t>(index.row())];
        case ItemKind::BusinessObjects:
            break;
    }
    return nullptr;
}

QVariant FunctionalTreeModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    const ItemKind kind = KindOf(index);
    const TreeEntry* entry = EntryOf(index);
    switch (role) {
        case Qt::DisplayRole:
            if (kind == ItemKind::BusinessObjects) {
                if (index.column() != kNameColumn) {
                    return {};
                }
                auto* objects = static_cast<BusinessObjects*>(index.internalPointer());
                return Tr(objects->kinds[static_cast<std::size_t>(index.row())]->caption);
            }
            if (index.column() == kCodeColumn) {
                return QString::number(entry->id);
            }
            return NameOf(*entry);
        case Qt::DecorationRole:
            if (index.column() != kCodeColumn) {
                return {};
            }
            if (kind == ItemKind::BusinessObjects) {
                return DesignerIcons::For(kind,
                                          static_cast<BusinessObjects*>(index.internalPointer())
                                              ->kinds[static_cast<std::size_t>(index.row())]
                                              ->caption);
            }
            if (kind == ItemKind::BusinessObject) {
                return DesignerIcons::For(
                    kind, static_cast<ObjectKind*>(index.internalPointer())->caption);
            }
            return DesignerIcons::For(kind);
        case kKindRole:
            return static_cast<int>(kind);
        case kIdRole:
            if (kind == ItemKind::BusinessObjects) {
                return static_cast<BusinessObjects*>(index.internalPointer())->subSystemId;
            }
            return entry->id;
        case kGroupIdRole:
            switch (kind) {
                case ItemKind::Group:
                    return entry->id;
                case ItemKind::SubSystem:
                    return static_cast<Group*>(index.internalPointer())->entry.id;
                case ItemKind::BusinessObjects:
                    return static_cast<BusinessObjects*>(index.internalPointer())->group->entry.id;
                case ItemKind::BusinessObject:
                    return static_cast<ObjectKind*>(index.internalPointer())
                        ->owner->group->entry.id;
            }
            return {};
        case kMatchRole:
            return Filtered() && (kind == ItemKind::Group || kind == ItemKind::SubSystem) &&
                   Matches(*entry);
        case Qt::BackgroundRole:
            if (data(index, kMatchRole).toBool()) {
                return QColor(255, 236, 150);
            }
            return {};
        case Qt::FontRole:
            if (data(index, kMatchRole).toBool()) {
                QFont bold;
                bold.setBold(true);
                return bold;
            }
            return {};
        default:
            return {};
    }
}

QVariant FunctionalTreeModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    return Tr(section == kCodeColumn ? texts::kCode : texts::kNameCaption);
}

Qt::ItemFlags FunctionalTreeModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::ItemIsDropEnabled;  // groups go between groups
    }
    switch (KindOf(index)) {
        case ItemKind::Group:
            return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled |
                   Qt::ItemIsDropEnabled;
        case ItemKind::SubSystem:
            return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
        case ItemKind::BusinessObjects:
        case ItemKind::BusinessObject:
            break;
    }
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

QStringList FunctionalTreeModel::mimeTypes() const {
    return {kItemsMimeType};
}

QMimeData* FunctionalTreeModel::mimeData(const QModelIndexList& indexes) const {
    QByteArray encoded;
    QDataStream stream(&encoded, QIODevice::WriteOnly);
    for (const QModelIndex& index : indexes) {
        const ItemKind kind = KindOf(index);
        if (index.column() == 0 && (kind == ItemKind::Group || kind == ItemKind::SubSystem)) {
            stream << static_cast<int>(kind) << index.data(kIdRole).toInt()
                   << index.data(kGroupIdRole).toInt();
        }
    }
    auto* data = new QMimeData;
    data->setData(kItemsMimeType, encoded);
    return data;
}

namespace {

struct DraggedItems {
    int kind = 0;  // 0 when the items are not all of one kind
    QList<int> ids;
    QList<int> groups;
};

DraggedItems Decoded(const QMimeData* data) {
    DraggedItems items;
    if (!data) {
        return items;
    }
    QDataStream stream(data->data(kItemsMimeType));
    int first = 0;
    while (!stream.atEnd()) {
        int kind = 0;
        int id = 0;
        int group = 0;
        stream >> kind >> id >> group;
        if (stream.status() != QDataStream::Ok || (first != 0 && kind != first)) {
            return {};
        }
        first = kind;
        items.ids << id;
        items.groups << group;
    }
    items.kind = first;
    return items;
}

}  // namespace

bool FunctionalTreeModel::canDropMimeData(const QMimeData* data, Qt::DropAction action, int /*row*/,
                                          int /*column*/, const QModelIndex& parent) const {
    if (action != Qt::MoveAction) {
        return false;
    }
    const DraggedItems items = Decoded(data);
    if (items.kind == static_cast<int>(ItemKind::Group)) {
        return !parent.isValid();
    }
    return items.kind == static_cast<int>(ItemKind::SubSystem) && parent.isValid() &&
           KindOf(parent) == ItemKind::Group;
}

bool FunctionalTreeModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row,
                                       int column, const QModelIndex& parent) {
    if (!canDropMimeData(data, action, row, column, parent)) {
        return false;
    }
    const DraggedItems items = Decoded(data);
    const int beforeId =
        row >= 0 && row < rowCount(parent) ? index(row, 0, parent).data(kIdRole).toInt() : 0;
    emit MoveRequested(items.kind, items.ids, items.groups,
                       parent.isValid() ? parent.data(kIdRole).toInt() : 0, beforeId);
    // The view removes nothing: the rows move when the refresh after the writes shows them.
    return false;
}

void FunctionalTreeModel::Load() {
    std::vector<TreeEntry> fresh = ReadGroups();
    beginResetModel();
    groups_.clear();
    shownGroups_.clear();
    filterText_.clear();
    foldedFilter_.clear();
    viewer_.reset();
    for (TreeEntry& entry : fresh) {
        auto group = std::make_unique<Group>();
        group->entry = std::move(entry);
        groups_.push_back(std::move(group));
    }
    Renumber();
    IndexGroups();
    endResetModel();
}

void FunctionalTreeModel::SetLanguage(const std::string& language) {
    language_ = language == "CHT" ? 1 : language == "EN" ? 2 : 0;
    // The business objects' names come in the session language: they are read again on expand.
    for (std::size_t row = 0; row < static_cast<std::size_t>(rowCount()); ++row) {
        Group& group = *GroupAt(static_cast<int>(row));
        for (auto found = group.objects.begin(); found != group.objects.end();) {
            const int subSystemRow = RowOf(*found->second);
            const int count = static_cast<int>(found->second->kinds.size());
            if (subSystemRow < 0 || count == 0) {
                found = group.objects.erase(found);
                continue;
            }
            const QModelIndex parent = index(subSystemRow, 0, index(group.row, 0));
            beginRemoveRows(parent, 0, count - 1);
            found = group.objects.erase(found);
            endRemoveRows();
        }
    }
    for (int row = 0; row < rowCount(); ++row) {
        const QModelIndex group = index(row, 0);
        emit dataChanged(group, index(row, kNameColumn));
        const int count = rowCount(group);
        if (count > 0) {
            emit dataChanged(index(0, 0, group), index(count - 1, kNameColumn, group));
        }
    }
    emit headerDataChanged(Qt::Horizontal, 0, kColumnCount - 1);
}

std::optional<FunctionalTreeModel::SubSystemRows> FunctionalTreeModel::ReadSubSystems(
    const std::vector<int32_t>& groups, const ProgressStep& progress) const {
    SubSystemRows read;
    const auto total = static_cast<int64_t>(groups.size());
    if (groups.size() <= kGroupsReadOneByOne) {
        for (std::size_t n = 0; n < groups.size(); ++n) {
            if (!progress(static_cast<int64_t>(n), total)) {
                return std::nullopt;
            }
            read[groups[n]] = ReadSubSystemsOf(groups[n]);
        }
        return read;
    }
    // Every row at once, in two passes: the first reads only what tells whether a group's rows
    // changed (identifier, order and version: every write of a row gives it a new version), the
    // second the entries of the groups whose rows did.
    struct Key {
        int32_t id;
        int32_t index;
        int64_t version;
    };
    std::unordered_map<int32_t, std::vector<Key>> keys;
    for (const int32_t group : groups) {
        keys[group];
    }
    const RecordsetPtr rows =
        subsysmgr::GetDataFlowInfo(*ModuleState::Current()).GetSubSystem_All(Variant(-1));
    const auto columns = Columns(*rows, kSubSystemColumns);
    const int64_t count = rows->RecordCount();
    // Rows mostly come by group, so a group's bucket is looked up once for its run of rows.
    const auto forEachRow = [&](int64_t passed, auto&& take) {
        int32_t currentGroup = 0;
        bool current = false;
        int64_t done = 0;
        for (rows->MoveFirst(); !rows->Eof(); rows->MoveNext(), ++done) {
            if ((done & 4095) == 0 && !progress(passed + done, 2 * count)) {
                return false;
            }
            const int32_t groupId = rows->Fields(columns[kGroupOfSubSystem]).ToInt32();
            if (!current || groupId != currentGroup) {
                current = take(groupId, true);
                currentGroup = groupId;
            } else {
                take(groupId, false);
            }
        }
        return true;
    };
    std::vector<Key>* bucket = nullptr;
    const bool keysRead = forEachRow(0, [&](int32_t groupId, bool lookUp) {
        if (lookUp) {
            const auto found = keys.find(groupId);
            bucket = found == keys.end() ? nullptr : &found->second;
        }
        if (bucket) {
            bucket->push_back({rows->Fields(columns[0]).ToInt32(),
                               rows->Fields(columns[1]).ToInt32(),
                               rows->Fields(columns[2]).ToInt64()});
        }
        return bucket != nullptr;
    });
    if (!keysRead) {
        return std::nullopt;
    }
    for (auto& [groupId, groupKeys] : keys) {
        const auto before = [](const Key& a, const Key& b) {
            return std::pair(a.index, a.id) < std::pair(b.index, b.id);
        };
        if (!std::is_sorted(groupKeys.begin(), groupKeys.end(), before)) {
            std::sort(groupKeys.begin(), groupKeys.end(), before);
        }
        const Group* held = FindGroup(groupId);
        const bool same = held && held->fetched && held->subSystems.size() == groupKeys.size() &&
                          std::equal(groupKeys.begin(), groupKeys.end(), held->subSystems.begin(),
                                     [](const Key& key, const TreeEntry& entry) {
                                         return key.version != 0 && key.id == entry.id &&
                                                key.index == entry.index &&
                                                key.version == entry.version;
                                     });
        if (!same) {
            read[groupId].reserve(groupKeys.size());
        }
    }
    if (read.empty()) {
        return read;
    }
    const auto entryColumns = EntryColumns(columns);
    std::vector<TreeEntry>* entries = nullptr;
    const bool entriesRead = forEachRow(count, [&](int32_t groupId, bool lookUp) {
        if (lookUp) {
            const auto found = read.find(groupId);
            entries = found == read.end() ? nullptr : &found->second;
        }
        if (entries) {
            entries->push_back(EntryAt(*rows, entryColumns));
        }
        return entries != nullptr;
    });
    if (!entriesRead) {
        return std::nullopt;
    }
    for (auto& [group, groupEntries] : read) {
        SortByDisplayOrder(groupEntries);
    }
    return read;
}

bool FunctionalTreeModel::Refresh(const ProgressStep& progress) {
    subsysmgr::GetDataFlowInfo(*ModuleState::Current()).ClearCache();
    std::vector<TreeEntry> groups = ReadGroups();
    std::vector<int32_t> fetched;
    for (const TreeEntry& group : groups) {
        const Group* held = FindGroup(group.id);
        if (held && held->fetched) {
            fetched.push_back(group.id);
        }
    }
    // Under a filter or a preview every group's subsystems are needed to match them. When the
    // rows of all groups are read anyway, a new group comes with its subsystems too.
    if (Narrowed() || fetched.size() > kGroupsReadOneByOne) {
        fetched.clear();
        for (const TreeEntry& group : groups) {
            fetched.push_back(group.id);
        }
    }
    std::optional<SubSystemRows> read = ReadSubSystems(fetched, progress);
    if (!read) {
        return false;
    }
    SubSystemRows& subSystems = *read;
    const bool announce = !Narrowed();
    if (!announce) {
        // The filter's rows are made anew; the view restores what it had open.
        beginResetModel();
        shownGroups_.clear();
    }
    SyncGroups(std::move(groups), subSystems, announce);
    for (auto& [groupId, rows] : subSystems) {
        if (Group* group = FindGroup(groupId)) {
            SyncSubSystems(*group, std::move(rows), announce);
        }
    }
    if (!announce) {
        ApplyFilter();
        endResetModel();
    }
    return true;
}

void FunctionalTreeModel::SyncGroups(std::vector<TreeEntry> fresh, SubSystemRows& subSystems,
                                     bool announce) {
    const RowSignals signal =
        !announce ? Silent()
                  : RowSignals{[this](int first, int last) { beginRemoveRows({}, first, last); },
                               [this](int first, int last) { beginInsertRows({}, first, last); },
                               [this](int from, int to) { beginMoveRows({}, from, from, {}, to); },
                               [this] {
                                   Renumber();
                                   endRemoveRows();
                               },
                               [this] {
                                   Renumber();
                                   endInsertRows();
                               },
                               [this] {
                                   Renumber();
                                   endMoveRows();
                               },
                               [this](int row) {
                                   emit dataChanged(index(row, 0), index(row, kNameColumn));
                               }};
    SyncRows(
        groups_, fresh, signal, [](const std::unique_ptr<Group>& group) { return group->entry.id; },
        [&subSystems](TreeEntry&& entry) {
            auto group = std::make_unique<Group>();
            group->entry = std::move(entry);
            if (const auto read = subSystems.find(group->entry.id); read != subSystems.end()) {
                group->subSystems = std::move(read->second);
                group->fetched = true;
                subSystems.erase(read);
            }
            return group;
        },
        [](std::unique_ptr<Group>& group, TreeEntry& entry) {
            if (group->entry == entry) {
                return false;
            }
            group->entry = std::move(entry);
            return true;
        },
        [](std::unique_ptr<Group>&) {});
    IndexGroups();
}

void FunctionalTreeModel::SyncSubSystems(Group& group, std::vector<TreeEntry> fresh,
                                         bool announce) {
    group.fetched = true;
    const auto parent = [this, &group] { return index(group.row, 0); };
    const RowSignals signal =
        !announce
            ? Silent()
            : RowSignals{
                  [&](int first, int last) { beginRemoveRows(parent(), first, last); },
                  [&](int first, int last) { beginInsertRows(parent(), first, last); },
                  [&](int from, int to) { beginMoveRows(parent(), from, from, parent(), to); },
                  [this] { endRemoveRows(); },
                  [this] { endInsertRows(); },
                  [this] { endMoveRows(); },
                  [&](int row) {
                      emit dataChanged(index(row, 0, parent()), index(row, kNameColumn, parent()));
                  }};
    SyncRows(
        group.subSystems, fresh, signal, [](const TreeEntry& entry) { return entry.id; },
        [](TreeEntry&& entry) { return std::move(entry); },
        [](TreeEntry& held, TreeEntry& entry) {
            if (held == entry) {
                return false;
            }
            held = std::move(entry);
            return true;
        },
        [&group](TreeEntry& removed) { group.objects.erase(removed.id); });
}

bool FunctionalTreeModel::Matches(const TreeEntry& entry) const {
    if (filterNumber_ > 0) {
        // The code's decimal digits contain the filter's: some tail of the code, cut after a
        // digit, ends in them. Cheaper than writing the code out for each item.
        for (int64_t code = entry.id; code >= filterNumber_; code /= 10) {
            if (code % filterModulus_ == filterNumber_) {
                return true;
            }
        }
    } else if (filterIsCode_) {
        char code[16];
        const auto written = std::to_chars(std::begin(code), std::end(code), entry.id);
        if (std::string_view(code, static_cast<std::size_t>(written.ptr - code))
                .find(foldedFilter_) != std::string_view::npos) {
            return true;
        }
    }
    for (const std::string& name : entry.names) {
        if (filterHasLetters_ ? ContainsFolded(name, foldedFilter_)
                              : name.find(foldedFilter_) != std::string::npos) {
            return true;
        }
    }
    return false;
}

void FunctionalTreeModel::ApplyFilter() {
    shownGroups_.clear();
    matchCount_ = 0;
    for (const auto& held : groups_) {
        Group& group = *held;
        group.narrowed = false;
        group.shown.clear();
        group.matched = false;
        group.hasMatches = false;
        if (!Narrowed() || (viewer_ && !subsysmgr::IsShown(group.entry.Shown(), *viewer_))) {
            continue;
        }
        group.matched = Filtered() && Matches(group.entry);
        // A group that the filter matches keeps the subsystems that the preview shows.
        const bool all = !Filtered() || group.matched;
        group.narrowed = viewer_ || !all;
        const subsysmgr::ShownFields groupFields = group.entry.Shown();
        for (std::size_t n = 0; n < group.subSystems.size(); ++n) {
            const TreeEntry& subSystem = group.subSystems[n];
            if (viewer_ && !subsysmgr::IsShown(subSystem.Shown(), groupFields, *viewer_)) {
                continue;
            }
            const bool match = Filtered() && Matches(subSystem);
            group.hasMatches = group.hasMatches || match;
            matchCount_ += match ? 1 : 0;
            if (group.narrowed && (all || match)) {
                group.shown.push_back(static_cast<uint32_t>(n));
            }
        }
        matchCount_ += group.matched ? 1 : 0;
        if (!Filtered() || group.matched || group.hasMatches) {
            shownGroups_.push_back(&group);
        }
    }
    Renumber();
}

bool FunctionalTreeModel::SetFilter(const QString& text, const ProgressStep& progress) {
    const QString trimmed = text.trimmed();
    if (trimmed == filterText_) {
        return true;
    }
    return ChangeShown(!trimmed.isEmpty(), progress, [&] {
        filterText_ = trimmed;
        foldedFilter_ = trimmed.toStdString();
        std::transform(foldedFilter_.begin(), foldedFilter_.end(), foldedFilter_.begin(), Folded);
        filterHasLetters_ = std::any_of(foldedFilter_.begin(), foldedFilter_.end(),
                                        [](char c) { return c >= 'a' && c <= 'z'; });
        filterIsCode_ = std::all_of(foldedFilter_.begin(), foldedFilter_.end(),
                                    [](char c) { return c >= '0' && c <= '9'; });
        // Digits without a leading zero are compared as a number (0 for none).
        filterNumber_ = 0;
        filterModulus_ = 1;
        if (filterIsCode_ && !foldedFilter_.empty() && foldedFilter_.size() <= 9 &&
            foldedFilter_.front() != '0') {
            for (const char digit : foldedFilter_) {
                filterNumber_ = filterNumber_ * 10 + (digit - '0');
                filterModulus_ *= 10;
            }
        }
    });
}

bool FunctionalTreeModel::ChangeShown(bool readAll, const ProgressStep& progress,
                                      const std::function<void()>& change) {
    SubSystemRows read;
    if (readAll) {
        std::vector<int32_t> missing;
        for (const auto& group : groups_) {
            if (!group->fetched) {
                missing.push_back(group->entry.id);
            }
        }
        std::optional<SubSystemRows> all = ReadSubSystems(missing, progress);
        if (!all) {
            return false;
        }
        read = std::move(*all);
    }
    beginResetModel();
    for (auto& [groupId, rows] : read) {
        // A group that a refresh removed while the rows were read is left out.
        if (Group* group = FindGroup(groupId)) {
            group->subSystems = std::move(rows);
            group->fetched = true;
        }
    }
    change();
    ApplyFilter();
    endResetModel();
    return true;
}

bool FunctionalTreeModel::SetViewer(const std::optional<subsysmgr::Viewer>& viewer,
                                    const ProgressStep& progress) {
    const auto same = [](const subsysmgr::Viewer& a, const subsysmgr::Viewer& b) {
        return a.accountType == b.accountType && a.console == b.console;
    };
    if (viewer.has_value() == viewer_.has_value() && (!viewer || same(*viewer, *viewer_))) {
        return true;
    }
    return ChangeShown(viewer.has_value(), progress, [&] { viewer_ = viewer; });
}

QModelIndexList FunctionalTreeModel::GroupsWithMatches() const {
    QModelIndexList groups;
    for (const Group* group : shownGroups_) {
        if (group->hasMatches) {
            groups << createIndex(group->row, 0, nullptr);
        }
    }
    return groups;
}

QModelIndex FunctionalTreeModel::GroupIndex(int32_t groupId) {
    const Group* group = FindGroup(groupId);
    if (!group || (Narrowed() && std::find(shownGroups_.begin(), shownGroups_.end(), group) ==
                                     shownGroups_.end())) {
        return {};
    }
    const QModelIndex found = index(group->row, 0);
    fetchMore(found);
    return found;
}

QModelIndex FunctionalTreeModel::SubSystemIndex(int32_t groupId, int32_t subSystemId) {
    const QModelIndex group = GroupIndex(groupId);
    if (!group.isValid()) {
        return {};
    }
    const Group& held = *GroupAt(group.row());
    for (int row = 0; row < held.ShownCount(); ++row) {
        if (held.SubSystemAt(row).id == subSystemId) {
            return index(row, 0, group);
        }
    }
    return {};
}

std::vector<TreeEntry> FunctionalTreeModel::SubSystemsOf(int32_t groupId) {
    Group* group = FindGroup(groupId);
    if (!group) {
        return {};
    }
    if (!group->fetched) {
        const QModelIndex found = GroupIndex(groupId);
        if (!found.isValid()) {
            // Hidden by the filter, so not fetched through the view.
            group->subSystems = ReadSubSystemsOf(groupId);
            group->fetched = true;
        }
    }
    return group->subSystems;
}

std::vector<TreeEntry> FunctionalTreeModel::Groups() const {
    std::vector<TreeEntry> groups;
    groups.reserve(groups_.size());
    for (const auto& group : groups_) {
        groups.push_back(group->entry);
    }
    return groups;
}

QString FunctionalTreeModel::NameOf(const TreeEntry& entry) const {
    return QString::fromStdString(entry.names[static_cast<std::size_t>(language_)]);
}

}  // namespace quarn::designer
