#include "FunctionalTree.h"

#include <algorithm>
#include <map>
#include <vector>

#include "DesignerTexts.h"
#include "model/SubSysGroup.h"
#include "model/SubSystem.h"
#include "runtime/LocalText.h"
#include "runtime/SessionContext.h"
#include "ui/QtText.h"

namespace quarn::designer {

using subsysmgr::GetLocalText;
using subsysmgr::ModuleState;
using subsysmgr::ToQString;

namespace {

QString Tr(std::string_view text) {
    return ToQString(GetLocalText(*ModuleState::Current(), text));
}

// The key of a group listing entry that holds the name in the session language.
std::string GroupNameKey() {
    const std::string language = subsysmgr::GetLanguageOrDefault(*ModuleState::Current());
    return language == "CHT" ? "FTopClassName_CHT" : language == "EN" ? "FTopClassName_EN" : "Name";
}

std::string SubSystemNameColumn() {
    const std::string language = subsysmgr::GetLanguageOrDefault(*ModuleState::Current());
    return language == "CHT" ? "FName_CHT" : language == "EN" ? "FName_EN" : "FName_CHS";
}

QTreeWidgetItem* NewItem(const QString& text, ItemKind kind, int32_t id, int32_t groupId = 0) {
    auto* item = new QTreeWidgetItem(QStringList{text});
    item->setData(0, kKindRole, static_cast<int>(kind));
    item->setData(0, kIdRole, id);
    item->setData(0, kGroupIdRole, groupId);
    return item;
}

QString Labelled(int32_t id, const std::string& name) {
    return QStringLiteral("%1  %2").arg(id).arg(ToQString(name));
}

struct SubSystemEntry {
    int32_t index;
    int32_t id;
    std::string name;
};

}  // namespace

TreeCounts FillFunctionalTree(QTreeWidget& tree,
                              const std::function<bool(int done, int total)>& progress) {
    tree.clear();
    subsysmgr::SubSysGroup lister;
    const VectorPtr groups = lister.GetAllSubSysGroup();

    // All subsystems at once, bucketed by group and ordered by their display index.
    std::map<int32_t, std::vector<SubSystemEntry>> subSystemsByGroup;
    const RecordsetPtr all = lister.GetAllSubSystem();
    const std::string nameColumn = SubSystemNameColumn();
    TreeCounts counts;
    for (; !all->Eof(); all->MoveNext()) {
        subSystemsByGroup[all->Fields("FTopClassID").ToInt32()].push_back(
            {all->Fields("FIndex").ToInt32(), all->Fields("FSubSysID").ToInt32(),
             all->Fields(nameColumn).TextOrEmpty()});
    }
    all->Close();

    const std::string nameKey = GroupNameKey();
    const int total = static_cast<int>(groups->Count());
    for (int done = 0; done < total; ++done) {
        if (!progress(done, total)) {
            break;
        }
        const DictionaryPtr group = groups->Item(static_cast<std::size_t>(done)).AsDictionary();
        const int32_t groupId = group->Item("ID").ToInt32();
        auto* groupItem = NewItem(Labelled(groupId, group->Item(nameKey).TextOrEmpty()),
                                  ItemKind::Group, groupId);
        auto& children = subSystemsByGroup[groupId];
        std::stable_sort(children.begin(), children.end(),
                         [](const SubSystemEntry& a, const SubSystemEntry& b) {
                             return std::tie(a.index, a.id) < std::tie(b.index, b.id);
                         });
        for (const SubSystemEntry& child : children) {
            auto* item =
                NewItem(Labelled(child.id, child.name), ItemKind::SubSystem, child.id, groupId);
            item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
            groupItem->addChild(item);
            ++counts.subSystems;
        }
        tree.addTopLevelItem(groupItem);
        ++counts.groups;
    }
    progress(total, total);
    return counts;
}

ExpandedItems ExpandedItemsOf(const QTreeWidget& tree) {
    ExpandedItems expanded;
    for (int i = 0; i < tree.topLevelItemCount(); ++i) {
        const QTreeWidgetItem* group = tree.topLevelItem(i);
        if (!group->isExpanded()) {
            continue;
        }
        expanded.groups.insert(group->data(0, kIdRole).toInt());
        for (int j = 0; j < group->childCount(); ++j) {
            if (group->child(j)->isExpanded()) {
                expanded.subSystems.insert(group->child(j)->data(0, kIdRole).toInt());
            }
        }
    }
    return expanded;
}

void Expand(QTreeWidget& tree, const ExpandedItems& items) {
    for (int i = 0; i < tree.topLevelItemCount(); ++i) {
        QTreeWidgetItem* group = tree.topLevelItem(i);
        if (!items.groups.contains(group->data(0, kIdRole).toInt())) {
            continue;
        }
        group->setExpanded(true);
        for (int j = 0; j < group->childCount(); ++j) {
            if (items.subSystems.contains(group->child(j)->data(0, kIdRole).toInt())) {
                group->child(j)->setExpanded(true);
            }
        }
    }
}

void ExpandBusinessObjects(QTreeWidgetItem& subSystemItem) {
    if (subSystemItem.childCount() > 0) {
        return;
    }
    const auto subSystem = subsysmgr::SubSystem::Create();
    subSystem->CancelCheck(true);
    subSystem->Id(subSystemItem.data(0, kIdRole).toInt());
    const VectorPtr kinds = subSystem->GetAllBusObject();
    // The last entry carries every kind.
    const DictionaryPtr all = kinds->Item(kinds->Count() - 1).AsDictionary();
    const int32_t id = subSystemItem.data(0, kIdRole).toInt();

    auto addEntries = [&](QTreeWidgetItem* kindItem, const VectorPtr& entries) {
        for (const Variant& entry : entries->Items()) {
            const DictionaryPtr object = entry.AsDictionary();
            kindItem->addChild(NewItem(
                Labelled(object->Item("FID").ToInt32(), object->Item("FName").TextOrEmpty()),
                ItemKind::BusinessObject, object->Item("FID").ToInt32(), id));
        }
    };
    const struct {
        const char* key;
        std::string_view caption;
    } kinds_[] = {{"TBASE", texts::kBaseTypes},
                  {"TBILL", texts::kBills},
                  {"TMULTICHECK", texts::kMultiChecks},
                  {"TFLOW", texts::kWorkFlows}};
    for (const auto& kind : kinds_) {
        const VectorPtr entries = all->Item(kind.key).AsVector();
        if (!entries || entries->Count() == 0) {
            continue;
        }
        auto* kindItem = NewItem(Tr(kind.caption), ItemKind::BusinessObjects, id);
        addEntries(kindItem, entries);
        subSystemItem.addChild(kindItem);
    }
    // Reports come as one dictionary of three lists, as the report service lists them.
    const VectorPtr reports = all->Item("TREPORT").AsVector();
    if (reports && reports->Count() > 0) {
        auto* kindItem = NewItem(Tr(texts::kReports), ItemKind::BusinessObjects, id);
        for (const auto& [key, list] : reports->Item(0).AsDictionary()->Entries()) {
            addEntries(kindItem, list.AsVector());
        }
        if (kindItem->childCount() > 0) {
            subSystemItem.addChild(kindItem);
        } else {
            delete kindItem;
        }
    }
    if (subSystemItem.childCount() == 0) {
        subSystemItem.setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicator);
    }
}

}  // namespace quarn::designer
