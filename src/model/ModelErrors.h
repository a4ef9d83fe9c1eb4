#pragma once

#include <array>
#include <exception>

#include "quarn/foundation/ComError.h"
#include "quarn/runtime/LocalizedError.h"

/// Every numbered error of the model, the business objects' and the editors' checks: offset above
/// the object-error base, source and message (its own resource key, localized when raised).
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

// Reverting a logged change (ChangeRevert); %1 is the change number as given.
/// The log has no change with the number (or none of the item named).
inline constexpr ErrorDefinition kChangeNotFound{1043, "ChangeRevert.Revert",
                                                 "变更记录中没有变更 %1。"};
/// The change is of a group or subsystem delivered with the suite.
inline constexpr ErrorDefinition kChangeOfDeliveredItem{
    1044, "ChangeRevert.Revert", "变更 %1 涉及 Quarn 预设的项目，不允许撤销！"};
/// A database of an older schema keeps no change log until its first write.
inline constexpr ErrorDefinition kNoChangeLog{
    1045, "ChangeHistory",
    "该数据库尚无变更记录：它由较早版本的程序创建，第一次保存后才开始记录变更。"};
/// Save refused the revert: after a message box that said why, or with the store's reason.
inline constexpr ErrorDefinition kChangeNotReverted{1046, "ChangeRevert.Revert",
                                                    "变更 %1 未被撤销。"};
/// One transaction changed several items under the number (an SQL statement of another
/// program on PostgreSQL): the revert must name the item.
inline constexpr ErrorDefinition kChangeOfSeveralItems{
    1047, "ChangeRevert.Revert", "变更 %1 修改了多个项目，请指定要撤销的项目。"};
/// The item changed again after the change (%2: its last change); a forced revert restores it
/// anyway. The number is the stale save's.
inline constexpr ErrorDefinition kRevertOverLaterChange{
    1042, "ChangeRevert.Revert",
    "变更 %1 之后该项又有变更（最近一次为 %2），未撤销；如仍要撤销，请强制撤销。"};

/// The change's log rows no longer match their seal: someone altered them after they were logged,
/// so their old values are not written back.
inline constexpr ErrorDefinition kChangeSealBroken{
    1048, "ChangeRevert.Revert",
    "变更 %1 的记录与其封印不符，记录后被改动过，未撤销；请运行 subsysmgr history --verify 检查。"};

// The editors' save checks. The numbers follow the editors' own: a subsystem's missing name
// shares 1009 with a forbidden character of either editor.
inline constexpr ErrorDefinition kGroupNameEmpty{1010, "SubSysGroup.Save", "必须录入分组名称！"};
inline constexpr ErrorDefinition kGroupCodeExists{1012, "SubSysGroup.Save",
                                                  "指定的分组代码已存在，请重新指定！"};
inline constexpr ErrorDefinition kGroupNoAccountType{1016, "SubSysGroup.Save",
                                                     "子系统分组应该至少属于一种账套类型！"};
inline constexpr ErrorDefinition kGroupNameCHTEmpty{1020, "SubSysGroup.Save",
                                                    "必须录入分组名称(繁体)！"};
inline constexpr ErrorDefinition kGroupNameENEmpty{1030, "SubSysGroup.Save",
                                                   "必须录入分组名称(英文)！"};
inline constexpr ErrorDefinition kSubSystemNameEmpty{1009, "SubSystem.Save",
                                                     "必须录入子系统名称！"};
inline constexpr ErrorDefinition kSubSystemCodeExists{1011, "SubSystem.Save",
                                                      "指定的子系统代码已存在，请重新指定！"};
inline constexpr ErrorDefinition kSubSystemNoAccountType{1015, "SubSystem.Save",
                                                         "子系统应该至少属于一种账套类型！"};
inline constexpr ErrorDefinition kSubSystemNameCHTEmpty{1019, "SubSystem.Save",
                                                        "必须录入子系统名称(繁体)！"};
inline constexpr ErrorDefinition kSubSystemNameENEmpty{1029, "SubSystem.Save",
                                                       "必须录入子系统名称(英文)！"};
/// A short code that is not UTF-8 or holds a control character.
inline constexpr ErrorDefinition kSubSystemNumberNotText{1040, "SubSystem.Number",
                                                         "输入的子系统代号不是有效的文本！"};
/// The store refused the write (the group's Save reports it only by its result); the
/// transaction was rolled back, so nothing changed.
inline constexpr ErrorDefinition kSubSystemNotSaved{1041, "SubSystem.Save",
                                                    "保存子系统失败，未写入任何数据！"};

// A forbidden character in a name or short code, one text per field; %1 is the character.
inline constexpr ErrorDefinition kForbiddenInGroupName{1009, "SAVE",
                                                       "录入的分组名称中不允许包含字符 %1 !"};
inline constexpr ErrorDefinition kForbiddenInGroupNameCHT{
    1009, "SAVE", "录入的分组名称中不允许包含字符(繁体) %1 !"};
inline constexpr ErrorDefinition kForbiddenInGroupNameEN{
    1009, "SAVE", "录入的分组名称中不允许包含字符(英文) %1 !"};
inline constexpr ErrorDefinition kForbiddenInSubSystemNumber{
    1009, "SAVE", "录入的子系统代号中不允许包含字符 %1 !"};
inline constexpr ErrorDefinition kForbiddenInSubSystemName{1009, "SAVE",
                                                           "录入的子系统名称中不允许包含字符 %1 !"};
inline constexpr ErrorDefinition kForbiddenInSubSystemNameCHT{
    1009, "SAVE", "录入的子系统名称中不允许包含字符(繁体) %1 !"};
inline constexpr ErrorDefinition kForbiddenInSubSystemNameEN{
    1009, "SAVE", "录入的子系统名称中不允许包含字符(英文) %1 !"};

// What an editor's fields keep from being typed, for input that comes another way (the
// command line, an import file, a paste); %1 is the field's caption.
inline constexpr ErrorDefinition kOutOfRange{2305, "SAVE",
                                             "%1 必须介于 %2 和 %3 之间，而不是 %4。"};
inline constexpr ErrorDefinition kTooLong{2306, "SAVE", "%1 不能超过 %2 个字符。"};
inline constexpr ErrorDefinition kAccountTypeNotOffered{2307, "SAVE",
                                                        "账套类型 %1 不存在或不可选择。"};
/// The mode's code range has no free code left for a new item (%1 and %2: the range).
inline constexpr ErrorDefinition kNoFreeCode{1049, "SAVE", "代码范围 %1~%2 中已没有可用的代码！"};

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

/// Every definition above. Some share a number on purpose, each with its own text; the register
/// of the system's numbers names those numbers and allows no other number twice.
inline constexpr std::array kAll{
    kGroupLoadFailed,
    kGroupListFailed,
    kGroupNotDeletable,
    kGroupIdOutOfRange,
    kGroupNotModifiable,
    kGroupNameTaken,
    kGroupNameCHTTaken,
    kGroupNameENTaken,
    kGroupNameNotText,
    kFillFailed,
    kSubSystemIdOutOfRange,
    kSubSystemIdTaken,
    kSubSystemNotModifiable,
    kSubSystemNotDeletable,
    kSubSystemHasSubFunctions,
    kSubSystemNameTaken,
    kSubSystemNameCHTTaken,
    kSubSystemNameENTaken,
    kSubSystemNameNotText,
    kGroupChangedElsewhere,
    kSubSystemChangedElsewhere,
    kChangeNotFound,
    kChangeOfDeliveredItem,
    kNoChangeLog,
    kChangeNotReverted,
    kChangeOfSeveralItems,
    kRevertOverLaterChange,
    kChangeSealBroken,
    kGroupNameEmpty,
    kGroupCodeExists,
    kGroupNoAccountType,
    kGroupNameCHTEmpty,
    kGroupNameENEmpty,
    kSubSystemNameEmpty,
    kSubSystemCodeExists,
    kSubSystemNoAccountType,
    kSubSystemNameCHTEmpty,
    kSubSystemNameENEmpty,
    kSubSystemNumberNotText,
    kSubSystemNotSaved,
    kForbiddenInGroupName,
    kForbiddenInGroupNameCHT,
    kForbiddenInGroupNameEN,
    kForbiddenInSubSystemNumber,
    kForbiddenInSubSystemName,
    kForbiddenInSubSystemNameCHT,
    kForbiddenInSubSystemNameEN,
    kOutOfRange,
    kTooLong,
    kAccountTypeNotOffered,
    kNoFreeCode,
};

/// Texts of the message boxes of refused deletions (not errors: the save goes on).
inline constexpr std::string_view kSubSystemHasBusinessObjects =
    " 子系统下存在有业务对象，不允许删除！";
inline constexpr std::string_view kGroupHasSubSystems = "系统分组下有子系统，不允许删除！";
/// Their second line names what blocks the deletion: %1 the item, %2 the list of blockers.
inline constexpr std::string_view kGroupBlockers = "子系统分组 %1 仍有子系统 %2。";
inline constexpr std::string_view kSubSystemBlockers = "子系统 %1 仍有业务对象：%2。";
/// A list of blockers cut short: %1 those named, %2 how many more there are.
inline constexpr std::string_view kMoreBlockers = "%1 及另外 %2 个";
/// What separates the blockers of such a list.
inline constexpr std::string_view kBlockerSeparator = "、";

}  // namespace quarn::subsysmgr::errors
