#include <gtest/gtest.h>

#include "foundation/ComError.h"
#include "model/SubSystem.h"
#include "model/SubSystemFixture.h"

namespace quarn::subsysmgr {
namespace {

using SubSystemRules = SubSystemFixture;

ComError ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const ComError& error) {
        return error;
    }
    return ComError(0, "", "(no error)");
}

int32_t OffsetOf(const std::function<void()>& action) {
    return ErrorOf(action).Offset();
}

DictionaryPtr Names(const std::string& chs, const std::string& cht, const std::string& en) {
    auto names = Dictionary::Create();
    names->Item("CHS", chs);
    names->Item("CHT", cht);
    names->Item("EN", en);
    return names;
}

// A further subsystem 8006 of group 850.
fakes::SubSystemRow Sibling(std::string chs, std::string cht, std::string en) {
    fakes::SubSystemRow row;
    row.id = 8006;
    row.groupId = 850;
    row.nameCHS = std::move(chs);
    row.nameCHT = std::move(cht);
    row.nameEN = std::move(en);
    return row;
}

SubSystemPtr InGroup850() {
    auto s = SubSystem::Create();
    s->SubSystemGroupID(850);
    return s;
}

TEST_F(SubSystemRules, NewIdentifiersMustLieInTheCustomerOrBroxRange) {
    for (const int32_t id : {8500, 8000, 8999, 100000, 150000, 199990}) {
        SCOPED_TRACE(id);
        auto s = InGroup850();
        s->Id(id);
        EXPECT_EQ(s->Id(), id);
        EXPECT_TRUE(s->IsNew());
    }
    const auto query = suite.calls->CallsTo("GetSubSystem_All").at(0).arguments;
    EXPECT_EQ(query.at(0), Variant(int16_t{-1}));

    for (const int32_t id : {9000, 7999, 0, 99999, 199991}) {
        SCOPED_TRACE(id);
        auto s = InGroup850();
        EXPECT_EQ(ErrorOf([&] { s->Id(id); }).Description(),
                  "[CHS]被新增修改的子系统的代码值范围应该是（8000~8999）！");
        EXPECT_EQ(OffsetOf([&] { s->Id(id); }), 1001);
        EXPECT_EQ(s->Id(), 0);
        EXPECT_FALSE(s->IsNew());
    }
}

TEST_F(SubSystemRules, AnExistingIdentifierOfAnyGroupIsAcceptedOnlyAsTheOwnOne) {
    auto s = InGroup850();
    EXPECT_EQ(ErrorOf([&] { s->Id(8001); }).Description(), "[CHS]子系统代码已存在,请重新指定！");
    EXPECT_EQ(OffsetOf([&] { s->Id(8010); }), 1001);  // subsystem of group 851
    EXPECT_EQ(s->Id(), 0);

    s->SubSystemID_Old(8001);
    s->Id(8001);
    EXPECT_EQ(s->Id(), 8001);
    EXPECT_FALSE(s->IsNew());
    EXPECT_EQ(OffsetOf([&] { s->Id(8002); }), 1001);
    EXPECT_EQ(s->Id(), 8001);

    auto delivered = SubSystem::Create();
    delivered->SubSystemGroupID(5);
    EXPECT_EQ(OffsetOf([&] { delivered->Id(50); }), 1001);
    delivered->SubSystemID_Old(50);
    delivered->Id(50);  // outside the customer range, but its own
    EXPECT_EQ(delivered->Id(), 50);
    EXPECT_FALSE(delivered->IsNew());
}

TEST_F(SubSystemRules, NameRefusesOnlyASiblingsNameInTheSessionLanguage) {
    auto s = InGroup850();
    const ComError error = ErrorOf([&] { s->Name("设备巡检"); });
    EXPECT_EQ(error.Offset(), 1013);
    EXPECT_EQ(error.Source(), "SubSystem.Name");
    EXPECT_EQ(error.Description(), "[CHS]子系统名称已存在,请重新指定！");
    EXPECT_EQ(s->DictName(), nullptr);
    EXPECT_EQ(suite.calls->CallsTo("GetSubSystem_All").at(0).arguments.at(0),
              Variant(int32_t{850}));

    s->Name("批次追溯");  // the name of a subsystem of group 851
    EXPECT_EQ(s->Name(), "批次追溯");
    EXPECT_EQ(s->NameCHS(), "批次追溯");

    s->SubSystemName_Old("经销商门户");
    s->Name("经销商门户");
    EXPECT_EQ(s->Name(), "经销商门户");
    EXPECT_EQ(OffsetOf([&] { s->Name("设备巡检"); }), 1013);
    EXPECT_EQ(s->Name(), "经销商门户");
}

TEST_F(SubSystemRules, NameInAnEnglishSessionChecksTheEnglishColumnButRaisesTheSimplifiedError) {
    suite.SetContext("DB=demo;Language=EN;");
    auto s = InGroup850();
    const ComError error = ErrorOf([&] { s->Name("Patrol"); });
    EXPECT_EQ(error.Offset(), 1013);
    EXPECT_EQ(error.Description(), "[EN]子系统名称已存在,请重新指定！");
    s->Name("设备巡检");  // the simplified name is not looked at
    EXPECT_EQ(s->NameEN(), "设备巡检");
    EXPECT_EQ(s->NameCHS(), "");

    s->SubSystemName_Old("Patrol");
    s->Name("Patrol");
    EXPECT_EQ(s->Name(), "Patrol");
}

TEST_F(SubSystemRules, EachLanguageSetterHasItsColumnPreviousNameAndError) {
    auto s = InGroup850();
    s->NameCHS("新名");
    s->NameCHT("新名");
    s->NameEN("新名");
    EXPECT_EQ(OffsetOf([&] { s->NameCHS("设备巡检"); }), 1013);
    EXPECT_EQ(OffsetOf([&] { s->NameCHT("設備巡檢"); }), 1023);
    EXPECT_EQ(OffsetOf([&] { s->NameEN("Patrol"); }), 1033);
    for (const char* language : {"CHS", "CHT", "EN"}) {
        EXPECT_EQ(s->DictName()->Item(language), Variant("新名")) << language;
    }

    // Another language's name is no duplicate; each previous name admits its own name.
    s->NameEN("设备巡检");
    s->NameCHT("Patrol");
    s->NameCHS("設備巡檢");
    s->SubSystemName_Old("设备巡检");
    s->SubSystemNameCHT_Old("設備巡檢");
    s->SubSystemNameEN_Old("Patrol");
    s->NameCHS("设备巡检");
    s->NameCHT("設備巡檢");
    s->NameEN("Patrol");
    EXPECT_EQ(s->NameCHT(), "設備巡檢");
    EXPECT_EQ(s->NameEN(), "Patrol");
}

TEST_F(SubSystemRules, EmptyNamesAndNamesWithApostrophesAreComparedExactly) {
    auto s = InGroup850();
    EXPECT_EQ(OffsetOf([&] { s->NameEN("Dealer's Portal"); }), 1033);
    for (const std::string name :
         {"Dealer's", "'", "Dealer''s Portal", "dealer's portal", "x' OR FName_EN<>'"}) {
        SCOPED_TRACE(name);
        s->NameEN(name);
        EXPECT_EQ(s->NameEN(), name);
    }

    s->SubSystemNameCHT_Old("門店運營");
    s->SubSystemNameEN_Old("Stores");
    s->NameCHT("");  // no sibling has an empty name yet
    suite.datasInfo->subSystems.push_back(Sibling("空白", "", ""));
    EXPECT_EQ(OffsetOf([&] { s->NameCHT(""); }), 1023);
    EXPECT_EQ(OffsetOf([&] { s->NameEN(""); }), 1033);
    EXPECT_EQ(s->NameEN(), "x' OR FName_EN<>'");
}

TEST_F(SubSystemRules, NameCHSAndDictNameCheckTheSimplifiedNameDifferently) {
    // NameCHS: column FName and the previous name of the session language;
    // DictName: column FName_CHS and the previous simplified name.
    suite.SetContext("DB=demo;Language=EN;");
    suite.datasInfo->subSystems.push_back(Sibling("质量追踪", "品質追蹤", "Quality Trace"));
    suite.datasInfo->subSystems.back().nameIsNull = true;
    auto s = InGroup850();
    s->NameCHS("质量追踪");
    EXPECT_EQ(s->NameCHS(), "质量追踪");
    const DictionaryPtr before = s->DictName();
    EXPECT_EQ(OffsetOf([&] { s->DictName(Names("质量追踪", "品質", "Quality")); }), 1013);
    EXPECT_EQ(s->DictName(), before);

    s->SubSystemNameCHS_Old("设备巡检");
    EXPECT_EQ(OffsetOf([&] { s->NameCHS("设备巡检"); }), 1013);
    const DictionaryPtr names = Names("设备巡检", "巡檢", "Inspection");
    s->DictName(names);
    EXPECT_EQ(s->DictName(), names);

    s->SubSystemName_Old("设备巡检");  // the English slot
    s->SubSystemNameCHS_Old("");
    s->NameCHS("设备巡检");
    EXPECT_EQ(OffsetOf([&] { s->DictName(Names("设备巡检", "巡檢", "Inspection")); }), 1013);
    EXPECT_EQ(s->DictName(), names);
}

TEST_F(SubSystemRules, DictNameChecksEveryLanguageInOrderAndKeepsThePreviousOnRefusal) {
    auto s = InGroup850();
    const DictionaryPtr accepted = Names("新子系统", "新子系統", "New");
    s->DictName(accepted);
    EXPECT_EQ(s->DictName(), accepted);  // the object itself

    EXPECT_EQ(OffsetOf([&] { s->DictName(Names("门店运营", "設備巡檢", "Patrol")); }), 1013);
    EXPECT_EQ(OffsetOf([&] { s->DictName(Names("甲", "設備巡檢", "Patrol")); }), 1023);
    EXPECT_EQ(OffsetOf([&] { s->DictName(Names("甲", "乙", "Patrol")); }), 1033);
    EXPECT_EQ(s->DictName(), accepted);
    EXPECT_EQ(s->NameCHS(), "新子系统");

    s->DictName(Names("批次追溯", "批次追溯", "Batch Tracking"));  // group 851's names

    s->SubSystemNameCHS_Old("条码采集");
    s->SubSystemNameCHT_Old("條碼採集");
    s->SubSystemNameEN_Old("Barcode");
    s->DictName(Names("条码采集", "條碼採集", "Barcode"));
    EXPECT_EQ(s->NameEN(), "Barcode");
}

TEST_F(SubSystemRules, CancelCheckSkipsTheQueriesButNotTheTextCheck) {
    auto s = InGroup850();
    s->CancelCheck(true);
    suite.calls->Clear();
    for (const int32_t id : {9000, 8001, 8500}) {
        SCOPED_TRACE(id);
        s->Id(id);
        EXPECT_EQ(s->Id(), id);
        EXPECT_FALSE(s->IsNew());
    }
    const DictionaryPtr taken = Names("设备巡检", "設備巡檢", "Patrol");
    s->DictName(taken);
    EXPECT_EQ(s->DictName(), taken);
    s->NameEN("Stores");
    s->Name("门店运营");
    EXPECT_EQ(suite.calls->CountOf("GetSubSystem_All"), 0u);

    const std::string broken("\xC3", 1);
    for (const char* language : {"CHS", "CHT", "EN"}) {
        SCOPED_TRACE(language);
        auto names = Names("甲", "乙", "丙");
        names->Item(language, broken);
        EXPECT_EQ(OffsetOf([&] { s->DictName(names); }), 1040);
        EXPECT_EQ(s->DictName(), taken);
    }
    EXPECT_EQ(OffsetOf([&] { s->Name(broken); }), 1040);
    EXPECT_EQ(OffsetOf([&] { s->NameCHS("ab" + broken); }), 1040);
    EXPECT_EQ(OffsetOf([&] { s->NameCHT(broken); }), 1040);
    EXPECT_EQ(OffsetOf([&] { s->NameEN(std::string("\xFF")); }), 1040);
    EXPECT_EQ(s->NameEN(), "Stores");
    EXPECT_EQ(s->NameCHS(), "门店运营");
}

TEST_F(SubSystemRules, OnlyCustomerAndBroxSubsystemsMayBeMarkedModified) {
    auto s = InGroup850();
    s->Id(8500);
    ASSERT_TRUE(s->IsNew());
    s->CancelCheck(true);
    for (const int32_t id : {8000, 8999, 100000, 150000, 199990}) {
        SCOPED_TRACE(id);
        s->Id(id);
        s->Modified(true);
        EXPECT_TRUE(s->Modified());
        s->Modified(false);
        EXPECT_FALSE(s->Modified());
    }
    EXPECT_TRUE(s->IsNew());

    s->Id(8500);
    s->Modified(true);
    for (const int32_t id : {50, 7999, 9000, 99999, 199991, 200000}) {
        SCOPED_TRACE(id);
        s->Id(id);
        EXPECT_EQ(ErrorOf([&] { s->Modified(false); }).Description(),
                  "[CHS]Quarn 预设的子系统不允许修改！");
        EXPECT_EQ(OffsetOf([&] { s->Modified(true); }), 1002);
        EXPECT_TRUE(s->Modified());
    }
}

TEST_F(SubSystemRules, OnlyCustomerSubsystemsWithoutSubFunctionsMayBeDeleted) {
    auto s = InGroup850();
    s->CancelCheck(true);
    suite.calls->Clear();
    for (const int32_t id : {50, 7999, 9000, 150000}) {
        SCOPED_TRACE(id);
        s->Id(id);
        EXPECT_EQ(ErrorOf([&] { s->Deleted(true); }).Description(),
                  "[CHS]Quarn 预设的子系统不允许删除！");
        EXPECT_EQ(OffsetOf([&] { s->Deleted(false); }), 1003);
    }
    EXPECT_EQ(suite.calls->CountOf("GetSubFunc_All"), 0u);

    s->Id(8002);  // has sub-functions, whatever CancelCheck says
    EXPECT_EQ(ErrorOf([&] { s->Deleted(true); }).Description(),
              "[CHS]子系统中存在附属的子功能时不允许删除！");
    EXPECT_EQ(suite.calls->CallsTo("GetSubFunc_All").at(0).arguments.at(0), Variant(int32_t{8002}));
    EXPECT_FALSE(s->Deleted());

    s->Id(8003);
    s->Deleted(true);
    EXPECT_TRUE(s->Deleted());
    s->Id(8002);
    EXPECT_EQ(OffsetOf([&] { s->Deleted(false); }), 1003);
    EXPECT_TRUE(s->Deleted());
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
    EXPECT_EQ(s->NameEN(), "Old");
    EXPECT_EQ(s->NameCHS(), "");
    EXPECT_FALSE(s->Deleted());
}

TEST_F(SubSystemRules, PreviousNamesAreEmptyUntilSetAndFollowTheSessionLanguage) {
    auto s = InGroup850();
    EXPECT_EQ(s->SubSystemName_Old() + s->SubSystemNameCHS_Old() + s->SubSystemNameCHT_Old() +
                  s->SubSystemNameEN_Old(),
              "");
    suite.SetContext("DB=demo;Language=CHT;");
    s->SubSystemName_Old("經銷商門戶");
    EXPECT_EQ(s->SubSystemNameCHT_Old(), "經銷商門戶");
    EXPECT_EQ(s->SubSystemNameCHS_Old(), "");
}

}  // namespace
}  // namespace quarn::subsysmgr
