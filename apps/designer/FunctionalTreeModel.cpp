#include "FunctionalTreeModel.h"

#include <QDataStream>
#include <QFont>
#include <QGuiApplication>
#include <QIODevice>
#include <QMimeData>
#include <QPalette>
#include <algorithm>

#include "AccessibleTexts.h"
#include "BusinessObjects.h"
#include "DesignerIcons.h"
#include "DesignerTexts.h"
#include "RowSync.h"
#include "SessionText.h"
#include "TreeMoves.h"
#include "exchange/ChangeSteps.h"
#include "foundation/ComError.h"
#include "host/ProgIds.h"
#include "runtime/SessionContext.h"
#include "ui/QtText.h"

namespace quarn::designer {

using subsysmgr::ModuleState;
namespace exchange = subsysmgr::exchange;

namespace {

// Dragged items: per item its kind, identifier and group.
const QString kItemsMimeType = QStringLiteral("application/x-quarn-tree-items");

exchange::TreeReader Reader() {
    return exchange::TreeReader(ModuleState::Current());
}

// What the store's search finds for `text` in the session's database.
std::vector<TreeMatch> Found(const std::string& text) {
    const auto module = ModuleState::Current();
    return module->registry->Create<ITreeSearch>(progid::kTreeSearch)
        ->Find(subsysmgr::GetPropsString(*module), text);
}

// The groups of the found items.
std::unordered_set<int32_t> GroupsOf(const std::vector<TreeMatch>& found) {
    std::unordered_set<int32_t> groups;
    for (const TreeMatch& match : found) {
        groups.insert(match.group);
    }
    return groups;
}

// Whether the row that `key` describes is `row` as it is: every write gives a row a new version,
// but a row never written since the log began has version 0, which tells nothing.
template <class Stored>
bool Holds(const Stored& row, const exchange::TreeReader::RowKey& key) {
    return key.version != 0 && key.id == row.item.id && key.index == row.item.index &&
           key.version == row.version;
}

template <class Stored>
std::vector<int32_t> IdsOf(const std::vector<Stored>& rows) {
    std::vector<int32_t> ids;
    ids.reserve(rows.size());
    for (const Stored& row : rows) {
        ids.push_back(row.item.id);
    }
    return ids;
}

}  // namespace

// What a parent's rows are, so that an index's internal pointer (its parent) tells its kind.
struct FunctionalTreeModel::Node {
    explicit Node(ItemKind rows) : childKind(rows) {}
    ItemKind childKind;
};

struct FunctionalTreeModel::ObjectKind : Node {
    explicit ObjectKind(BusinessObjectKind read)
        : Node(ItemKind::BusinessObject), kind(std::move(read)) {}
    BusinessObjectKind kind;
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
    StoredGroup stored;
    int row = 0;
    bool fetched = false;
    std::vector<StoredSubSystem> subSystems;  // in display order
    TreeFilter::GroupView view;               // what the filter shows of it
    // The business objects of the subsystems expanded so far, by subsystem.
    std::unordered_map<int32_t, std::unique_ptr<BusinessObjects>> objects;

    int32_t Id() const { return stored.item.id; }
    int ShownCount() const {
        return static_cast<int>(view.narrowed ? view.subSystems.size()
                                : fetched     ? subSystems.size()
                                              : 0);
    }
    const exchange::SubSystemItem& SubSystemAt(int position) const {
        const auto at = static_cast<std::size_t>(position);
        return subSystems[view.narrowed ? view.subSystems[at] : at].item;
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
        groupsById_[group->Id()] = group.get();
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
                objects->kinds[static_cast<std::size_t>(parent.row())]->kind.objects.size());
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
    std::vector<StoredSubSystem> subSystems;
    try {
        subSystems = Reader().CachedSubSystemsOf(group.Id());
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
        for (BusinessObjectKind& read : ReadBusinessObjects(objects->subSystemId)) {
            auto kind = std::make_unique<ObjectKind>(std::move(read));
            kind->owner = objects.get();
            kind->row = static_cast<int>(objects->kinds.size());
            objects->kinds.push_back(std::move(kind));
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

FunctionalTreeModel::RowItem FunctionalTreeModel::ItemAt(const QModelIndex& index) const {
    switch (KindOf(index)) {
        case ItemKind::Group: {
            const exchange::GroupItem& group = GroupAt(index.row())->stored.item;
            return {group.id, group.id, &group.names, nullptr};
        }
        case ItemKind::SubSystem: {
            const auto* group = static_cast<Group*>(index.internalPointer());
            const exchange::SubSystemItem& subSystem = group->SubSystemAt(index.row());
            return {subSystem.id, group->Id(), &subSystem.names, nullptr};
        }
        case ItemKind::BusinessObject: {
            const auto* kind = static_cast<ObjectKind*>(index.internalPointer());
            const BusinessObject& object =
                kind->kind.objects[static_cast<std::size_t>(index.row())];
            return {object.id, kind->owner->group->Id(), nullptr, &object.name};
        }
        case ItemKind::BusinessObjects:
            break;
    }
    return {};
}

QVariant FunctionalTreeModel::KindData(const QModelIndex& index, int role) const {
    const auto* objects = static_cast<BusinessObjects*>(index.internalPointer());
    const std::string_view caption =
        objects->kinds[static_cast<std::size_t>(index.row())]->kind.caption;
    switch (role) {
        case Qt::DisplayRole:
            return index.column() == kNameColumn ? Tr(caption) : QVariant();
        case Qt::DecorationRole:
            return index.column() == kCodeColumn
                       ? QVariant(DesignerIcons::For(ItemKind::BusinessObjects, caption))
                       : QVariant();
        case Qt::AccessibleDescriptionRole:
            return Tr(texts::kKindOfObjects);
        case kKindRole:
            return static_cast<int>(ItemKind::BusinessObjects);
        case kIdRole:
            return objects->subSystemId;
        case kGroupIdRole:
            return objects->group->Id();
        case kMatchRole:
            return false;
        default:
            return {};
    }
}

// The code column reads the row whole, so that a screen reader tells group 5 from subsystem 5.
QString FunctionalTreeModel::RowText(ItemKind kind, const RowItem& item) const {
    const QString name = item.names ? NameOf(*item.names) : QString::fromStdString(*item.name);
    const std::string_view row = kind == ItemKind::Group       ? texts::kGroupRow
                                 : kind == ItemKind::SubSystem ? texts::kSubSystemRow
                                                               : texts::kBusinessObjectRow;
    return Tr(row).arg(QString::number(item.id), name);
}

QString FunctionalTreeModel::RowDescription(ItemKind kind, bool matched) {
    const QString what = Tr(kind == ItemKind::Group       ? texts::kGroupCaption
                            : kind == ItemKind::SubSystem ? texts::kSubSystemCaption
                                                          : texts::kBusinessObject);
    return matched ? what + QStringLiteral(", ") + Tr(texts::kSearchMatch) : what;
}

QVariant FunctionalTreeModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    const ItemKind kind = KindOf(index);
    if (kind == ItemKind::BusinessObjects) {
        return KindData(index, role);
    }
    const RowItem item = ItemAt(index);
    // A match is marked in bold, and drawn in the window's own colours, a band in the view:
    // the pair every label depends on, which desktops keep readable under light and dark themes
    // (not the tooltips', which some dark desktops leave light under their light text, nor the
    // selection's, which a match must not look like).
    const auto matched = [&] {
        return item.names &&
               filter_.Matches({kind == ItemKind::Group ? TreeItemRef::Kind::Group
                                                        : TreeItemRef::Kind::SubSystem,
                                item.id});
    };
    switch (role) {
        case Qt::DisplayRole:
            if (index.column() == kCodeColumn) {
                return QString::number(item.id);
            }
            return item.names ? NameOf(*item.names) : QString::fromStdString(*item.name);
        case Qt::DecorationRole:
            if (index.column() != kCodeColumn) {
                return {};
            }
            return kind == ItemKind::BusinessObject
                       ? DesignerIcons::For(
                             kind, static_cast<ObjectKind*>(index.internalPointer())->kind.caption)
                       : DesignerIcons::For(kind);
        case Qt::AccessibleTextRole:
            return index.column() == kCodeColumn ? RowText(kind, item) : QVariant();
        case Qt::AccessibleDescriptionRole:
            return RowDescription(kind, matched());
        case kKindRole:
            return static_cast<int>(kind);
        case kIdRole:
            return item.id;
        case kGroupIdRole:
            return item.group;
        case kMatchRole:
            return matched();
        case Qt::BackgroundRole:
            return matched() ? QVariant(QGuiApplication::palette().window()) : QVariant();
        case Qt::ForegroundRole:
            return matched() ? QVariant(QGuiApplication::palette().windowText()) : QVariant();
        case Qt::FontRole:
            if (matched()) {
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
    const int kind = Decoded(data).kind;
    if (action != Qt::MoveAction || (kind != static_cast<int>(ItemKind::Group) &&
                                     kind != static_cast<int>(ItemKind::SubSystem))) {
        return false;
    }
    return CanDrop(static_cast<ItemKind>(kind),
                   parent.isValid() ? std::optional(KindOf(parent)) : std::nullopt);
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
    std::vector<exchange::TreeReader::CachedGroup> fresh = Reader().CachedGroups();
    beginResetModel();
    groups_.clear();
    shownGroups_.clear();
    filterText_.clear();
    filter_ = TreeFilter();
    SubSystemRows none;
    for (exchange::TreeReader::CachedGroup& group : fresh) {
        groups_.push_back(NewGroup(std::move(group), none));
    }
    Renumber();
    IndexGroups();
    endResetModel();
}

void FunctionalTreeModel::SetLanguage(const std::string& language) {
    language_ = language;
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
    const auto held = [this](int32_t groupId,
                             const std::vector<exchange::TreeReader::RowKey>& keys) {
        const Group* group = FindGroup(groupId);
        return group && group->fetched && group->subSystems.size() == keys.size() &&
               std::equal(keys.begin(), keys.end(), group->subSystems.begin(),
                          [](const exchange::TreeReader::RowKey& key, const StoredSubSystem& row) {
                              return Holds(row, key);
                          });
    };
    return Reader().CachedSubSystemsOf(groups, held, progress);
}

bool FunctionalTreeModel::Refresh(const ProgressStep& progress) {
    exchange::TreeReader reader = Reader();
    reader.RevalidateCache();
    // The items of the groups held as they are stay; only the others are read.
    std::vector<exchange::TreeReader::CachedGroup> groups =
        reader.CachedGroups([this](const exchange::TreeReader::RowKey& key) {
            const Group* group = FindGroup(key.id);
            return group && Holds(group->stored, key);
        });
    std::vector<int32_t> all;
    std::vector<int32_t> fetched;
    for (const exchange::TreeReader::CachedGroup& group : groups) {
        all.push_back(group.key.id);
        const Group* held = FindGroup(group.key.id);
        if (held && held->fetched) {
            fetched.push_back(group.key.id);
        }
    }
    // A search is asked again (the rows changed), and the groups it finds now are read too;
    // under a preview every group's subsystems are needed to narrow them. When the rows of many
    // groups are read, all rows are read at once, and a new group comes with its subsystems too.
    const std::string searched = filterText_.toStdString();
    const std::vector<TreeMatch> found =
        filter_.Searching() ? Found(searched) : std::vector<TreeMatch>{};
    for (const int32_t groupId : GroupsOf(found)) {
        const Group* held = FindGroup(groupId);
        if (!held || !held->fetched) {
            fetched.push_back(groupId);
        }
    }
    if (filter_.ShownTo() ||
        fetched.size() > exchange::TreeReader::GroupsReadOneByOne(groups_.size())) {
        fetched = std::move(all);
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
        if (filter_.Searching()) {
            filter_.Search(searched, found);
        }
        ApplyFilter();
        endResetModel();
    }
    return true;
}

std::unique_ptr<FunctionalTreeModel::Group> FunctionalTreeModel::NewGroup(
    exchange::TreeReader::CachedGroup cached, SubSystemRows& subSystems) {
    auto group = std::make_unique<Group>();
    // Read in full: no row held has its identifier.
    group->stored = {std::move(cached.item).value(), cached.key.version};
    if (const auto read = subSystems.find(group->Id()); read != subSystems.end()) {
        group->subSystems = std::move(read->second);
        group->fetched = true;
        subSystems.erase(read);
    }
    return group;
}

void FunctionalTreeModel::SyncGroups(std::vector<exchange::TreeReader::CachedGroup> fresh,
                                     SubSystemRows& subSystems, bool announce) {
    std::vector<int32_t> held;
    held.reserve(groups_.size());
    for (const auto& group : groups_) {
        held.push_back(group->Id());
    }
    // Inside a reset the rows change silently, and ApplyFilter numbers them.
    const auto finish = [this, announce](const auto& end) {
        if (announce) {
            Renumber();
            end();
        }
    };
    const RowSteps steps{
        [&](int first, int last) {
            if (announce) {
                beginRemoveRows({}, first, last);
            }
            groups_.erase(groups_.begin() + first, groups_.begin() + last + 1);
            finish([this] { endRemoveRows(); });
        },
        [&](int first, int last) {
            if (announce) {
                beginInsertRows({}, first, last);
            }
            std::vector<std::unique_ptr<Group>> added;
            for (int row = first; row <= last; ++row) {
                added.push_back(NewGroup(std::move(fresh[row]), subSystems));
            }
            groups_.insert(groups_.begin() + first, std::make_move_iterator(added.begin()),
                           std::make_move_iterator(added.end()));
            finish([this] { endInsertRows(); });
        },
        [&](int from, int to) {
            if (announce) {
                beginMoveRows({}, from, from, {}, to);
            }
            std::rotate(groups_.begin() + to, groups_.begin() + from, groups_.begin() + from + 1);
            finish([this] { endMoveRows(); });
        },
        [&](int row) {
            Group& group = *groups_[row];
            // Without an item the row is held as it is.
            if (!fresh[row].item || group.stored.item == *fresh[row].item) {
                return;
            }
            group.stored = {std::move(*fresh[row].item), fresh[row].key.version};
            if (announce) {
                emit dataChanged(index(row, 0), index(row, kNameColumn));
            }
        }};
    std::vector<int32_t> ids;
    ids.reserve(fresh.size());
    for (const exchange::TreeReader::CachedGroup& group : fresh) {
        ids.push_back(group.key.id);
    }
    SyncRows(std::move(held), ids, steps);
    IndexGroups();
}

void FunctionalTreeModel::SyncSubSystems(Group& group, std::vector<StoredSubSystem> fresh,
                                         bool announce) {
    group.fetched = true;
    std::vector<StoredSubSystem>& rows = group.subSystems;
    const auto parent = [this, &group] { return index(group.row, 0); };
    const RowSteps steps{
        [&](int first, int last) {
            if (announce) {
                beginRemoveRows(parent(), first, last);
            }
            for (int row = first; row <= last; ++row) {
                group.objects.erase(rows[row].item.id);
            }
            rows.erase(rows.begin() + first, rows.begin() + last + 1);
            if (announce) {
                endRemoveRows();
            }
        },
        [&](int first, int last) {
            if (announce) {
                beginInsertRows(parent(), first, last);
            }
            rows.insert(rows.begin() + first, std::make_move_iterator(fresh.begin() + first),
                        std::make_move_iterator(fresh.begin() + last + 1));
            if (announce) {
                endInsertRows();
            }
        },
        [&](int from, int to) {
            if (announce) {
                beginMoveRows(parent(), from, from, parent(), to);
            }
            std::rotate(rows.begin() + to, rows.begin() + from, rows.begin() + from + 1);
            if (announce) {
                endMoveRows();
            }
        },
        [&](int row) {
            if (rows[row] == fresh[row]) {
                return;
            }
            rows[row] = std::move(fresh[row]);
            if (announce) {
                emit dataChanged(index(row, 0, parent()), index(row, kNameColumn, parent()));
            }
        }};
    SyncRows(IdsOf(rows), IdsOf(fresh), steps);
}

void FunctionalTreeModel::ApplyFilter() {
    shownGroups_.clear();
    matchCount_ = 0;
    for (const auto& held : groups_) {
        Group& group = *held;
        filter_.Narrow(group.stored, group.subSystems, group.view);
        matchCount_ += group.view.matches;
        if (Narrowed() && group.view.shown) {
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
    // The store finds the items; only the groups they are in are read (all under a preview).
    const std::string searched = trimmed.toStdString();
    const std::vector<TreeMatch> found =
        searched.empty() ? std::vector<TreeMatch>{} : Found(searched);
    const GroupSet groups = filter_.ShownTo() ? GroupSet() : GroupSet(GroupsOf(found));
    return ChangeShown(groups, progress, [&] {
        filterText_ = trimmed;
        filter_.Search(searched, found);
    });
}

bool FunctionalTreeModel::ChangeShown(const GroupSet& groups, const ProgressStep& progress,
                                      const std::function<void()>& change) {
    std::vector<int32_t> missing;
    for (const auto& group : groups_) {
        if (!group->fetched && (!groups || groups->count(group->Id()) > 0)) {
            missing.push_back(group->Id());
        }
    }
    SubSystemRows read;
    if (!missing.empty()) {
        std::optional<SubSystemRows> rows = ReadSubSystems(missing, progress);
        if (!rows) {
            return false;
        }
        read = std::move(*rows);
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
    const std::optional<subsysmgr::Viewer>& shown = filter_.ShownTo();
    const auto same = [](const subsysmgr::Viewer& a, const subsysmgr::Viewer& b) {
        return a.accountType == b.accountType && a.console == b.console;
    };
    if (viewer.has_value() == shown.has_value() && (!viewer || same(*viewer, *shown))) {
        return true;
    }
    return ChangeShown(viewer ? GroupSet() : GroupSet(std::unordered_set<int32_t>{}), progress,
                       [&] { filter_.ShowTo(viewer); });
}

QModelIndexList FunctionalTreeModel::GroupsWithMatches() const {
    QModelIndexList groups;
    for (const Group* group : shownGroups_) {
        if (group->view.hasMatches) {
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

std::vector<exchange::SubSystemItem> FunctionalTreeModel::SubSystemsOf(int32_t groupId) {
    Group* group = FindGroup(groupId);
    if (!group) {
        return {};
    }
    if (!group->fetched && !GroupIndex(groupId).isValid()) {
        // Hidden by the filter, so not fetched through the view.
        group->subSystems = Reader().CachedSubSystemsOf(groupId);
        group->fetched = true;
    }
    std::vector<exchange::SubSystemItem> items;
    items.reserve(group->subSystems.size());
    for (const StoredSubSystem& row : group->subSystems) {
        items.push_back(row.item);
    }
    return items;
}

std::vector<exchange::GroupItem> FunctionalTreeModel::Groups() const {
    std::vector<exchange::GroupItem> groups;
    groups.reserve(groups_.size());
    for (const auto& group : groups_) {
        groups.push_back(group->stored.item);
    }
    return groups;
}

int64_t FunctionalTreeModel::ShownVersion(ItemKind kind, int32_t id, int32_t groupId) const {
    const Group* group = FindGroup(kind == ItemKind::Group ? id : groupId);
    if (group && kind == ItemKind::Group) {
        return group->stored.version;
    }
    if (group && kind == ItemKind::SubSystem) {
        const auto found =
            std::find_if(group->subSystems.begin(), group->subSystems.end(),
                         [id](const StoredSubSystem& row) { return row.item.id == id; });
        if (found != group->subSystems.end()) {
            return found->version;
        }
    }
    return exchange::ChangeSteps::kAbsent;
}

QString FunctionalTreeModel::NameOf(const exchange::Names& names) const {
    return QString::fromStdString(names.In(language_));
}

}  // namespace quarn::designer
