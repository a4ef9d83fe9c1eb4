// The group's subsystem collection: the fill from the data source and the in-memory changes.

#include <string>

#include "foundation/ComError.h"
#include "foundation/FoundationErrors.h"
#include "host/IClassInfo.h"
#include "host/ProgIds.h"
#include "model/ModelErrors.h"
#include "model/SubSysGroup.h"
#include "runtime/SessionContext.h"

namespace quarn::subsysmgr {

SubSystemPtr SubSysGroup::GetSubSystem(int32_t m_lngSubSystemID, bool blnCheckID) {
    RecordsetPtr rows;
    try {
        rows = GetDataFlowInfo(*module_).GetSubSystem_All(Variant(id_));
    } catch (...) {
        // The fill below finds no rows and leaves an empty collection.
    }
    try {
        FillSubSystem(rows, m_lngSubSystemID, blnCheckID);
    } catch (...) {
        // Callers see a failed fill only as a missing subsystem.
    }
    if (rows && rows->State() != 0) {
        rows->Close();
    }
    if (m_lngSubSystemID <= 0) {
        return nullptr;
    }
    currentSubSystem_ = Item(m_lngSubSystemID);
    return currentSubSystem_;
}

void SubSysGroup::FillSubSystem(const RecordsetPtr& rows, int32_t lngSubSysID, bool blnCheckID) {
    subSystems_ = std::make_shared<SubSystemCollection>();
    try {
        if (!rows) {
            throw ComError(ErrorNumber(FoundationError::MissingObject), "SubSysGroup.FillSubSystem",
                           "No subsystems were read.");
        }
        if (lngSubSysID > 0) {
            rows->Filter("FSubSysID=" + std::to_string(lngSubSysID));
        }
        const bool checked = lngSubSysID >= 0 && blnCheckID;
        SubSystemPtr last;
        while (!rows->Eof()) {
            const auto subSystem = SubSystem::Create(module_);
            const int32_t id = rows->Fields("FSubSysID").ToInt32();
            const std::string nameCHS = rows->Fields("FName_CHS").ToText();
            const std::string name = rows->Fields("FName").IsNull() ? std::string() : nameCHS;
            const std::string nameCHT = rows->Fields("FName_CHT").TextOrEmpty();
            const std::string nameEN = rows->Fields("FName_EN").TextOrEmpty();

            subSystem->SubSystemGroupID(rows->Fields("FTopClassID").ToInt32());
            subSystem->fillingStoredNames_ = true;
            subSystem->CancelCheck(!checked);
            // A checked setter accepts a value equal to the matching previous value, so each
            // gets the row's own value first: an existing row is never refused for being
            // itself, while a clash with another row still is.
            if (checked) {
                subSystem->SubSystemID_Old(id);
            }
            subSystem->Id(id);
            if (checked) {
                subSystem->SubSystemName_Old(name);
            }
            subSystem->Name(name);
            if (checked) {
                subSystem->SubSystemName_Old(nameCHS);  // NameCHS compares with it too
            }
            subSystem->NameCHS(nameCHS);
            if (checked) {
                subSystem->SubSystemNameCHS_Old(nameCHS);
                subSystem->SubSystemNameCHT_Old(nameCHT);
                subSystem->SubSystemNameEN_Old(nameEN);
            }
            subSystem->NameCHT(nameCHT);
            subSystem->NameEN(nameEN);
            subSystem->CancelCheck(false);
            subSystem->fillingStoredNames_ = false;

            subSystem->Number(rows->Fields("FSUBID").TextOrEmpty());
            subSystem->Visible(rows->Fields("FVisible").ToBool());
            subSystem->FitAccountType(rows->Fields("FAcctType").TextOrEmpty());
            subSystem->Index(rows->Fields("FIndex").ToInt32());
            subSystem->Version(rows->Fields("FVersion").ToInt64());
            // A listing without the column (a host's own) leaves the suite's.
            if (const std::size_t column = rows->ColumnPosition("FClassName");
                column < rows->ColumnCount() && !rows->Fields(column).TextOrEmpty().empty()) {
                subSystem->ClassName(rows->Fields(column).TextOrEmpty());
            }
            subSystem->WebVisible((rows->Fields("FShowSysType").ToInt32() & 2) == 2);
            subSystems_->Add(subSystem);
            last = subSystem;
            rows->MoveNext();
        }
        if (last && last->FitAccountType().empty()) {
            FixUpAccountType(*last, lngSubSysID);
        }
    } catch (...) {
        RaiseLocalized(*module_, errors::kFillFailed);
    }
}

void SubSysGroup::FixUpAccountType(SubSystem& last, int32_t lngSubSysID) {
    const auto classInfo = module_->registry->Create<IClassInfo>(progid::kClassInfo);
    const RecordsetPtr rows = classInfo->GetData(
        GetPropsString(*module_),
        "Select FAcctType From t_DataFlowSubSystem Where FSubSysID=" + std::to_string(lngSubSysID));
    if (rows && rows->State() != 0) {
        if (rows->RecordCount() == 1) {
            rows->MoveFirst();
            last.FitAccountType(rows->Fields("FAcctType").TextOrEmpty());
        }
        rows->Close();
    }
}

SubSystemPtr SubSysGroup::Item(int32_t m_lngID) const {
    if (!subSystems_) {
        return nullptr;
    }
    for (const SubSystemPtr& subSystem : *subSystems_) {
        if (subSystem->Id() == m_lngID) {
            return subSystem;
        }
    }
    return nullptr;
}

void SubSysGroup::AddSubSystem(SubSystemPtr objSubSys) {
    if (!objSubSys) {
        throw ComError(ErrorNumber(FoundationError::MissingObject), "SubSysGroup.AddSubSystem",
                       "No subsystem was given.");
    }
    UpdateSubSystem(std::move(objSubSys));
}

bool SubSysGroup::UpdateSubSystem(SubSystemPtr objSubSys) {
    if (!objSubSys) {
        throw ComError(ErrorNumber(FoundationError::MissingObject), "SubSysGroup.UpdateSubSystem",
                       "No subsystem was given.");
    }
    objSubSys->Modified(true);
    if (!subSystems_) {
        subSystems_ = std::make_shared<SubSystemCollection>();
    } else {
        for (std::size_t position = 1; position <= subSystems_->Count(); ++position) {
            if (subSystems_->Item(position)->Id() == objSubSys->Id()) {
                subSystems_->Remove(position);
                break;
            }
        }
    }
    subSystems_->Add(std::move(objSubSys));
    return false;
}

bool SubSysGroup::DeleteSubSystem(int32_t m_lngID) {
    const SubSystemPtr subSystem = Item(m_lngID);
    if (!subSystem) {
        return false;
    }
    subSystem->Deleted(true);
    return subSystem->Deleted();
}

RecordsetPtr SubSysGroup::GetAllSubSystem() {
    return GetDataFlowInfo(*module_).GetSubSystem_All(Variant(int16_t{-1}));
}

}  // namespace quarn::subsysmgr
