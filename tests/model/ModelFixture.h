#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "fakes/FakeSuite.h"
#include "foundation/ComError.h"

namespace quarn::subsysmgr {

/// Groups 5 (delivered, subsystem 50), 850 (subsystems 8001-8005) and 851 (subsystem 8010).
/// Subsystem 8002 has sub-functions; 8005 has no account types.
class ModelFixture : public ::testing::Test {
  protected:
    ModelFixture() {
        suite.SetContext("DB=demo;Language=CHS;");
        suite.datasInfo->groups = {
            {5, "财务会计", "財務會計", "Finance", 20, true, 3, ",1,2,"},
            {850, "定制扩展", "定制擴展", "Custom", 10, true, 1, std::nullopt},
            {851, "行业套件", "行業套件", "O'Brien Packs", 30, false, 2, ",3,"},
        };
        suite.datasInfo->subSystems = {
            fakes::VisibleSubSystem(50, 5, "总账", "總賬", "General Ledger", 1),
            fakes::VisibleSubSystem(8001, 850, "经销商门户", "經銷商門戶", "Dealer's Portal", 1),
            fakes::VisibleSubSystem(8002, 850, "设备巡检", "設備巡檢", "Patrol", 2),
            fakes::VisibleSubSystem(8003, 850, "门店运营", "門店運營", "Stores", 3),
            fakes::VisibleSubSystem(8004, 850, "条码采集", "條碼採集", "Barcode", 4),
            fakes::VisibleSubSystem(8005, 850, "供应商评估", "供應商評估", "Supplier Rating", 5,
                                    std::nullopt),
            fakes::VisibleSubSystem(8010, 851, "批次追溯", "批次追溯", "Batch Tracking", 1),
        };
        suite.datasInfo->subFunctions = {{8002, 2}};
        suite.AnswerQueriesFromTables();
    }

    fakes::FakeSuite suite;
};

/// The error that `action` raises; number 0 when it raises none.
inline ComError ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const ComError& error) {
        return error;
    }
    return ComError(0, "", "(no error)");
}

/// The offset of the object error that `action` raises, or 0 when it raises none.
inline int32_t OffsetOf(const std::function<void()>& action) {
    return ErrorOf(action).Offset();
}

inline DictionaryPtr Names(const std::string& chs, const std::string& cht, const std::string& en) {
    auto names = Dictionary::Create();
    names->Item("CHS", chs);
    names->Item("CHT", cht);
    names->Item("EN", en);
    return names;
}

/// "key=value;" for every entry of a Dictionary, in its order: records read at a glance.
inline std::string Describe(const Variant& dictionary) {
    std::string text;
    for (const auto& [key, value] : dictionary.AsDictionary()->Entries()) {
        text += key + "=" + value.TextOrEmpty() + ";";
    }
    return text;
}

}  // namespace quarn::subsysmgr
