#pragma once

#include <string_view>

#include "model/EditorInput.h"
#include "model/ModelErrors.h"

/// Every text the group editor shows, in its source language, but its errors (ModelErrors.h).
/// Each is its own resource key and is localized when the dialog loads.
namespace quarn::subsysmgr::group_editor {

// Dialog captions: the design caption says edit; the load sets the mode's one.
inline constexpr std::string_view kCaptionEdit = "子系统分组信息管理(修改)";
inline constexpr std::string_view kCaptionAdd = "子系统分组信息管理(新增)";

// Field captions and tooltips.
inline constexpr std::string_view kIdCaption = "子系统分组代码";
inline constexpr std::string_view kIdToolTip = "子系统分组代码，在Quarn系统中唯一";
inline constexpr std::string_view kIndexCaption = "子系统分组序号";
inline constexpr std::string_view kIndexToolTip = "在主控台出现的位置编号";
inline constexpr std::string_view kNameCaption = "子系统分组名称";
inline constexpr std::string_view kNameCHTCaption = "子系统分组名称(繁体)";
inline constexpr std::string_view kNameENCaption = "子系统分组名称(英文)";
inline constexpr std::string_view kVisibleCaption = "在Quarn主控台可见";
inline constexpr std::string_view kWebCaption = "在Web主控台可见";
inline constexpr std::string_view kFitAcctCaption = "适应的账套类型：";
inline constexpr std::string_view kSaveCaption = "保存(&S)";
inline constexpr std::string_view kCancelCaption = "取消(&C)";

/// The field each error of the save names, where the focus goes; a forbidden character (1009)
/// leaves the focus where it is.
inline constexpr ErrorField kErrorFields[] = {
    {errors::kGroupIdOutOfRange.offset, InputField::Id},
    {errors::kGroupCodeExists.offset, InputField::Id},
    {errors::kGroupNameEmpty.offset, InputField::NameCHS},
    {errors::kGroupNameTaken.offset, InputField::NameCHS},
    {errors::kGroupNoAccountType.offset, InputField::AccountTypes},
    {errors::kGroupNameCHTEmpty.offset, InputField::NameCHT},
    {errors::kGroupNameCHTTaken.offset, InputField::NameCHT},
    {errors::kGroupNameENEmpty.offset, InputField::NameEN},
    {errors::kGroupNameENTaken.offset, InputField::NameEN},
    {errors::kGroupNameNotText.offset, kCheckedField},
    {errors::kOutOfRange.offset, InputField::Index},
    {errors::kTooLong.offset, kCheckedField},
    {errors::kAccountTypeNotOffered.offset, InputField::AccountTypes},
};

}  // namespace quarn::subsysmgr::group_editor
