#include "BusinessObjects.h"

#include "DesignerTexts.h"
#include "foundation/Dictionary.h"
#include "foundation/Vector.h"
#include "model/SubSystem.h"

namespace quarn::designer {

namespace {

void Append(const VectorPtr& list, std::vector<BusinessObject>& into) {
    for (const Variant& entry : list->Items()) {
        const DictionaryPtr object = entry.AsDictionary();
        into.push_back({object->Item("FID").ToInt32(), object->Item("FName").TextOrEmpty()});
    }
}

void AddKind(std::string_view caption, std::vector<BusinessObject> objects,
             std::vector<BusinessObjectKind>& kinds) {
    if (!objects.empty()) {
        kinds.push_back({caption, std::move(objects)});
    }
}

}  // namespace

std::vector<BusinessObjectKind> ReadBusinessObjects(int32_t subSystemId) {
    const auto subSystem = subsysmgr::SubSystem::Create();
    subSystem->CancelCheck(true);
    subSystem->Id(subSystemId);
    const VectorPtr lists = subSystem->GetAllBusObject();
    // The last entry carries every kind.
    const DictionaryPtr all = lists->Item(lists->Count() - 1).AsDictionary();
    const struct {
        const char* key;
        std::string_view caption;
    } listed[] = {{"TBASE", texts::kBaseTypes},
                  {"TBILL", texts::kBills},
                  {"TMULTICHECK", texts::kMultiChecks},
                  {"TFLOW", texts::kWorkFlows}};
    std::vector<BusinessObjectKind> kinds;
    for (const auto& kind : listed) {
        std::vector<BusinessObject> objects;
        if (const VectorPtr list = all->Item(kind.key).AsVector()) {
            Append(list, objects);
        }
        AddKind(kind.caption, std::move(objects), kinds);
    }
    // Reports come as one dictionary of three lists, as the report service lists them.
    const VectorPtr reports = all->Item("TREPORT").AsVector();
    if (reports && reports->Count() > 0) {
        std::vector<BusinessObject> objects;
        for (const auto& [key, list] : reports->Item(0).AsDictionary()->Entries()) {
            Append(list.AsVector(), objects);
        }
        AddKind(texts::kReports, std::move(objects), kinds);
    }
    return kinds;
}

}  // namespace quarn::designer
