#include <gtest/gtest.h>

#include "foundation/ComError.h"
#include "model/GroupFixture.h"
#include "model/SubSysGroup.h"

namespace quarn::subsysmgr {
namespace {

using SubSysGroupRules = GroupFixture;

int32_t OffsetOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const ComError& error) {
        return error.Offset();
    }
    return 0;
}

TEST_F(SubSysGroupRules, NewIdentifiersMustLieInTheCustomerOrBroxRange) {
    SubSysGroup group;
    for (const int32_t id : {799, 900, 0, 9999, 20000}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(OffsetOf([&] { group.Id(id); }), 1007);
        EXPECT_EQ(group.Id(), 0);
        EXPECT_FALSE(group.IsNew());
    }
    for (const int32_t id : {800, 899, 10000, 10500, 19999}) {
        SCOPED_TRACE(id);
        SubSysGroup fresh;
        fresh.Id(id);
        EXPECT_EQ(fresh.Id(), id);
        EXPECT_TRUE(fresh.IsNew());
    }
}

TEST_F(SubSysGroupRules, ExistingIdentifiersAreAcceptedWhateverTheirRange) {
    SubSysGroup group;
    group.Id(5);
    EXPECT_EQ(group.Id(), 5);
    EXPECT_FALSE(group.IsNew());

    group.Id(860);  // new: makes the group new
    group.Id(850);  // existing: never clears IsNew
    EXPECT_TRUE(group.IsNew());
}

TEST_F(SubSysGroupRules, ReservedIdentifiersAndCancelCheckSkipTheQuery) {
    SubSysGroup group;
    suite.calls->Clear();
    group.Id(-1);
    EXPECT_EQ(group.Id(), -1);
    group.Id(-102);
    EXPECT_EQ(group.Id(), -102);
    group.CancelCheck(true);
    group.Id(900);
    EXPECT_EQ(group.Id(), 900);
    EXPECT_FALSE(group.IsNew());
    EXPECT_EQ(suite.calls->CountOf("GetTopClass_All"), 0u);
}

TEST_F(SubSysGroupRules, EachNameSetterRefusesANameAnyGroupHasInItsLanguage) {
    SubSysGroup group;
    group.NameCHS("新分组");
    group.NameCHT("新分組");
    group.NameEN("New");

    EXPECT_EQ(OffsetOf([&] { group.NameCHS("财务会计"); }), 1014);
    EXPECT_EQ(OffsetOf([&] { group.NameCHT("財務會計"); }), 1024);
    EXPECT_EQ(OffsetOf([&] { group.NameEN("Finance"); }), 1034);
    EXPECT_EQ(group.NameCHS(), "新分组");
    EXPECT_EQ(group.NameCHT(), "新分組");
    EXPECT_EQ(group.NameEN(), "New");

    // A name in another language's column is no duplicate, nor is another letter case.
    group.NameEN("财务会计");
    group.NameEN("finance");
    EXPECT_EQ(group.NameEN(), "finance");
}

TEST_F(SubSysGroupRules, NameChecksTheSessionLanguageButRaisesTheSimplifiedNameError) {
    suite.SetContext("Language=EN;");
    SubSysGroup group;
    try {
        group.Name("Finance");
        FAIL() << "expected an error";
    } catch (const ComError& error) {
        EXPECT_EQ(error.Offset(), 1014);
        EXPECT_EQ(error.Source(), "SubSysGroup.Name");
    }
    group.Name("财务会计");  // the simplified name is not looked at in an English session
    EXPECT_EQ(group.NameEN(), "财务会计");
}

TEST_F(SubSysGroupRules, EmptyNamesAndCancelCheckStoreWithoutAQuery) {
    SubSysGroup group;
    ASSERT_TRUE(group.initial(5));
    suite.calls->Clear();
    group.NameCHT("");
    EXPECT_EQ(group.NameCHT(), "");

    group.CancelCheck(true);
    group.NameCHS("财务会计");  // its own name: a duplicate unless the checks are off
    EXPECT_EQ(suite.calls->CountOf("GetTopClass_All"), 0u);

    group.CancelCheck(false);
    EXPECT_EQ(OffsetOf([&] { group.NameCHS("财务会计"); }), 1014);
}

TEST_F(SubSysGroupRules, NamesWithApostrophesAreComparedExactly) {
    SubSysGroup group;
    EXPECT_EQ(OffsetOf([&] { group.NameEN("O'Brien Packs"); }), 1034);
    group.NameEN("O'Brien");
    group.NameEN("'");
    group.NameEN("x' OR FTopClassID<>0 AND FTopClassName_EN<>'");
    EXPECT_EQ(group.NameEN(), "x' OR FTopClassID<>0 AND FTopClassName_EN<>'");
}

TEST_F(SubSysGroupRules, AnyTextGoesThroughButInvalidUtf8IsRefused) {
    SubSysGroup group;
    const std::string longName(100000, 'x');
    group.NameEN(longName);
    group.NameCHT("𠀀𪚥 emoji 😀");
    EXPECT_EQ(group.NameEN(), longName);
    EXPECT_EQ(OffsetOf([&] { group.NameCHS(std::string("ab\xC3", 3)); }), 1040);
    EXPECT_EQ(OffsetOf([&] {
                  auto names = Dictionary::Create();
                  names->Item("EN", std::string("\xFF"));
                  group.DictName(names);
              }),
              1040);
    EXPECT_EQ(group.NameCHS(), "");
}

TEST_F(SubSysGroupRules, DictNameExcludesTheGroupItselfOnlyWhenItExists) {
    auto sameNames = Dictionary::Create();
    sameNames->Item("CHS", "定制扩展");
    sameNames->Item("CHT", "定制擴展");
    sameNames->Item("EN", "Custom");

    SubSysGroup existing;
    ASSERT_TRUE(existing.initial(850));
    existing.DictName(sameNames);
    EXPECT_EQ(existing.DictName(), sameNames);  // the object itself, not a copy

    SubSysGroup added;
    added.Id(860);
    EXPECT_EQ(OffsetOf([&] { added.DictName(sameNames); }), 1014);
    EXPECT_EQ(added.DictName(), nullptr);
}

TEST_F(SubSysGroupRules, DictNameChecksEveryLanguageInOrderIgnoringCancelCheck) {
    SubSysGroup group;
    ASSERT_TRUE(group.initial(850));
    group.CancelCheck(true);

    auto names = Dictionary::Create();
    names->Item("CHS", "新分组");
    names->Item("CHT", "行業套件");  // group 851's traditional name
    names->Item("EN", "Finance");    // group 5's English name
    EXPECT_EQ(OffsetOf([&] { group.DictName(names); }), 1024);

    names->Item("CHT", "新分組");
    EXPECT_EQ(OffsetOf([&] { group.DictName(names); }), 1034);

    // An absent language counts as an empty name, which collides with any other empty name.
    suite.datasInfo->groups.push_back({870, "甲", "", "", 40, true, 1, std::nullopt});
    auto partial = Dictionary::Create();
    partial->Item("CHS", "乙");
    partial->Item("EN", "B");
    EXPECT_EQ(OffsetOf([&] { group.DictName(partial); }), 1024);

    group.DictName(nullptr);
    EXPECT_EQ(group.DictName(), nullptr);
}

TEST_F(SubSysGroupRules, OnlyCustomerGroupsMayBeDeletedAndBroxGroupsAlsoModified) {
    SubSysGroup group;
    group.Id(5);
    EXPECT_EQ(OffsetOf([&] { group.Deleted(false); }), 1006);
    EXPECT_EQ(OffsetOf([&] { group.Modified(false); }), 1008);
    EXPECT_FALSE(group.Deleted());

    group.CancelCheck(true);
    for (const int32_t id : {10000, 10500, 19999}) {
        SCOPED_TRACE(id);
        group.Id(id);
        group.Modified(true);
        EXPECT_TRUE(group.Modified());
        EXPECT_EQ(OffsetOf([&] { group.Deleted(true); }), 1006);
    }
    for (const int32_t id : {799, 900, 9999, 20000}) {
        SCOPED_TRACE(id);
        group.Id(id);
        EXPECT_EQ(OffsetOf([&] { group.Modified(true); }), 1008);
    }
}

TEST_F(SubSysGroupRules, MarkingANewGroupModifiedOrDeletedMakesItAnExistingOne) {
    SubSysGroup modified;
    modified.Id(860);
    ASSERT_TRUE(modified.IsNew());
    modified.Modified(false);
    EXPECT_TRUE(modified.IsNew());
    modified.Modified(true);
    EXPECT_FALSE(modified.IsNew());

    SubSysGroup deleted;
    deleted.Id(861);
    deleted.Deleted(true);
    EXPECT_TRUE(deleted.Deleted());
    EXPECT_FALSE(deleted.IsNew());
}

}  // namespace
}  // namespace quarn::subsysmgr
