#include "TreeFilter.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <string_view>

namespace quarn::designer {

namespace {

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

// The fields that decide who is shown an item; `types` holds its account types in their stored
// form for as long as the fields are used.
template <class Item>
subsysmgr::ShownFields ShownFieldsOf(const Item& item, std::string& types) {
    types = subsysmgr::exchange::FormatAccountTypes(item.accountTypes);
    return {item.visible, item.web, types};
}

}  // namespace

void TreeFilter::Search(std::string text) {
    folded_ = std::move(text);
    std::transform(folded_.begin(), folded_.end(), folded_.begin(), Folded);
    hasLetters_ =
        std::any_of(folded_.begin(), folded_.end(), [](char c) { return c >= 'a' && c <= 'z'; });
    isCode_ =
        std::all_of(folded_.begin(), folded_.end(), [](char c) { return c >= '0' && c <= '9'; });
    // Digits without a leading zero are compared as a number (0 for none).
    number_ = 0;
    modulus_ = 1;
    if (isCode_ && !folded_.empty() && folded_.size() <= 9 && folded_.front() != '0') {
        for (const char digit : folded_) {
            number_ = number_ * 10 + (digit - '0');
            modulus_ *= 10;
        }
    }
}

bool TreeFilter::Matches(int32_t id, const subsysmgr::exchange::Names& names) const {
    return Searching() && Found(id, names);
}

bool TreeFilter::Found(int32_t id, const subsysmgr::exchange::Names& names) const {
    if (number_ > 0) {
        // The code's decimal digits contain the text's: some tail of the code, cut after a
        // digit, ends in them. Cheaper than writing the code out for each item.
        for (int64_t code = id; code >= number_; code /= 10) {
            if (code % modulus_ == number_) {
                return true;
            }
        }
    } else if (isCode_) {
        char code[16];
        const auto written = std::to_chars(std::begin(code), std::end(code), id);
        if (std::string_view(code, static_cast<std::size_t>(written.ptr - code)).find(folded_) !=
            std::string_view::npos) {
            return true;
        }
    }
    if (hasLetters_) {
        return ContainsFolded(names.chs, folded_) || ContainsFolded(names.cht, folded_) ||
               ContainsFolded(names.en, folded_);
    }
    return names.chs.find(folded_) != std::string::npos ||
           names.cht.find(folded_) != std::string::npos ||
           names.en.find(folded_) != std::string::npos;
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
    const bool matched = searching && Found(group.item.id, group.item.names);
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
        const bool match = searching && Found(subSystem.id, subSystem.names);
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
