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
inline constexpr std::string_view kNoDatabase = "%1不存在：服务器上没有这个数据库。";
inline constexpr std::string_view kNoFreeConnection = "%1当前没有空闲的连接，请稍后重试。";
inline constexpr std::string_view kNotOurs = "%1不是本程序创建的套件数据库，未做任何更改。";
inline constexpr std::string_view kPasswordMissing =
    "%1要求密码，但未给出密码（可使用 ~/.pgpass、PGPASSWORD 或服务文件）。";
inline constexpr std::string_view kPasswordWrong = "%1拒绝了密码：密码不正确，或没有这个用户。";
inline constexpr std::string_view kRoleNotAllowed =
    "%1不允许该用户连接：该用户不存在、不能登录、没有此数据库的 CONNECT 权限，或服务器的访问规则"
    "（pg_hba.conf）拒绝了它。";
inline constexpr std::string_view kSslRequired =
    "%1只接受该用户的 SSL 连接，而连接设置关闭了 SSL（sslmode=%2）。";
inline constexpr std::string_view kSslUnavailable =
    "无法通过 SSL 连接%1，而连接设置要求 SSL（sslmode=%2）：服务器不提供 SSL，或其证书未被接受。";
inline constexpr std::string_view kStatementFailed = "%1未能执行语句。";
inline constexpr std::string_view kWriteProtected = "%1是只读的，未写入任何数据。";

}  // namespace quarn::suite::messages
