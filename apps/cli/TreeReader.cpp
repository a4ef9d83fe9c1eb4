#include "TreeReader.h"

#include <algorithm>
#include <string>

#include "foundation/Dictionary.h"
#include "foundation/Recordset.h"
#include "foundation/Vector.h"

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

std::vector<GroupNode> TreeReader::Tree() {
    SubSysGroup reader(module_);
    const VectorPtr listing = reader.GetAllSubSysGroup();
    std::vector<GroupNode> tree;
    for (const Variant& entry : listing->Items()) {
        if (!reader.initial(entry.AsDictionary()->Item("ID").ToInt32())) {
            continue;
        }
        GroupNode node{ItemOf(reader), {}};
        reader.GetSubSystem(0, false);  // fills the collection with every subsystem
        if (const auto subSystems = reader.SubSystems()) {
            for (const SubSystemPtr& subSystem : *subSystems) {
                node.subSystems.push_back(ItemOf(*subSystem));
            }
        }
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
    const RecordsetPtr all = group->GetAllSubSystem();
    all->Filter("FSubSysID=" + std::to_string(id));
    const bool found = !all->Eof();
    const int32_t groupId = found ? all->Fields("FTopClassID").ToInt32() : 0;
    all->Close();
    if (!found || !group->initial(groupId)) {
        return std::nullopt;
    }
    SubSystemPtr subSystem = group->GetSubSystem(id, false);
    if (!subSystem) {
        return std::nullopt;
    }
    return Loaded{std::move(group), std::move(subSystem)};
}

}  // namespace quarn::subsysmgr::cli
