#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "TreeRows.h"
#include "model/Visibility.h"

namespace quarn::designer {

/// What the tree shows under a search and a preview, either of which may be off. The search
/// shows the groups and subsystems whose code, or name in any language, contains its text (ASCII
/// letters compared without regard to case), with their groups; a group that matches keeps all
/// its subsystems. The preview shows only what one viewer is shown (subsysmgr::IsShown).
class TreeFilter {
  public:
    /// `text`: UTF-8 without leading or trailing blanks; empty for no search.
    void Search(std::string text);
    /// None for no preview.
    void ShowTo(std::optional<subsysmgr::Viewer> viewer) { viewer_ = viewer; }
    const std::optional<subsysmgr::Viewer>& ShownTo() const { return viewer_; }
    bool Searching() const { return !folded_.empty(); }
    /// Under a search or a preview, which show only some of the tree.
    bool Narrows() const { return Searching() || viewer_.has_value(); }

    /// Whether the search finds its text in the item's code or one of its names; false without
    /// a search.
    bool Matches(int32_t id, const subsysmgr::exchange::Names& names) const;

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
    /// Matches without asking whether there is a search.
    bool Found(int32_t id, const subsysmgr::exchange::Names& names) const;

    std::string folded_;       // the text, ASCII letters in lower case
    bool hasLetters_ = false;  // else a plain search finds what a folded one would
    bool isCode_ = false;      // only digits, which a code may contain
    int64_t number_ = 0;       // those digits as a number, when they have no leading zero
    int64_t modulus_ = 1;      // 10 to the number of those digits
    std::optional<subsysmgr::Viewer> viewer_;
};

}  // namespace quarn::designer
