#include "fakes/FakeSuite.h"

#include <algorithm>
#include <regex>

#include "host/ProgIds.h"

namespace quarn::fakes {

namespace {

constexpr int32_t kFakeProcessId = 4242;

RecordsetPtr CountRecordset(int32_t count) {
    return Recordset::Create({"FCount"}, {{count}});
}

}  // namespace

template <class T>
void FakeSuite::Install(std::string_view progId, std::shared_ptr<T> component) {
    registry->Register(progId, [this, key = std::string(progId), component] {
        ++creations_[key];
        return std::static_pointer_cast<Component>(component);
    });
}

FakeSuite::FakeSuite() {
    Install(progid::kDatasInfo, datasInfo);
    Install(progid::kDatasUpdate, datasUpdate);
    Install(progid::kClassInfo, classInfo);
    Install(progid::kClassDefineInfo, classDefineInfo);
    Install(progid::kRptAction, rptAction);
    Install(progid::kShareProps, shareProps);
    Install(progid::kResLoader, resLoader);
    Install(progid::kLog, log);
    Install(progid::kChmHelp, help);
    Install(progid::kFrmResLoader, frmResLoader);
    Install(progid::kMessageFormatter, formatter);

    module = std::make_shared<quarn::subsysmgr::ModuleState>(registry);
    module->processId = kFakeProcessId;
    module->messageBox = messageBox;
    previousModule_ = quarn::subsysmgr::ModuleState::Current();
    quarn::subsysmgr::ModuleState::Install(module);
}

FakeSuite::~FakeSuite() {
    quarn::subsysmgr::ModuleState::Install(previousModule_);
}

void FakeSuite::SetContext(const std::string& propsString) {
    shareProps->SetProperty(kFakeProcessId, "PropsString", propsString);
}

void FakeSuite::Uninstall(std::string_view progId) {
    registry->Unregister(progId);
}

int FakeSuite::Creations(std::string_view progId) const {
    const auto it = creations_.find(progId);
    return it == creations_.end() ? 0 : it->second;
}

void FakeSuite::AnswerQueriesFromTables() {
    classInfo->answerGetData = [this](const std::string& sql) -> RecordsetPtr {
        if (sql == "SELECT * FROM t_DataFlowTopClass Order By FIndex asc") {
            auto rows = datasInfo->groups;
            std::stable_sort(rows.begin(), rows.end(), [](const GroupRow& a, const GroupRow& b) {
                return a.index < b.index;
            });
            return Recordset::Create(GroupTable(rows));
        }
        std::smatch match;
        static const std::regex groupCount(
            "select count\\(\\*\\) as FCount from t_DataFlowSubSystem where FTopClassID=(-?\\d+)");
        if (std::regex_match(sql, match, groupCount)) {
            const int32_t id = std::stoi(match[1]);
            return CountRecordset(static_cast<int32_t>(
                std::count_if(datasInfo->subSystems.begin(), datasInfo->subSystems.end(),
                              [id](const SubSystemRow& row) { return row.groupId == id; })));
        }
        static const std::regex classTypeCount(
            "select count\\(\\*\\) as FCount from ICClassType where FFunctionID=(-?\\d+)");
        if (std::regex_match(sql, match, classTypeCount)) {
            const auto it = businessObjectCounts.find(std::stoi(match[1]));
            return CountRecordset(it == businessObjectCounts.end() ? 0 : it->second);
        }
        return Recordset::Create({"Value"}, {});
    };
}

}  // namespace quarn::fakes
