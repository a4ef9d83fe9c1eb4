#pragma once

#include <QAbstractItemModel>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "TreeFilter.h"
#include "TreeRows.h"
#include "exchange/TreeReader.h"
#include "model/Visibility.h"

namespace quarn::designer {

inline constexpr int kKindRole = Qt::UserRole;
inline constexpr int kIdRole = Qt::UserRole + 1;
inline constexpr int kGroupIdRole = Qt::UserRole + 2;
/// True on the items the filter matched; their ancestors are shown without it.
inline constexpr int kMatchRole = Qt::UserRole + 3;

/// Told how far long work is (done out of total); returns false to stop it.
using ProgressStep = subsysmgr::exchange::TreeReader::Progress;

/// The functional tree over the session's shared snapshot of the tree (the data-flow
/// information's groups and subsystems), read as the command line reads them
/// (exchange::TreeReader): the groups in display order, a group's subsystems read when the group
/// is first expanded, a subsystem's business objects when it is first expanded. Two columns, the
/// code and the name in the session language.
///
/// Refresh brings the rows in line with the snapshot after it was revalidated and signals only
/// the rows that were removed, inserted, moved or changed (SyncRows), so a view keeps its
/// selection, expanded items and scroll position. A filter shows the groups and subsystems whose
/// code or name in any language contains a text, with their groups; a preview shows only what one
/// viewer is shown (TreeFilter). Both may apply at once.
///
/// Reads that fail inside the view's calls (fetching a group or a subsystem's business objects)
/// leave the item empty and are reported through ReadFailed; the other calls raise ComError.
class FunctionalTreeModel : public QAbstractItemModel {
    Q_OBJECT

  public:
    enum Column { kCodeColumn = 0, kNameColumn = 1, kColumnCount = 2 };

    explicit FunctionalTreeModel(QObject* parent = nullptr);
    ~FunctionalTreeModel() override;

    /// Reads the groups anew (their subsystems again when expanded) and drops the filter and the
    /// preview.
    void Load();
    /// Brings every row read so far in line with the database (the data-flow information's
    /// cache is revalidated first). Returns false when `progress` stopped it; the groups not yet
    /// compared then show what they showed before.
    bool Refresh(const ProgressStep& progress);
    /// The names shown from now on: CHS, CHT or EN. The business objects are read again.
    void SetLanguage(const std::string& language);

    /// Shows only the items whose code, or name in any language, contains `text` (letters
    /// compared without regard to case), with their groups; a group that matches keeps all its
    /// subsystems. An empty text shows everything. The session's store finds the items
    /// (ITreeSearch); the subsystems of the groups they are in are read first (of every group
    /// under a preview). Returns false, changing nothing, when `progress` stopped that; raises
    /// the store's ComError.
    bool SetFilter(const QString& text, const ProgressStep& progress);
    const QString& Filter() const { return filterText_; }
    bool Filtered() const { return !filterText_.isEmpty(); }
    /// Shows only the groups and subsystems that `viewer` is shown (everything for none), under
    /// the filter when there is one. Reads every group's subsystems first; returns false,
    /// changing nothing, when `progress` stopped that.
    bool SetViewer(const std::optional<subsysmgr::Viewer>& viewer, const ProgressStep& progress);
    const std::optional<subsysmgr::Viewer>& ShownTo() const { return filter_.ShownTo(); }
    /// Under a filter or a preview: the rows shown are made anew on each change.
    bool Narrowed() const { return filter_.Narrows(); }
    /// The groups with subsystems that the filter matched, for a view to expand.
    QModelIndexList GroupsWithMatches() const;
    /// How many groups and subsystems the filter matched.
    int MatchCount() const { return matchCount_; }

    int GroupCount() const { return static_cast<int>(groups_.size()); }
    /// The group's row (fetching its subsystems), or an invalid index.
    QModelIndex GroupIndex(int32_t groupId);
    /// The subsystem's row under its group (fetching them), or an invalid index.
    QModelIndex SubSystemIndex(int32_t groupId, int32_t subSystemId);
    /// A group's subsystems in display order (fetching them); none for an unknown group.
    std::vector<subsysmgr::exchange::SubSystemItem> SubSystemsOf(int32_t groupId);
    /// Every group in display order.
    std::vector<subsysmgr::exchange::GroupItem> Groups() const;
    /// The version of the stored row of the group, or of the subsystem under group `groupId`,
    /// as the tree shows it; ChangeSteps::kAbsent when the tree does not show it.
    int64_t ShownVersion(ItemKind kind, int32_t id, int32_t groupId) const;
    /// The name of an item in the language shown.
    QString NameOf(const subsysmgr::exchange::Names& names) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Groups and subsystems are dragged to a new place: groups between groups, subsystems into
    // a group or between its subsystems (CanDrop). A drop changes no row itself; it asks for the
    // move through MoveRequested, whose writes the next refresh shows.
    Qt::DropActions supportedDragActions() const override { return Qt::MoveAction; }
    Qt::DropActions supportedDropActions() const override { return Qt::MoveAction; }
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                         const QModelIndex& parent) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;

  signals:
    /// A read the view asked for failed; the item stays empty until the next refresh.
    void ReadFailed(const QString& description, int number);
    /// Items of one kind (ItemKind as int: groups, or subsystems of the groups `fromGroups`)
    /// were dropped before the item `beforeId` of the same parent (0: at the end), into group
    /// `toGroup` for subsystems.
    void MoveRequested(int kind, const QList<int>& ids, const QList<int>& fromGroups, int toGroup,
                       int beforeId);

  private:
    struct Node;
    struct Group;
    struct BusinessObjects;
    struct ObjectKind;
    /// What a row of a group, a subsystem or a business object shows.
    struct RowItem {
        int32_t id = 0;
        int32_t group = 0;
        const subsysmgr::exchange::Names* names = nullptr;  // a group's or a subsystem's
        const std::string* name = nullptr;                  // a business object's
    };

    static ItemKind KindOf(const QModelIndex& index);
    Group* GroupAt(int row) const;
    Group* FindGroup(int32_t groupId) const;
    /// Makes FindGroup find the groups held now.
    void IndexGroups();
    /// Not for the rows of the business objects' kinds.
    RowItem ItemAt(const QModelIndex& index) const;
    /// What a screen reader reads of a row of a group, subsystem or business object: its kind,
    /// code and name; and its kind, with whether the search found it.
    QString RowText(ItemKind kind, const RowItem& item) const;
    static QString RowDescription(ItemKind kind, bool matched);
    /// data() of the row of a kind of business objects.
    QVariant KindData(const QModelIndex& index, int role) const;
    int RowOf(const BusinessObjects& objects) const;
    void Renumber();
    void FetchGroup(Group& group, const QModelIndex& index);
    void FetchBusinessObjects(Group& group, const QModelIndex& index);
    using SubSystemRows = subsysmgr::exchange::TreeReader::SubSystemsByGroup;
    /// Reads the subsystems of `groups`, leaving out, when it reads all rows at once, the groups
    /// whose rows are those held. None when `progress` stopped it.
    std::optional<SubSystemRows> ReadSubSystems(const std::vector<int32_t>& groups,
                                                const ProgressStep& progress) const;
    /// A group's row, which takes its subsystems' rows out of `subSystems` when they are there.
    static std::unique_ptr<Group> NewGroup(subsysmgr::exchange::TreeReader::CachedGroup cached,
                                           SubSystemRows& subSystems);
    /// Brings the rows to `fresh`, signalling each change unless a reset is under way. A new
    /// group takes its rows out of `subSystems` when they are there.
    void SyncGroups(std::vector<subsysmgr::exchange::TreeReader::CachedGroup> fresh,
                    SubSystemRows& subSystems, bool announce);
    void SyncSubSystems(Group& group, std::vector<StoredSubSystem> fresh, bool announce);
    void ApplyFilter();
    /// Groups by identifier; none: every group.
    using GroupSet = std::optional<std::unordered_set<int32_t>>;
    /// Resets the model around `change` (a new filter or viewer) and applies it; the groups of
    /// `groups` not read yet read their subsystems first, under `progress`. False, the model
    /// untouched, when `progress` stopped the read.
    bool ChangeShown(const GroupSet& groups, const ProgressStep& progress,
                     const std::function<void()>& change);

    std::vector<std::unique_ptr<Group>> groups_;  // in display order
    std::vector<Group*> shownGroups_;             // the groups the filter shows
    std::unordered_map<int32_t, Group*> groupsById_;
    std::string language_ = "CHS";
    QString filterText_;
    int matchCount_ = 0;
    TreeFilter filter_;
};

}  // namespace quarn::designer
