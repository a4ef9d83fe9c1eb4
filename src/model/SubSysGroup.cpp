#include "model/SubSysGroup.h"

#include <string>

#include "host/IClassInfo.h"
#include "host/ProgIds.h"
#include "model/ModelErrors.h"
#include "runtime/DiagnosticLog.h"
#include "runtime/SessionContext.h"

namespace quarn::subsysmgr {

namespace {

constexpr std::string_view kListingProcedure = "QuarnClassSubSysMgr.SubSysGroup.GetAllSubSysGroup";
constexpr std::string_view kAllGroupsQuery = "SELECT * FROM t_DataFlowTopClass Order By FIndex asc";

}  // namespace

SubSysGroup::SubSysGroup(std::shared_ptr<ModuleState> module) : module_(std::move(module)) {
    RefreshDataFlow();
}

SubSysGroup::~SubSysGroup() = default;

void SubSysGroup::RefreshDataFlow() {
    GetDataFlowInfo(*module_).ClearCache();
}

bool SubSysGroup::initial(int32_t lngSubSysGroupID) {
    try {
        const std::string language = GetLanguageOrDefault(*module_);
        const RecordsetPtr groups = GetDataFlowInfo(*module_).GetTopClass_All();
        groups->Filter("FTopClassID=" + std::to_string(lngSubSysGroupID));

        bool found = false;
        if (groups->Eof()) {
            dictName_ = nullptr;
            id_ = 0;
            visible_ = false;
            webVisible_ = false;
            fitAccountType_.clear();
            index_ = 0;
            version_ = 0;
        } else {
            dictName_ = Dictionary::Create();
            id_ = lngSubSysGroupID;
            dictName_->Item("Local", groups->Fields("FtopClassName_" + language));
            dictName_->Item("CHS", groups->Fields("FTopClassName_CHS"));
            dictName_->Item("CHT", groups->Fields("FTopClassName_CHT"));
            dictName_->Item("EN", groups->Fields("FTopClassName_EN"));
            visible_ = groups->Fields("FVisible").ToBool();
            fitAccountType_ = groups->Fields("FAcctType").TextOrEmpty();
            index_ = groups->Fields("FIndex").ToInt32();
            webVisible_ = (groups->Fields("FShowSysType").ToInt32() & 2) == 2;
            version_ = groups->Fields("FVersion").ToInt64();
            found = true;
        }
        groups->Close();
        return found;
    } catch (...) {
        RaiseLocalized(*module_, errors::kGroupLoadFailed, std::current_exception());
    }
}

VectorPtr SubSysGroup::GetAllSubSysGroup() {
    const int32_t logHandle = LogProcStart(*module_, kListingProcedure);
    try {
        const auto classInfo = module_->registry->Create<IClassInfo>(progid::kClassInfo);
        const RecordsetPtr groups =
            classInfo->GetData(GetPropsString(*module_), std::string(kAllGroupsQuery));

        const VectorPtr work = Vector::Create();
        if (groups && groups->State() != 0 && groups->RecordCount() > 0) {
            // Columns are found once for all rows; each group gets a dictionary of its own.
            const std::size_t id = groups->ColumnPosition("FTopClassID");
            const std::size_t name = groups->ColumnPosition("FtopClassName");
            const std::size_t nameEN = groups->ColumnPosition("FTopClassName_EN");
            const std::size_t nameCHT = groups->ColumnPosition("FTopClassName_CHT");
            const std::size_t showSysType = groups->ColumnPosition("FShowSysType");
            for (groups->MoveFirst(); !groups->Eof(); groups->MoveNext()) {
                const DictionaryPtr row = Dictionary::Create();
                row->Reserve(5);
                row->Item("ID", groups->Fields(id));
                row->Item("Name", groups->Fields(name));
                row->Item("FTopClassName_EN", groups->Fields(nameEN));
                row->Item("FTopClassName_CHT", groups->Fields(nameCHT));
                row->Item("FShowSysType", groups->Fields(showSysType));
                work->Add(row);
            }
        }
        if (groups && groups->State() != 0) {
            groups->Close();
        }
        LogProcEnd(*module_, logHandle);
        return work;
    } catch (...) {
        LogProcEnd(*module_, logHandle);
        RaiseLocalized(*module_, errors::kGroupListFailed, std::current_exception());
    }
}

std::string SubSysGroup::NameIn(const std::string& language) const {
    return dictName_ ? dictName_->Item(language).TextOrEmpty() : std::string();
}

std::string SubSysGroup::Name() const {
    return NameIn(GetPropValue(*module_, kLanguageKey));
}
std::string SubSysGroup::NameCHS() const {
    return NameIn("CHS");
}
std::string SubSysGroup::NameCHT() const {
    return NameIn("CHT");
}
std::string SubSysGroup::NameEN() const {
    return NameIn("EN");
}

}  // namespace quarn::subsysmgr
