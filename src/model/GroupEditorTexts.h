#pragma once

#include <string_view>

#include "model/EditorInput.h"
#include "runtime/LocalizedError.h"

/// Every text the group editor shows, in its source language. Each is its own
/// resource key and is localized when the dialog loads or the error is raised.
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

// Errors of the save checks.
inline constexpr ErrorDefinition kNoAccountType{1016, "SubSysGroup.Save",
                                                "子系统分组应该至少属于一种账套类型！"};
inline constexpr ErrorDefinition kCodeExists{1012, "SubSysGroup.Save",
                                             "指定的分组代码已存在，请重新指定！"};
inline constexpr ErrorDefinition kNameEmpty{1010, "SubSysGroup.Save", "必须录入分组名称！"};
inline constexpr ErrorDefinition kNameCHTEmpty{1020, "SubSysGroup.Save",
                                               "必须录入分组名称(繁体)！"};
inline constexpr ErrorDefinition kNameENEmpty{1030, "SubSysGroup.Save", "必须录入分组名称(英文)！"};

// Templates of a forbidden character (offset 1009, source "SAVE"); %1 is the character.
inline constexpr std::string_view kForbiddenInName = "录入的分组名称中不允许包含字符 %1 !";
inline constexpr std::string_view kForbiddenInNameCHT = "录入的分组名称中不允许包含字符(繁体) %1 !";
inline constexpr std::string_view kForbiddenInNameEN = "录入的分组名称中不允许包含字符(英文) %1 !";

/// The field each error of the save names, where the focus goes; a forbidden character (1009)
/// leaves the focus where it is.
inline constexpr ErrorField kErrorFields[] = {
    {1007, InputField::Id},
    {1012, InputField::Id},
    {1010, InputField::NameCHS},
    {1014, InputField::NameCHS},
    {1016, InputField::AccountTypes},
    {1020, InputField::NameCHT},
    {1024, InputField::NameCHT},
    {1030, InputField::NameEN},
    {1034, InputField::NameEN},
    {1040, kCheckedField},
    {kOutOfRange.offset, InputField::Index},
    {kTooLong.offset, kCheckedField},
    {kAccountTypeNotOffered.offset, InputField::AccountTypes},
};

}  // namespace quarn::subsysmgr::group_editor
