#include <gtest/gtest.h>

#include "model/ModelFixture.h"
#include "model/SubSystem.h"

namespace quarn::subsysmgr {
namespace {

using SubSystemRules = ModelFixture;
using NameSetter = void (SubSystem::*)(const std::string&);

// A further subsystem 8006 of group 850.
fakes::SubSystemRow Sibling(std::string chs, std::string cht, std::string en) {
    return fakes::VisibleSubSystem(8006, 850, std::move(chs), std::move(cht), std::move(en), 0);
}

SubSystemPtr InGroup850() {
    auto s = SubSystem::Create();
    s->SubSystemGroupID(850);
    return s;
}

TEST_F(SubSystemRules, NewIdentifiersMustLieInTheCustomerOrBroxRangeExistingOnesBeTheOwn) {
    const std::string outOfRange = "[CHS]被新增修改的子系统的代码值范围应该是（8000~8999）！";
    const std::string taken = "[CHS]子系统代码已存在,请重新指定！";
    // The ranges' edges, then identifiers taken in this group or another, unless the own.
    const struct {
        int32_t id;
        int32_t previous;
        std::string error;
    } cases[] = {
        {7999, 0, outOfRange},   {8000, 0, ""},          {8999, 0, ""},    {9000, 0, outOfRange},
        {0, 0, outOfRange},      {99999, 0, outOfRange}, {100000, 0, ""},  {199990, 0, ""},
        {199991, 0, outOfRange}, {8001, 0, taken},       {8010, 0, taken}, {50, 0, taken},
        {8001, 8001, ""},        {8002, 8001, taken},    {50, 50, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.id) + " previously " + std::to_string(c.previous));
        auto s = InGroup850();
        s->SubSystemID_Old(c.previous);
        const ComError error = ErrorOf([&] { s->Id(c.id); });
        EXPECT_EQ(error.Offset(), c.error.empty() ? 0 : 1001);
        EXPECT_EQ(error.Description(), c.error.empty() ? "(no error)" : c.error);
        EXPECT_EQ(s->Id(), c.error.empty() ? c.id : 0);
        EXPECT_EQ(s->IsNew(), c.error.empty() && c.previous == 0);
    }
}

// Each setter compares its column of the group's subsystems exactly (the filter's tests cover
// quotes in names) and admits the name when it is its previous one: Name the session language's
// column (FName for simplified Chinese), NameCHS FName, both with the previous name of the
// session language. Sibling 8006 has no FName.
TEST_F(SubSystemRules, EachNameSetterRefusesASiblingsNameInItsColumnUnlessItIsThePreviousOne) {
    suite.datasInfo->subSystems.push_back(Sibling("质量追踪", "品質追蹤", "Quality Trace"));
    suite.datasInfo->subSystems.back().nameIsNull = true;
    const NameSetter none = nullptr;
    const struct {
        const char* language;
        NameSetter setter;
        std::string name;
        NameSetter previous;  // the previous name that is set to `name` first
        int32_t error;
    } cases[] = {
        {"CHS", &SubSystem::Name, "设备巡检", none, 1013},
        {"CHS", &SubSystem::Name, "批次追溯", none, 0},  // a subsystem of group 851
        {"CHS", &SubSystem::Name, "设备巡检", &SubSystem::SubSystemName_Old, 0},
        {"CHS", &SubSystem::NameCHS, "设备巡检", none, 1013},
        {"CHS", &SubSystem::NameCHS, "质量追踪", none, 0},
        {"CHS", &SubSystem::NameCHT, "設備巡檢", none, 1023},
        {"CHS", &SubSystem::NameCHT, "設備巡檢", &SubSystem::SubSystemNameCHT_Old, 0},
        {"CHS", &SubSystem::NameCHT, "Patrol", none, 0},
        {"CHS", &SubSystem::NameEN, "Patrol", none, 1033},
        {"CHS", &SubSystem::NameEN, "Dealer's Portal", none, 1033},
        {"CHS", &SubSystem::NameEN, "Patrol", &SubSystem::SubSystemNameEN_Old, 0},
        {"CHS", &SubSystem::NameEN, "dealer's portal", none, 0},
        {"CHS", &SubSystem::NameEN, "设备巡检", none, 0},
        {"EN", &SubSystem::Name, "Patrol", none, 1013},
        {"EN", &SubSystem::Name, "设备巡检", none, 0},
        {"EN", &SubSystem::Name, "Patrol", &SubSystem::SubSystemNameEN_Old, 0},
        {"EN", &SubSystem::NameCHS, "设备巡检", &SubSystem::SubSystemNameCHS_Old, 1013},
        {"EN", &SubSystem::NameCHS, "设备巡检", &SubSystem::SubSystemName_Old, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("case " + std::to_string(&c - cases) + ": " + c.name);
        suite.SetContext(std::string("DB=demo;Language=") + c.language + ";");
        auto s = InGroup850();
        if (c.previous) {
            ((*s).*c.previous)(c.name);
        }
        EXPECT_EQ(OffsetOf([&] { ((*s).*c.setter)(c.name); }), c.error);
        EXPECT_EQ(s->DictName() == nullptr, c.error != 0) << "a refused name is not kept";
    }
    auto english = InGroup850();  // still an English session
    english->Name("设备巡检");
    EXPECT_EQ(Describe(english->DictName()), "EN=设备巡检;");

    // An empty name is a name like any other: taken when a sibling has it, admitted as the
    // previous one.
    suite.datasInfo->subSystems.push_back(Sibling("空白", "", ""));
    english->SubSystemNameEN_Old("Patrol");
    EXPECT_EQ(OffsetOf([&] { english->NameEN(""); }), 1033);
    EXPECT_EQ(OffsetOf([&] { english->NameCHT(""); }), 0);
}

TEST_F(SubSystemRules, DictNameChecksEveryLanguageInOrderAndKeepsThePreviousOnRefusal) {
    // FName_CHS is compared, and the previous simplified name, whatever the session language.
    suite.SetContext("DB=demo;Language=EN;");
    suite.datasInfo->subSystems.push_back(Sibling("质量追踪", "品質追蹤", "Quality Trace"));
    suite.datasInfo->subSystems.back().nameIsNull = true;
    auto s = InGroup850();
    const DictionaryPtr accepted = Names("新子系统", "新子系統", "New");
    s->DictName(accepted);
    EXPECT_EQ(s->DictName(), accepted);  // the object itself

    EXPECT_EQ(OffsetOf([&] { s->DictName(Names("质量追踪", "品質", "Quality")); }), 1013);
    EXPECT_EQ(OffsetOf([&] { s->DictName(Names("门店运营", "設備巡檢", "Patrol")); }), 1013);
    EXPECT_EQ(OffsetOf([&] { s->DictName(Names("甲", "設備巡檢", "Patrol")); }), 1023);
    EXPECT_EQ(OffsetOf([&] { s->DictName(Names("甲", "乙", "Patrol")); }), 1033);
    EXPECT_EQ(s->DictName(), accepted);

    s->DictName(Names("批次追溯", "批次追溯", "Batch Tracking"));  // group 851's names
    s->SubSystemName_Old("条码采集");                              // the English slot
    EXPECT_EQ(OffsetOf([&] { s->DictName(Names("条码采集", "條碼採集", "Barcode")); }), 1013);
    s->SubSystemNameCHS_Old("条码采集");
    s->SubSystemNameCHT_Old("條碼採集");
    s->SubSystemNameEN_Old("Barcode");
    s->DictName(Names("条码采集", "條碼採集", "Barcode"));
    EXPECT_EQ(s->NameEN(), "Barcode");
}

TEST_F(SubSystemRules, CancelCheckAdmitsTakenValuesButNotBrokenText) {
    auto s = InGroup850();
    s->CancelCheck(true);
    for (const int32_t id : {9000, 8001}) {
        s->Id(id);
        EXPECT_EQ(s->Id(), id);
    }
    EXPECT_FALSE(s->IsNew());
    const DictionaryPtr taken = Names("设备巡检", "設備巡檢", "Patrol");
    s->DictName(taken);
    s->NameEN("Stores");
    s->Name("门店运营");

    const std::string broken("\xC3", 1);
    for (const char* language : {"CHS", "CHT", "EN"}) {
        SCOPED_TRACE(language);
        auto names = Names("甲", "乙", "丙");
        names->Item(language, broken);
        EXPECT_EQ(OffsetOf([&] { s->DictName(names); }), 1040);
    }
    EXPECT_EQ(OffsetOf([&] { s->Name("ab" + broken); }), 1040);
    EXPECT_EQ(OffsetOf([&] { s->NameEN(std::string("\xFF")); }), 1040);
    EXPECT_EQ(Describe(s->DictName()), "CHS=门店运营;CHT=設備巡檢;EN=Stores;");
}

TEST_F(SubSystemRules, OnlyCustomerSubsystemsWithoutSubFunctionsMayBeDeletedAndBroxOnesModified) {
    const std::string notModifiable = "[CHS]Quarn 预设的子系统不允许修改！";
    const std::string notDeletable = "[CHS]Quarn 预设的子系统不允许删除！";
    const struct {
        int32_t id;
        bool deletable;
        bool modifiable;
    } cases[] = {{50, false, false},    {7999, false, false},  {8000, true, true},
                 {8999, true, true},    {9000, false, false},  {99999, false, false},
                 {100000, false, true}, {199990, false, true}, {199991, false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        auto s = InGroup850();
        s->CancelCheck(true);
        s->Id(c.id);
        EXPECT_EQ(ErrorOf([&] { s->Modified(true); }).Description(),
                  c.modifiable ? "(no error)" : notModifiable);
        EXPECT_EQ(s->Modified(), c.modifiable);
        EXPECT_EQ(ErrorOf([&] { s->Deleted(true); }).Description(),
                  c.deletable ? "(no error)" : notDeletable);
        EXPECT_EQ(s->Deleted(), c.deletable);
    }
    auto s = InGroup850();
    s->CancelCheck(true);  // the sub-functions are looked at whatever CancelCheck says
    s->Id(50);
    EXPECT_EQ(OffsetOf([&] { s->Modified(false); }), 1002);  // whatever the value
    EXPECT_EQ(OffsetOf([&] { s->Deleted(false); }), 1003);

    s->Id(8002);  // has sub-functions
    EXPECT_EQ(ErrorOf([&] { s->Deleted(true); }).Description(),
              "[CHS]子系统中存在附属的子功能时不允许删除！");
    EXPECT_EQ(s->Deleted(), false);
}

TEST_F(SubSystemRules, FailuresOfTheDataFlowInformationPassThroughUnchanged) {
    auto s = InGroup850();
    s->SubSystemID_Old(8001);
    s->Id(8001);
    s->NameEN("Old");
    const DictionaryPtr names = s->DictName();
    suite.datasInfo->failures.FailOn("GetSubSystem_All");
    suite.datasInfo->failures.FailOn("GetSubFunc_All");
    const std::function<void()> actions[] = {
        [&] { s->Id(8500); },
        [&] { s->Name("新"); },
        [&] { s->NameCHT("新"); },
        [&] { s->NameEN("New"); },
        [&] { s->DictName(Names("新", "新", "New")); },
        [&] { s->Deleted(true); },
    };
    for (std::size_t i = 0; i < std::size(actions); ++i) {
        SCOPED_TRACE(i);
        const ComError error = ErrorOf(actions[i]);
        EXPECT_EQ(error.Number(), fakes::kInjectedFailure);
        EXPECT_EQ(error.Source().rfind("DatasInfo.", 0), 0u) << error.Source();
    }
    EXPECT_EQ(s->Id(), 8001);
    EXPECT_FALSE(s->IsNew());
    EXPECT_EQ(s->DictName(), names);
    EXPECT_EQ(Describe(s->DictName()), "EN=Old;");
    EXPECT_FALSE(s->Deleted());
}

}  // namespace
}  // namespace quarn::subsysmgr
