#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "TreeRows.h"
#include "host/ITreeSearch.h"
#include "model/Visibility.h"

namespace quarn::designer {

/// What the tree shows under a search and a preview, either of which may be off. The search
/// shows the groups and subsystems that the store found for its text (ITreeSearch: code, or name
/// in any language, letters in any case), with their groups; a group that matches keeps all its
/// subsystems. The preview shows only what one viewer is shown (subsysmgr::IsShown).
class TreeFilter {
  public:
    /// `text`: UTF-8 without leading or trailing blanks, empty for no search; `found`: what the
    /// store's search found for it.
    void Search(std::string text, const std::vector<TreeMatch>& found);
    /// None for no preview.
    void ShowTo(std::optional<subsysmgr::Viewer> viewer) { viewer_ = viewer; }
    const std::optional<subsysmgr::Viewer>& ShownTo() const { return viewer_; }
    bool Searching() const { return !text_.empty(); }
    /// Under a search or a preview, which show only some of the tree.
    bool Narrows() const { return Searching() || viewer_.has_value(); }

    /// Whether the search found the item; false without a search.
    bool Matches(const TreeItemRef& item) const;
    /// The groups the search found or found subsystems of: those whose subsystems it shows.
    const std::unordered_set<int32_t>& FoundGroups() const { return foundGroups_; }

    /// What the tree shows of one group.
    struct GroupView {
        bool shown = false;       // at all; under a search: it or one of its subsystems matched
        bool matched = false;     // the search matched the group itself
        bool hasMatches = false;  // the search matched some of its subsystems
        bool narrowed = false;    // only the subsystems at `subSystems` are shown, else all
        std::vector<uint32_t> subSystems;
        int matches = 0;  // the group and subsystems matched
    };
    /// Puts into `view` (reusing its memory) what is shown of `group`, whose subsystems are
    /// `subSystems` in display order.
    void Narrow(const StoredGroup& group, const std::vector<StoredSubSystem>& subSystems,
                GroupView& view) const;

  private:
    std::string text_;
    std::unordered_set<int32_t> groups_;       // found themselves
    std::unordered_set<int32_t> subSystems_;   // found
    std::unordered_set<int32_t> foundGroups_;  // found, or with subsystems found
    std::optional<subsysmgr::Viewer> viewer_;
};

}  // namespace quarn::designer
