#pragma once

#include <string_view>

/// The labels of the editors' fields as the dialogs show them: the field's caption with its access
/// key, which Alt and the key move the focus to. Each is its own resource key; a Chinese label
/// names its key in brackets after the text, as Chinese programs do. Where a field is named to the
/// user elsewhere (the command line, the designer's panes) its caption without a key is used.
namespace quarn::subsysmgr::field_labels {

// Both editors.
inline constexpr std::string_view kVisible = "在Quarn主控台可见(&Q)";
inline constexpr std::string_view kWeb = "在Web主控台可见(&W)";
inline constexpr std::string_view kAccountTypes = "适应的账套类型(&A)：";

// The group editor.
inline constexpr std::string_view kGroupId = "子系统分组代码(&D)";
inline constexpr std::string_view kGroupIndex = "子系统分组序号(&O)";
inline constexpr std::string_view kGroupName = "子系统分组名称(&N)";
inline constexpr std::string_view kGroupNameCHT = "子系统分组名称(繁体)(&T)";
inline constexpr std::string_view kGroupNameEN = "子系统分组名称(英文)(&E)";

// The subsystem editor.
inline constexpr std::string_view kSubSystemId = "子系统代码(&D)";
inline constexpr std::string_view kSubSystemIndex = "子系统序号(&O)";
inline constexpr std::string_view kSubSystemNumber = "子系统代号(&H)";
inline constexpr std::string_view kSubSystemName = "子系统名称(&N)";
inline constexpr std::string_view kSubSystemNameCHT = "子系统名称(繁体)(&T)";
inline constexpr std::string_view kSubSystemNameEN = "子系统名称(英文)(&E)";
inline constexpr std::string_view kSubSystemGroup = "所属分组(&G)";

}  // namespace quarn::subsysmgr::field_labels
