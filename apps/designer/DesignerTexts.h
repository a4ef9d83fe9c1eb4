#pragma once

#include <string_view>

/// The designer's own texts, in the component's source language; each is its own resource key
/// and is shown through the localized-text lookup.
namespace quarn::designer::texts {

inline constexpr std::string_view kWindowTitle = "子系统设计器";
inline constexpr std::string_view kMenuFile = "文件(&F)";
inline constexpr std::string_view kMenuGroup = "分组(&G)";
inline constexpr std::string_view kMenuSubSystem = "子系统(&S)";
inline constexpr std::string_view kMenuView = "查看(&V)";
inline constexpr std::string_view kMenuLanguage = "语言(&L)";
inline constexpr std::string_view kOpenSqlite = "打开 SQLite 数据库(&O)...";
inline constexpr std::string_view kOpenPostgres = "连接 PostgreSQL 数据库(&P)...";
inline constexpr std::string_view kOpenDemo = "打开演示数据库(&D)";
inline constexpr std::string_view kNewSqlite = "新建 SQLite 数据库(&W)...";
inline constexpr std::string_view kQuit = "退出(&X)";
inline constexpr std::string_view kNewGroup = "新增分组(&N)";
inline constexpr std::string_view kEditGroup = "修改分组(&E)";
inline constexpr std::string_view kDeleteGroup = "删除分组(&D)";
inline constexpr std::string_view kNewSubSystem = "新增子系统(&N)";
inline constexpr std::string_view kEditSubSystem = "修改子系统(&E)";
inline constexpr std::string_view kDeleteSubSystem = "删除子系统(&D)";
inline constexpr std::string_view kRefresh = "刷新(&R)";
inline constexpr std::string_view kLoading = "正在读取功能树...";
inline constexpr std::string_view kLoaded = "已读取 %1、%2：%3";
inline constexpr std::string_view kGroupCount = "%1 个分组";
inline constexpr std::string_view kSubSystemCount = "%1 个子系统";
inline constexpr std::string_view kSaved = "已保存。";
inline constexpr std::string_view kNotSaved = "未保存。";
inline constexpr std::string_view kDeleted = "已删除。";
inline constexpr std::string_view kConfirmDeleteGroup = "确定删除分组 %1 吗？";
inline constexpr std::string_view kConfirmDeleteSubSystem = "确定删除子系统 %1 吗？";
inline constexpr std::string_view kPostgresPrompt =
    "PostgreSQL 连接（例如 host=localhost dbname=suite user=me）：";
inline constexpr std::string_view kPostgresPassword = "密码（可留空）(&W)：";
inline constexpr std::string_view kCannotOpen = "无法打开数据库，仍使用原来的数据库。";
inline constexpr std::string_view kBaseTypes = "基础资料";
inline constexpr std::string_view kBills = "单据";
inline constexpr std::string_view kMultiChecks = "多级审核";
inline constexpr std::string_view kWorkFlows = "工作流";
inline constexpr std::string_view kReports = "报表";
inline constexpr std::string_view kGroupCaption = "子系统分组";
inline constexpr std::string_view kSubSystemCaption = "子系统";
inline constexpr std::string_view kCode = "代码";
inline constexpr std::string_view kIndexCaption = "序号";
inline constexpr std::string_view kNameCaption = "名称";
inline constexpr std::string_view kNameCHTCaption = "名称(繁体)";
inline constexpr std::string_view kNameENCaption = "名称(英文)";
inline constexpr std::string_view kNumberCaption = "代号";
inline constexpr std::string_view kVisibleCaption = "在Quarn主控台可见";
inline constexpr std::string_view kWebCaption = "在Web主控台可见";
inline constexpr std::string_view kAcctCaption = "适应的账套类型：";
inline constexpr std::string_view kYes = "是";
inline constexpr std::string_view kNo = "否";
inline constexpr std::string_view kSelectHint = "选择一个分组或子系统查看其信息。";

// Finding and acting in the tree.
inline constexpr std::string_view kFind = "查找(&F)";
inline constexpr std::string_view kFindHint = "按代码或名称查找 (Ctrl+F，Esc 清除)";
inline constexpr std::string_view kSearching = "正在查找...";
inline constexpr std::string_view kFound = "找到 %1 项。";
inline constexpr std::string_view kCopyCode = "复制代码(&C)";
inline constexpr std::string_view kShowHistory = "查看变更历史(&H)";
inline constexpr std::string_view kMoveUp = "上移(&U)";
inline constexpr std::string_view kMoveDown = "下移(&W)";
inline constexpr std::string_view kMoveToGroup = "移到分组(&M)...";
inline constexpr std::string_view kMoveToGroupPrompt = "将子系统 %1 移到分组：";
inline constexpr std::string_view kMoved = "已移动。";
inline constexpr std::string_view kDeleteSelected = "删除所选项目(&D)";
inline constexpr std::string_view kConfirmDeleteItems = "确定删除以下 %1 项吗？每项单独保存。";
inline constexpr std::string_view kDeletedItems = "已删除 %1 项，%2 项未删除。";
inline constexpr std::string_view kNotDeletedItems = "以下项目未删除：";

// The history of the selected item.
inline constexpr std::string_view kDetailsTab = "信息";
inline constexpr std::string_view kHistoryTab = "变更历史";
inline constexpr std::string_view kChangeColumn = "变更";
inline constexpr std::string_view kTimeColumn = "时间";
inline constexpr std::string_view kWhoColumn = "修改者";
inline constexpr std::string_view kWhatColumn = "内容";
inline constexpr std::string_view kAdded = "新增";
inline constexpr std::string_view kChanged = "修改";
inline constexpr std::string_view kRemoved = "删除";
inline constexpr std::string_view kNoChanges = "此项目没有记录的变更。";
// The status bar's reminder of an older release of the delivered tree.
inline constexpr std::string_view kOlderRelease =
    "数据库为发布 %1，早于本程序的 %2：请选择“文件 > 升级到发布”。";
inline constexpr std::string_view kNoRelease =
    "数据库未记录发布，本程序为 %1：请选择“文件 > 升级到发布”。";
// File > Upgrade to Release: the preview of the delivered tree brought to a release.
inline constexpr std::string_view kUpgrade = "升级到发布(&R)...";
inline constexpr std::string_view kUpgradeTitle = "升级到发布";
inline constexpr std::string_view kUpgradeOver = "发布 %1（%2），数据库当前为发布 %3（%4）。";
inline constexpr std::string_view kUpgradeOverNone = "发布 %1（%2），数据库未记录发布。";
inline constexpr std::string_view kUpgradeCounts =
    "新增 %1 项，修改 %2 项，移动 %3 项，删除 %4 项，无变化 %5 项。";
inline constexpr std::string_view kUpgradeConflicts = "有 %1 个冲突：解决之前不能升级。";
inline constexpr std::string_view kMovedOutcome = "移动";
inline constexpr std::string_view kConflict = "冲突";
inline constexpr std::string_view kAccountTypeItem = "账套类型";
inline constexpr std::string_view kConflictOrphan = "%1 仍在此分组中";
inline constexpr std::string_view kConflictOrphanMoved = "%1 将移到分组 %2";
inline constexpr std::string_view kConflictNameTaken = "%1 已使用相同的%2";
inline constexpr std::string_view kConflictStillUsed = "仍有 %1 个业务对象、报表或流程引用它";
inline constexpr std::string_view kConflictAccountType = "%1 使用此账套类型";
inline constexpr std::string_view kOrphanTarget = "已删除分组中的子系统移到(&M)：";
inline constexpr std::string_view kNoOrphanTarget = "不移动（拒绝升级）";
inline constexpr std::string_view kApplyUpgrade = "升级(&U)";
inline constexpr std::string_view kOtherRelease = "其他发布文件(&F)...";
inline constexpr std::string_view kUpgrading = "正在升级...";
inline constexpr std::string_view kUpgradeNothing = "数据库已是发布 %1，无需升级。";
inline constexpr std::string_view kUpgradeUnreadable = "无法读取该发布文件，未写入任何内容。";
inline constexpr std::string_view kUpgradeFailed = "无法升级，未写入任何内容。";
inline constexpr std::string_view kUpgraded = "已升级到发布 %1。";
inline constexpr std::string_view kCheckAfterItem = "升级之后";
inline constexpr std::string_view kCheckAfterNone = "升级之后，检查不会发现问题。";
inline constexpr std::string_view kCheckAfter = "升级之后，检查会发现 %1 个问题。";
inline constexpr std::string_view kStepUpgrade = "升级到发布 %1";
inline constexpr std::string_view kReleaseFiles = "发布文件";

// The Problems pane.
inline constexpr std::string_view kProblemsTitle = "问题";
inline constexpr std::string_view kShowProblems = "问题(&B)";
inline constexpr std::string_view kProblemRule = "规则";
inline constexpr std::string_view kProblemMessage = "说明";
inline constexpr std::string_view kProblemRemedy = "处理办法";
inline constexpr std::string_view kNoProblems = "未发现问题。";
inline constexpr std::string_view kProblemCount = "发现 %1 个问题。";
inline constexpr std::string_view kCheckAgain = "重新检查(&K)";
inline constexpr std::string_view kProblemsOutdated = "此后树已重新读取，列表可能已过时。";
inline constexpr std::string_view kRevert = "撤销所选变更(&R)";
inline constexpr std::string_view kConfirmRevert = "确定将该项目恢复到变更 %1 之前的状态吗？";
inline constexpr std::string_view kForceRevert = "是否仍要强制撤销？之后的变更将被覆盖。";
inline constexpr std::string_view kReverted = "已撤销变更 %1。";
inline constexpr std::string_view kRevertNote = "撤销变更 %1";
inline constexpr std::string_view kForcedRevertNote = "强制撤销变更 %1";

// The History tab: who made a change and its seal check.
inline constexpr std::string_view kAnotherProgram = "另一个程序";
inline constexpr std::string_view kWhoVia = "%1（经由 %2）";
inline constexpr std::string_view kVerifySeals = "检查封印(&S)";

// Seeing before acting: the visibility preview, import and export.
inline constexpr std::string_view kPreviewMenu = "按用户预览(&P)";
inline constexpr std::string_view kPreviewEverything = "全部（不预览）";
inline constexpr std::string_view kPreviewChoice = "%1 · %2";
inline constexpr std::string_view kMainConsole = "主控台";
inline constexpr std::string_view kWebConsole = "Web主控台";
inline constexpr std::string_view kPreviewHint =
    "只显示该账套类型的用户在该主控台中看到的分组和子系统";
inline constexpr std::string_view kPreviewStatus = "预览：“%1”账套的用户在%2中看到的内容";
inline constexpr std::string_view kImport = "导入(&I)...";
inline constexpr std::string_view kExportAll = "导出全部客户项目(&E)...";
inline constexpr std::string_view kExportSelection = "导出所选项目(&S)...";
inline constexpr std::string_view kImportTitle = "导入";
inline constexpr std::string_view kImportItem = "项目";
inline constexpr std::string_view kImportOutcome = "结果";
inline constexpr std::string_view kImportDetails = "详情";
inline constexpr std::string_view kUnchanged = "无变化";
inline constexpr std::string_view kRefused = "拒绝";
inline constexpr std::string_view kImportCounts =
    "新增 %1 项，修改 %2 项，无变化 %3 项，拒绝 %4 项。勾选要导入的项目。";
inline constexpr std::string_view kApplyAll = "全部导入(&A)";
inline constexpr std::string_view kApplyChosen = "导入所选(&C)";
inline constexpr std::string_view kCancelImport = "取消";
inline constexpr std::string_view kImportChecking = "正在检查导入文件...";
inline constexpr std::string_view kImporting = "正在导入...";
inline constexpr std::string_view kImportRefused = "无法导入该文件，未写入任何内容。";
inline constexpr std::string_view kImportDone =
    "导入完成：新增 %1 项，修改 %2 项，无变化 %3 项，拒绝 %4 项。";
inline constexpr std::string_view kImportStopped = "已取消：%1 项未导入。";
inline constexpr std::string_view kExported = "已导出 %1、%2到 %3。";

// The Help menu, the keyboard shortcuts and About.
inline constexpr std::string_view kMenuHelp = "帮助(&H)";
inline constexpr std::string_view kHelpSelected = "所选项目的帮助(&S)";
inline constexpr std::string_view kHelpGroupEditor = "子系统分组维护帮助(&G)";
inline constexpr std::string_view kHelpSubSystemEditor = "子系统维护帮助(&U)";
inline constexpr std::string_view kShortcuts = "键盘快捷键(&K)...";
inline constexpr std::string_view kShortcutAction = "操作";
inline constexpr std::string_view kShortcutKeys = "按键";
inline constexpr std::string_view kShortcutsElsewhere = "功能树和查找框";
inline constexpr std::string_view kClearFilter = "清除查找";
inline constexpr std::string_view kAbout = "关于(&A)...";
inline constexpr std::string_view kAboutSummary = "维护功能树的子系统分组和子系统。";
inline constexpr std::string_view kAboutVersion = "版本 %1";
inline constexpr std::string_view kAboutQt = "Qt 版本 %1";
inline constexpr std::string_view kAboutDatabase = "数据库：%1";
inline constexpr std::string_view kNameCHSCaption = "名称(简体)";

// Undo and redo; a step's name fills in the %1 of kUndoStep and kRedoStep.
inline constexpr std::string_view kMenuEdit = "编辑(&E)";
inline constexpr std::string_view kUndo = "撤销(&U)";
inline constexpr std::string_view kRedo = "重做(&R)";
inline constexpr std::string_view kUndoStep = "撤销%1(&U)";
inline constexpr std::string_view kRedoStep = "重做%1(&R)";
inline constexpr std::string_view kUndone = "已撤销%1。";
inline constexpr std::string_view kRedone = "已重做%1。";
inline constexpr std::string_view kStepEditGroup = "修改分组 %1";
inline constexpr std::string_view kStepEditSubSystem = "修改子系统 %1";
inline constexpr std::string_view kStepNewGroup = "新增分组 %1";
inline constexpr std::string_view kStepNewSubSystem = "新增子系统 %1";
inline constexpr std::string_view kStepDeleteGroup = "删除分组 %1";
inline constexpr std::string_view kStepDeleteSubSystem = "删除子系统 %1";
inline constexpr std::string_view kStepDeleteItems = "删除 %1 项";
inline constexpr std::string_view kStepMoveGroup = "移动分组 %1";
inline constexpr std::string_view kStepMoveSubSystem = "移动子系统 %1";
inline constexpr std::string_view kStepMoveItems = "移动 %1 项";
inline constexpr std::string_view kStepRevert = "还原变更 %1";
inline constexpr std::string_view kStepImport = "导入 %1 项";
inline constexpr std::string_view kStepPartlyDone = "只完成了一部分。已恢复：%1。未恢复：%2。";
inline constexpr std::string_view kItemGroup = "分组 %1";
inline constexpr std::string_view kItemSubSystem = "子系统 %1";
inline constexpr std::string_view kItemSeparator = "、";
inline constexpr std::string_view kNoItems = "无";

// In place of the tree while no database can be read; the buttons do what the File menu does.
inline constexpr std::string_view kNoDatabase = "未打开数据库。";
inline constexpr std::string_view kOpenDatabase = "打开(&O)...";
inline constexpr std::string_view kNewDatabase = "新建数据库(&N)...";
inline constexpr std::string_view kRetry = "重试(&R)";

}  // namespace quarn::designer::texts
