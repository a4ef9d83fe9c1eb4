#pragma once

#include <cstdint>
#include <string_view>

namespace quarn::subsysmgr {

class SubSysGroup;
class SubSystem;

/// The two consoles that show the functional tree.
enum class Console { Main, Web };

/// Who looks at the tree: a user of an account type in one of the consoles.
struct Viewer {
    int32_t accountType = 0;
    Console console = Console::Main;
};

/// What of a group or subsystem decides whether it is shown.
struct ShownFields {
    /// Shown in the main console (FVisible).
    bool visible = false;
    /// Shown in the web console (FShowSysType bit 2).
    bool web = false;
    /// The account types as stored: ",1,3,".
    std::string_view accountTypes;
};

/// The fields of a business object; they refer to its account types, which must outlive them.
ShownFields ShownFieldsOf(const SubSysGroup& group);
ShownFields ShownFieldsOf(const SubSystem& subSystem);

/// Whether a group (or an item, by its own fields) is shown to the viewer: its flag for the
/// viewer's console is set and its account types hold the viewer's. A list that names no account
/// type restricts none: items delivered for every account type (reports, the cockpit) store none,
/// while the editors save no item of ours without one.
bool IsShown(const ShownFields& item, const Viewer& viewer);
/// Whether a subsystem is shown to the viewer: by its own fields, and only under a group that
/// is shown.
bool IsShown(const ShownFields& subSystem, const ShownFields& group, const Viewer& viewer);

}  // namespace quarn::subsysmgr
