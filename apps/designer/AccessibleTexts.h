#pragma once

#include <string_view>

/// What the designer tells screen readers beyond what it shows, in the component's source
/// language; each is its own resource key, as the texts of DesignerTexts.h are.
namespace quarn::designer::texts {

inline constexpr std::string_view kTreeName = "功能树";
// A row of the tree read as a whole: its kind, code and name.
inline constexpr std::string_view kGroupRow = "分组 %1 %2";
inline constexpr std::string_view kSubSystemRow = "子系统 %1 %2";
inline constexpr std::string_view kBusinessObjectRow = "业务对象 %1 %2";
// What kind of item a row is, and whether the search found it.
inline constexpr std::string_view kKindOfObjects = "业务对象类别";
inline constexpr std::string_view kBusinessObject = "业务对象";
inline constexpr std::string_view kSearchMatch = "符合查找条件";

}  // namespace quarn::designer::texts
