#include "model/SealReport.h"

#include <string_view>

#include "runtime/LocalText.h"

namespace quarn::subsysmgr {

namespace {

constexpr std::string_view kIntact = "全部已封印的变更均与其封印一致（检查了 %1 条记录）。";
constexpr std::string_view kAltered =
    "变更 %1 与其封印不符：它被改动过，或其前面紧邻的变更被删除或插入过。";
constexpr std::string_view kRemoved = "编号直到 %1 的变更已从记录中删除，而更早的变更仍在。";
constexpr std::string_view kUnsealed = "变更 %1 的封印已丢失，而其后的变更仍有封印。";
constexpr std::string_view kNotSealed = "该数据库尚无封印：第一次写入会将其升级到带封印的版本。";
constexpr std::string_view kAwaiting = "自本程序上次写入以来，其他程序记录的 %1 条变更尚未封印。";
constexpr std::string_view kLimit =
    "能够写入变更记录并重新计算其后全部封印的人，封印无法察觉；较早导出文件中记录的封印可以察觉。";

std::string_view FindingTemplate(SealCheck::Finding finding) {
    switch (finding) {
        case SealCheck::Finding::Intact:
            return kIntact;
        case SealCheck::Finding::Altered:
            return kAltered;
        case SealCheck::Finding::Removed:
            return kRemoved;
        case SealCheck::Finding::Unsealed:
            return kUnsealed;
        case SealCheck::Finding::NotSealed:
            break;
    }
    return kNotSealed;
}

}  // namespace

SealReport DescribeSealCheck(ModuleState& module, const SealCheck& check) {
    SealReport report;
    const std::string_view finding = FindingTemplate(check.finding);
    const int64_t number = check.finding == SealCheck::Finding::Intact
                               ? check.checked - check.awaitingSeal
                               : check.change;
    report.finding = FormatLocalText(module, finding, {number});
    if (check.awaitingSeal > 0) {
        report.awaiting = FormatLocalText(module, kAwaiting, {check.awaitingSeal});
    }
    report.limit = GetLocalText(module, kLimit);
    return report;
}

}  // namespace quarn::subsysmgr
