#pragma once

#include <string_view>

#include "model/EditorInput.h"
#include "runtime/LocalizedError.h"

/// Every text the subsystem editor shows, in its source language. Each is its own
/// resource key and is localized when the dialog loads or the error is raised.
namespace quarn::subsysmgr::subsystem_editor {

inline constexpr std::string_view kCaption = "子系统信息维护";

// Field captions.
inline constexpr std::string_view kIdCaption = "子系统代码";
inline constexpr std::string_view kIndexCaption = "子系统序号";
inline constexpr std::string_view kNumberCaption = "子系统代号";
inline constexpr std::string_view kNameCaption = "子系统名称";
inline constexpr std::string_view kNameCHTCaption = "子系统名称(繁体)";
inline constexpr std::string_view kNameENCaption = "子系统名称(英文)";
inline constexpr std::string_view kGroupCaption = "所属分组";
inline constexpr std::string_view kVisibleCaption = "在Quarn主控台可见";
inline constexpr std::string_view kWebCaption = "在Web主控台可见";
inline constexpr std::string_view kFitAcctCaption = "适应的账套类型：";
inline constexpr std::string_view kSaveCaption = "保存(&S)";
inline constexpr std::string_view kCancelCaption = "取消(&C)";

// Errors of the save checks.
inline constexpr ErrorDefinition kNoAccountType{1015, "SubSystem.Save",
                                                "子系统应该至少属于一种账套类型！"};
inline constexpr ErrorDefinition kCodeExists{1011, "SubSystem.Save",
                                             "指定的子系统代码已存在，请重新指定！"};
inline constexpr ErrorDefinition kNameEmpty{1009, "SubSystem.Save", "必须录入子系统名称！"};
inline constexpr ErrorDefinition kNameCHTEmpty{1019, "SubSystem.Save",
                                               "必须录入子系统名称(繁体)！"};
inline constexpr ErrorDefinition kNameENEmpty{1029, "SubSystem.Save", "必须录入子系统名称(英文)！"};
/// The store refused the write (the group's Save reports it only by its result); the
/// transaction was rolled back, so nothing changed.
inline constexpr ErrorDefinition kNotSaved{1041, "SubSystem.Save",
                                           "保存子系统失败，未写入任何数据！"};

// Templates of a forbidden character (offset 1009, source "SAVE"); %1 is the character.
inline constexpr std::string_view kForbiddenInNumber = "录入的子系统代号中不允许包含字符 %1 !";
inline constexpr std::string_view kForbiddenInName = "录入的子系统名称中不允许包含字符 %1 !";
inline constexpr std::string_view kForbiddenInNameCHT =
    "录入的子系统名称中不允许包含字符(繁体) %1 !";
inline constexpr std::string_view kForbiddenInNameEN =
    "录入的子系统名称中不允许包含字符(英文) %1 !";

/// A short code that is not UTF-8 or holds a control character.
inline constexpr ErrorDefinition kNumberNotText{1040, "SubSystem.Number",
                                                "输入的子系统代号不是有效的文本！"};

/// The field each error of the save names, where the focus goes. Every forbidden character
/// (1009) names the simplified name, whichever field holds it.
inline constexpr ErrorField kErrorFields[] = {
    {1001, InputField::Id},
    {1011, InputField::Id},
    {1009, InputField::NameCHS},
    {1013, InputField::NameCHS},
    {1015, InputField::AccountTypes},
    {1019, InputField::NameCHT},
    {1023, InputField::NameCHT},
    {1029, InputField::NameEN},
    {1033, InputField::NameEN},
    {1040, kCheckedField},
    {kOutOfRange.offset, InputField::Index},
    {kTooLong.offset, kCheckedField},
    {kAccountTypeNotOffered.offset, InputField::AccountTypes},
};

}  // namespace quarn::subsysmgr::subsystem_editor
