#include "TreeFilter.h"

namespace quarn::designer {

namespace {

// The fields that decide who is shown an item; `types` holds its account types in their stored
// form for as long as the fields are used.
template <class Item>
subsysmgr::ShownFields ShownFieldsOf(const Item& item, std::string& types) {
    types = subsysmgr::exchange::FormatAccountTypes(item.accountTypes);
    return {item.visible, item.web, types};
}

}  // namespace

void TreeFilter::Search(std::string text, const std::vector<TreeMatch>& found) {
    text_ = std::move(text);
    groups_.clear();
    subSystems_.clear();
    foundGroups_.clear();
    for (const TreeMatch& match : found) {
        (match.item.kind == TreeItemRef::Kind::Group ? groups_ : subSystems_).insert(match.item.id);
        foundGroups_.insert(match.group);
    }
}

bool TreeFilter::Matches(const TreeItemRef& item) const {
    return Searching() &&
           (item.kind == TreeItemRef::Kind::Group ? groups_ : subSystems_).count(item.id) > 0;
}

// Counted in locals and stored once: the loop runs over every subsystem of the tree.
void TreeFilter::Narrow(const StoredGroup& group, const std::vector<StoredSubSystem>& subSystems,
                        GroupView& view) const {
    view.subSystems.clear();
    view.matched = false;
    view.hasMatches = false;
    view.narrowed = false;
    view.matches = 0;
    view.shown = !Narrows();
    if (!Narrows()) {
        return;
    }
    std::string groupTypes;
    const subsysmgr::ShownFields groupFields =
        viewer_ ? ShownFieldsOf(group.item, groupTypes) : subsysmgr::ShownFields{};
    if (viewer_ && !subsysmgr::IsShown(groupFields, *viewer_)) {
        return;
    }
    const bool searching = Searching();
    const bool matched = searching && groups_.count(group.item.id) > 0;
    // A group that the search matches keeps the subsystems that the preview shows.
    const bool all = !searching || matched;
    const bool narrowed = viewer_ || !all;
    bool hasMatches = false;
    int matches = matched ? 1 : 0;
    std::string types;
    for (std::size_t n = 0; n < subSystems.size(); ++n) {
        const subsysmgr::exchange::SubSystemItem& subSystem = subSystems[n].item;
        if (viewer_ &&
            !subsysmgr::IsShown(ShownFieldsOf(subSystem, types), groupFields, *viewer_)) {
            continue;
        }
        const bool match = searching && subSystems_.count(subSystem.id) > 0;
        hasMatches = hasMatches || match;
        matches += match ? 1 : 0;
        if (narrowed && (all || match)) {
            view.subSystems.push_back(static_cast<uint32_t>(n));
        }
    }
    view.matched = matched;
    view.hasMatches = hasMatches;
    view.narrowed = narrowed;
    view.matches = matches;
    view.shown = !searching || matched || hasMatches;
}

}  // namespace quarn::designer
