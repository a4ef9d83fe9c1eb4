#pragma once

#include <string_view>

/// Programmatic identifiers of the suite components, as registered in the ComponentRegistry.
namespace quarn::progid {

inline constexpr std::string_view kDatasInfo = "DataFlowInfo.DatasInfo";
inline constexpr std::string_view kDatasUpdate = "DataFlowInfo.DatasUpdate";
inline constexpr std::string_view kChangeHistory = "DataFlowInfo.ChangeHistory";
inline constexpr std::string_view kTreeRows = "DataFlowInfo.TreeRows";
inline constexpr std::string_view kTreeSearch = "DataFlowInfo.TreeSearch";
inline constexpr std::string_view kReleaseStore = "DataFlowInfo.ReleaseStore";
inline constexpr std::string_view kClassInfo = "QuarnMClass.ClassInfo";
inline constexpr std::string_view kClassDefineInfo = "QuarnMClass.ClassDefineInfo";
inline constexpr std::string_view kRptAction = "QuarnMCrossTab.RptAction";
inline constexpr std::string_view kShareProps = "PropsMgr.ShareProps";
inline constexpr std::string_view kResLoader = "QuarnResLoader.Loader";
inline constexpr std::string_view kFrmResLoader = "FrmRes.FrmResLoader";
inline constexpr std::string_view kChmHelp = "QuarnCHMResTool.ClsCHMHelp";
inline constexpr std::string_view kLog = "LKLogMsg.Log";
/// The foundation library's global object, which carries the message formatter.
inline constexpr std::string_view kMessageFormatter = "QuarnFoundation.Global";

}  // namespace quarn::progid
