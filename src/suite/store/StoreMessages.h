#pragma once

#include <string_view>

/// The store's messages that more than one place raises: simplified-Chinese catalog keys with
/// %1 for the database's description.
namespace quarn::suite::messages {

inline constexpr std::string_view kBusy = "%1正忙：其他用户正在写入，请稍后重试。";
inline constexpr std::string_view kCannotReach = "无法连接%1。";
inline constexpr std::string_view kDiskFull = "%1所在的磁盘已满，未写入任何数据。";
inline constexpr std::string_view kFreeQueryRefused =
    "自由查询只能读取套件的表，此语句被拒绝（%1）。";
inline constexpr std::string_view kLoginRefused =
    "%1拒绝了登录：用户名或密码不正确，或该用户不能连接此数据库。";
inline constexpr std::string_view kNotOurs = "%1不是本程序创建的套件数据库，未做任何更改。";
inline constexpr std::string_view kStatementFailed = "%1未能执行语句。";
inline constexpr std::string_view kWriteProtected = "%1是只读的，未写入任何数据。";

}  // namespace quarn::suite::messages
