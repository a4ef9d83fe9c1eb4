// The business objects of a subsystem: base-data types and bills (ICClassType), multi-level
// approval flows and work flows, and reports. Each service component serves one call.

#include <string>

#include "foundation/ComError.h"
#include "foundation/FoundationErrors.h"
#include "host/IClassDefineInfo.h"
#include "host/IClassInfo.h"
#include "host/IRptAction.h"
#include "host/ProgIds.h"
#include "model/SubSystem.h"
#include "runtime/SessionContext.h"

namespace quarn::subsysmgr {

namespace {

// Report types and the list each goes to.
constexpr int32_t kSqlReport = 1000;
constexpr int32_t kCrossTabReport = 1002;

[[noreturn]] void RaiseMissing(const std::string& what) {
    throw ComError(ErrorNumber(FoundationError::MissingObject), "SubSystem.GetAllBusObject",
                   what + " gave no result.");
}

// FID/FName entries of every row from the current one to the end of data.
VectorPtr EntryList(Recordset& rows) {
    const VectorPtr list = Vector::Create();
    const DictionaryPtr entry = Dictionary::Create();
    while (!rows.Eof()) {
        entry->Item("FID", rows.Fields("FID"));
        entry->Item("FName", rows.Fields("FName"));
        list->Add(entry->Copy());
        entry->RemoveAll();
        rows.MoveNext();
    }
    return list->Copy();
}

}  // namespace

VectorPtr SubSystem::GetClassTypes(const std::string& selection) {
    try {
        const auto classInfo = module_->registry->Create<IClassInfo>(progid::kClassInfo);
        return classInfo->GetClassType(GetPropsString(*module_), selection);
    } catch (...) {
        return nullptr;
    }
}

VectorPtr SubSystem::GetBaseTypes() {
    return GetClassTypes(std::string("FID>0 And FBillTypeID Not In(5,6) And (FControl & 3)>2 ") +
                         " and FBillTypeID=1" + " and FFunctionID=" + std::to_string(id_));
}

VectorPtr SubSystem::GetBill() {
    return GetClassTypes(std::string("FID>-800 And FBillTypeID Not In(5,6) And (FControl & 3)>2 ") +
                         " and FBillTypeID<> " + "1" + " and FFunctionID=" + std::to_string(id_));
}

VectorPtr SubSystem::GetMultiCheck() {
    try {
        const auto defineInfo =
            module_->registry->Create<IClassDefineInfo>(progid::kClassDefineInfo);
        const RecordsetPtr flows = defineInfo->GetMultiCheckFlows(GetPropsString(*module_), id_);
        if (!flows) {
            return nullptr;
        }
        return EntryList(*flows);
    } catch (...) {
        return nullptr;
    }
}

VectorPtr SubSystem::GetWorkFlowList() {
    const auto defineInfo = module_->registry->Create<IClassDefineInfo>(progid::kClassDefineInfo);
    const RecordsetPtr flows =
        defineInfo->GetWorkFlows(GetPropsString(*module_), "  FSubSysID=" + std::to_string(id_));
    if (!flows) {
        RaiseMissing("The work-flow listing");
    }
    return EntryList(*flows);
}

VectorPtr SubSystem::GetReport() {
    RecordsetPtr reports;
    try {
        const auto rptAction = module_->registry->Create<IRptAction>(progid::kRptAction);
        reports = rptAction->GetReportRs(GetPropsString(*module_), int16_t{0});
    } catch (...) {
        return nullptr;
    }
    if (!reports) {
        return nullptr;
    }
    const VectorPtr sqlReports = Vector::Create();
    const VectorPtr crossReports = Vector::Create();
    const VectorPtr otherReports = Vector::Create();
    try {
        while (!reports->Eof()) {
            try {  // a row that cannot be read is left out
                const DictionaryPtr entry = Dictionary::Create();
                entry->Item("FID", reports->Fields("FID"));
                entry->Item("FName", reports->Fields("FName"));
                const int32_t type = reports->Fields("FType").ToInt32();
                (type == kSqlReport        ? sqlReports
                 : type == kCrossTabReport ? crossReports
                                           : otherReports)
                    ->Add(entry);
            } catch (...) {
            }
            reports->MoveNext();
        }
    } catch (...) {
        // A Recordset that fails to move on ends the list.
    }
    const DictionaryPtr groups = Dictionary::Create();
    groups->Item("TREPORT_SQL", sqlReports->Copy());
    groups->Item("TREPORT_CROSS", crossReports->Copy());
    groups->Item("TREPORT_NEWCROSS", otherReports->Copy());
    const VectorPtr result = Vector::Create();
    result->Add(groups);
    return result;
}

VectorPtr SubSystem::GetAllBusObject() {
    if (businessObjects_) {
        return businessObjects_;
    }
    struct Kind {
        const char* key;
        VectorPtr (SubSystem::*listing)();
    };
    static constexpr Kind kKinds[] = {
        {"TBASE", &SubSystem::GetBaseTypes},        {"TBILL", &SubSystem::GetBill},
        {"TMULTICHECK", &SubSystem::GetMultiCheck}, {"TFLOW", &SubSystem::GetWorkFlowList},
        {"TREPORT", &SubSystem::GetReport},
    };
    // Each entry adds one kind to the ones before it. Only a complete result is cached, so a
    // failed listing is fetched again next time.
    const VectorPtr result = Vector::Create();
    const DictionaryPtr work = Dictionary::Create();
    for (const Kind& kind : kKinds) {
        const VectorPtr list = (this->*kind.listing)();
        if (!list) {
            RaiseMissing(std::string("The listing ") + kind.key);
        }
        work->Item(kind.key, list->Copy());
        result->Add(work->Copy());
    }
    businessObjects_ = result;
    return businessObjects_;
}

}  // namespace quarn::subsysmgr
