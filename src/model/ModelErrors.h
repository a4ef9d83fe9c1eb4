#pragma once

#include <array>
#include <exception>

#include "quarn/foundation/ComError.h"
#include "quarn/runtime/LocalizedError.h"

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
inline constexpr ErrorDefinition kGroupNameENTaken{1034, "SubSysGroup.Name",
                                                   "输入的子系统分组名称(英文)已存在,请重新指定！"};
/// A name that is not valid UTF-8 is refused rather than stored.
inline constexpr ErrorDefinition kGroupNameNotText{1040, "SubSysGroup.Name",
                                                   "输入的子系统分组名称不是有效的文本！"};

/// Save found the stored group changed or deleted by someone else since it was read; nothing
/// was written. The store's reason (when, by whom) follows the message.
inline constexpr ErrorDefinition kGroupChangedElsewhere{
    1042, "SubSysGroup.Save", "子系统分组已被其他用户修改或删除，请重新载入后再保存。"};

// Group's subsystem collection.
inline constexpr ErrorDefinition kFillFailed{1005, "SubSysGroup.FillSubSystem",
                                             "创建子系统集合错误。"};

// Subsystem field rules.
inline constexpr ErrorDefinition kSubSystemIdOutOfRange{
    1001, "SubSystem.ID", "被新增修改的子系统的代码值范围应该是（8000~8999）！"};
inline constexpr ErrorDefinition kSubSystemIdTaken{1001, "SubSystem.ID",
                                                   "子系统代码已存在,请重新指定！"};
inline constexpr ErrorDefinition kSubSystemNotModifiable{1002, "SubSystem.Modified",
                                                         "Quarn 预设的子系统不允许修改！"};
inline constexpr ErrorDefinition kSubSystemNotDeletable{1003, "SubSystem.Deleted",
                                                        "Quarn 预设的子系统不允许删除！"};
inline constexpr ErrorDefinition kSubSystemHasSubFunctions{
    1003, "SubSystem.Deleted", "子系统中存在附属的子功能时不允许删除！"};
inline constexpr ErrorDefinition kSubSystemNameTaken{1013, "SubSystem.Name",
                                                     "子系统名称已存在,请重新指定！"};
inline constexpr ErrorDefinition kSubSystemNameCHTTaken{1023, "SubSystem.Name",
                                                        "子系统名称(繁体)已存在,请重新指定！"};
inline constexpr ErrorDefinition kSubSystemNameENTaken{1033, "SubSystem.Name",
                                                       "子系统名称(英文)已存在,请重新指定！"};
/// A name that is not valid UTF-8 is refused rather than stored.
inline constexpr ErrorDefinition kSubSystemNameNotText{1040, "SubSystem.Name",
                                                       "输入的子系统名称不是有效的文本！"};

/// Save found the stored subsystem changed or deleted by someone else since it was read.
inline constexpr ErrorDefinition kSubSystemChangedElsewhere{
    1042, "SubSystem.Save", "子系统已被其他用户修改或删除，请重新载入后再保存。"};

/// Rethrows `failure` when it is another user's change (1042): its message, with when and by
/// whom, tells the user what to do, where a general "not saved" would not.
inline void RethrowIfChangedElsewhere(const std::exception_ptr& failure) {
    try {
        if (failure) {
            std::rethrow_exception(failure);
        }
    } catch (const ComError& error) {
        if (error.Offset() == kSubSystemChangedElsewhere.offset) {
            throw;
        }
    } catch (...) {
    }
}

inline constexpr std::array kAll{
    kGroupLoadFailed,           kGroupListFailed,
    kGroupNotDeletable,         kGroupIdOutOfRange,
    kGroupNotModifiable,        kGroupNameTaken,
    kGroupNameCHTTaken,         kGroupNameENTaken,
    kGroupNameNotText,          kFillFailed,
    kSubSystemIdOutOfRange,     kSubSystemIdTaken,
    kSubSystemNotModifiable,    kSubSystemNotDeletable,
    kSubSystemHasSubFunctions,  kSubSystemNameTaken,
    kSubSystemNameCHTTaken,     kSubSystemNameENTaken,
    kSubSystemNameNotText,      kGroupChangedElsewhere,
    kSubSystemChangedElsewhere,
};

/// Texts of the message boxes of refused deletions (not errors: the save goes on).
inline constexpr std::string_view kSubSystemHasBusinessObjects =
    " 子系统下存在有业务对象，不允许删除！";
inline constexpr std::string_view kGroupHasSubSystems = "系统分组下有子系统，不允许删除！";

}  // namespace quarn::subsysmgr::errors
