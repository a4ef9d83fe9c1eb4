#include "model/Visibility.h"

#include <string>

#include "model/SubSysGroup.h"
#include "model/SubSystem.h"

namespace quarn::subsysmgr {

ShownFields ShownFieldsOf(const SubSysGroup& group) {
    return ShownFields{group.Visible(), group.WebVisible(), group.FitAccountType()};
}

ShownFields ShownFieldsOf(const SubSystem& subSystem) {
    return ShownFields{subSystem.Visible(), subSystem.WebVisible(), subSystem.FitAccountType()};
}

bool IsShown(const ShownFields& item, const Viewer& viewer) {
    const bool flag = viewer.console == Console::Web ? item.web : item.visible;
    if (item.accountTypes.find_first_not_of(", ") == std::string_view::npos) {
        return flag;
    }
    // Membership as the editors tick a stored list's account types.
    const std::string entry = "," + std::to_string(viewer.accountType) + ",";
    return flag && item.accountTypes.find(entry) != std::string_view::npos;
}

bool IsShown(const ShownFields& subSystem, const ShownFields& group, const Viewer& viewer) {
    return IsShown(group, viewer) && IsShown(subSystem, viewer);
}

}  // namespace quarn::subsysmgr
