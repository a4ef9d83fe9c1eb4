#pragma once

#include <string_view>

#include "model/EditorInput.h"
#include "model/ModelErrors.h"

/// Every text the subsystem editor shows, in its source language, but its errors
/// (ModelErrors.h). Each is its own resource key and is localized when the dialog loads.
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

/// The field each error of the save names, where the focus goes. Every forbidden character
/// (1009) names the simplified name, whichever field holds it.
inline constexpr ErrorField kErrorFields[] = {
    {errors::kSubSystemIdOutOfRange.offset, InputField::Id},
    {errors::kSubSystemCodeExists.offset, InputField::Id},
    {errors::kSubSystemNameEmpty.offset, InputField::NameCHS},
    {errors::kSubSystemNameTaken.offset, InputField::NameCHS},
    {errors::kSubSystemNoAccountType.offset, InputField::AccountTypes},
    {errors::kSubSystemNameCHTEmpty.offset, InputField::NameCHT},
    {errors::kSubSystemNameCHTTaken.offset, InputField::NameCHT},
    {errors::kSubSystemNameENEmpty.offset, InputField::NameEN},
    {errors::kSubSystemNameENTaken.offset, InputField::NameEN},
    {errors::kSubSystemNameNotText.offset, kCheckedField},
    {errors::kOutOfRange.offset, InputField::Index},
    {errors::kTooLong.offset, kCheckedField},
    {errors::kAccountTypeNotOffered.offset, InputField::AccountTypes},
};

}  // namespace quarn::subsysmgr::subsystem_editor
