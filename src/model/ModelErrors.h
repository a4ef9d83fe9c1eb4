#pragma once

#include <array>

#include "runtime/LocalizedError.h"

/// Every numbered error of the business objects: offset above the object-error base, source and
/// message (its own resource key, localized when raised).
namespace quarn::subsysmgr::errors {

// Group loading and listing.
inline constexpr ErrorDefinition kGroupLoadFailed{1004, "SubSysGroup.initial",
                                                  "Get System Group Failed."};
inline constexpr ErrorDefinition kGroupListFailed{1004, "SubSysGroup.GetAllSubSysGroup",
                                                  "取子系统分组信息失败。"};

// Group field rules.
inline constexpr ErrorDefinition kGroupNotDeletable{1006, "SubSysGroup.Deleted",
                                                    "Quarn 预设的子系统分组不允许删除！"};
inline constexpr ErrorDefinition kGroupIdOutOfRange{
    1007, "SubSysGroup.ID", "被新增修改的子系统分组的代码值范围应该是（800~899）！"};
inline constexpr ErrorDefinition kGroupNotModifiable{1008, "SubSysGroup.Modified",
                                                     "Quarn 预设的子系统分组不允许修改！"};
inline constexpr ErrorDefinition kGroupNameTaken{1014, "SubSysGroup.Name",
                                                 "输入的子系统分组名称已存在,请重新指定！"};
inline constexpr ErrorDefinition kGroupNameCHTTaken{
    1024, "SubSysGroup.Name", "输入的子系统分组名称(繁体)已存在,请重新指定！"};
inline constexpr ErrorDefinition kGroupNameENTaken{
    1034, "SubSysGroup.Name", "输入的子系统分组名称(英文)已存在,请重新指定！"};
/// A name that is not valid UTF-8 is refused rather than stored.
inline constexpr ErrorDefinition kGroupNameNotText{1040, "SubSysGroup.Name",
                                                   "输入的子系统分组名称不是有效的文本！"};

inline constexpr std::array kAll{
    kGroupLoadFailed,    kGroupListFailed,   kGroupNotDeletable, kGroupIdOutOfRange,
    kGroupNotModifiable, kGroupNameTaken,    kGroupNameCHTTaken, kGroupNameENTaken,
    kGroupNameNotText,
};

}  // namespace quarn::subsysmgr::errors
