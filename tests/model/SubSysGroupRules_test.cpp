#include <gtest/gtest.h>

#include "model/ModelFixture.h"
#include "model/SubSysGroup.h"

namespace quarn::subsysmgr {
namespace {

using SubSysGroupRules = ModelFixture;
using NameSetter = void (SubSysGroup::*)(const std::string&);

TEST_F(SubSysGroupRules, IdentifierRangesRuleWhatIsNewAndWhatMayBeModifiedOrDeleted) {
    // New identifiers lie in the customer or the Brox range, existing ones (5) anywhere, and
    // the reserved -1 and -102 are stored unchecked; only customer groups may be deleted, and
    // Brox groups also modified. Marking a new group modified or deleted makes it an existing one.
    const struct {
        int32_t id;
        int32_t error;
        bool isNew;
        bool deletable;
        bool modifiable;
    } cases[] = {{799, 1007, false, false, false},   {800, 0, true, true, true},
                 {899, 0, true, true, true},         {900, 1007, false, false, false},
                 {0, 1007, false, false, false},     {9999, 1007, false, false, false},
                 {10000, 0, true, false, true},      {19999, 0, true, false, true},
                 {20000, 1007, false, false, false}, {5, 0, false, false, false},
                 {-1, 0, false, false, false},       {-102, 0, false, false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        SubSysGroup group;
        EXPECT_EQ(OffsetOf([&] { group.Id(c.id); }), c.error);
        EXPECT_EQ(group.Id(), c.error ? 0 : c.id);
        EXPECT_EQ(group.IsNew(), c.isNew);

        group.CancelCheck(true);
        group.Id(c.id);
        EXPECT_EQ(OffsetOf([&] { group.Deleted(false); }), c.deletable ? 0 : 1006);
        EXPECT_EQ(OffsetOf([&] { group.Modified(false); }), c.modifiable ? 0 : 1008);
        EXPECT_EQ(group.IsNew(), c.isNew);
        EXPECT_EQ(OffsetOf([&] { group.Deleted(true); }), c.deletable ? 0 : 1006);
        EXPECT_EQ(group.Deleted(), c.deletable);
        EXPECT_EQ(OffsetOf([&] { group.Modified(true); }), c.modifiable ? 0 : 1008);
        EXPECT_EQ(group.Modified(), c.modifiable);
        EXPECT_FALSE(group.IsNew());
    }

    SubSysGroup group;
    group.Id(860);
    group.Id(850);  // existing: never clears IsNew
    EXPECT_TRUE(group.IsNew());
    group.CancelCheck(true);
    group.Id(900);
    EXPECT_EQ(group.Id(), 900);
}

// Each setter refuses a name that any group has in its language, exactly (the filter's tests
// cover quotes in names); Name takes the session's language but raises the simplified name's
// error. An empty name is never taken.
TEST_F(SubSysGroupRules, EachNameSetterRefusesANameAnyGroupHasInItsLanguageExactly) {
    suite.datasInfo->groups.push_back({870, "甲", "", "", 40, true, 1, std::nullopt});
    const struct {
        const char* language;
        NameSetter setter;
        std::string name;
        int32_t error;
    } cases[] = {
        {"CHS", &SubSysGroup::NameCHS, "财务会计", 1014},
        {"CHS", &SubSysGroup::NameCHT, "財務會計", 1024},
        {"CHS", &SubSysGroup::NameEN, "Finance", 1034},
        {"CHS", &SubSysGroup::NameEN, "O'Brien Packs", 1034},
        {"CHS", &SubSysGroup::NameEN, "财务会计", 0},
        {"CHS", &SubSysGroup::NameEN, "finance", 0},
        {"CHS", &SubSysGroup::NameEN, std::string(100000, 'x'), 0},
        {"CHS", &SubSysGroup::NameCHT, "", 0},
        {"CHS", &SubSysGroup::NameCHT, "𠀀𪚥 emoji 😀", 0},
        {"CHS", &SubSysGroup::NameCHS, std::string("ab\xC3", 3), 1040},
        {"EN", &SubSysGroup::Name, "Finance", 1014},
        {"EN", &SubSysGroup::Name, "财务会计", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("case " + std::to_string(&c - cases));
        suite.SetContext(std::string("Language=") + c.language + ";");
        SubSysGroup group;
        EXPECT_EQ(OffsetOf([&] { (group.*c.setter)(c.name); }), c.error);
        EXPECT_EQ(group.DictName() == nullptr, c.error != 0) << "a refused name is not kept";
    }
    SubSysGroup english;
    english.Name("财务会计");
    EXPECT_EQ(english.NameEN(), "财务会计");

    // CancelCheck admits a taken name, but never one that is no text.
    SubSysGroup group;
    group.CancelCheck(true);
    group.NameCHS("财务会计");
    EXPECT_EQ(OffsetOf([&] { group.NameCHS(std::string("ab\xC3", 3)); }), 1040);
    EXPECT_EQ(OffsetOf([&] { group.DictName(Names("甲", "乙", "\xFF")); }), 1040);
    EXPECT_EQ(group.NameCHS(), "财务会计");
    group.CancelCheck(false);
    EXPECT_EQ(OffsetOf([&] { group.NameCHS("财务会计"); }), 1014);
}

TEST_F(SubSysGroupRules, DictNameChecksEveryLanguageInOrderExcludingOnlyAnExistingGroup) {
    SubSysGroup existing;
    ASSERT_TRUE(existing.initial(850));
    existing.CancelCheck(true);  // DictName checks anyway
    const DictionaryPtr own = Names("定制扩展", "定制擴展", "Custom");
    existing.DictName(own);
    EXPECT_EQ(existing.DictName(), own);  // the object itself, not a copy
    EXPECT_EQ(OffsetOf([&] { existing.DictName(Names("新分组", "行業套件", "Finance")); }), 1024);
    EXPECT_EQ(OffsetOf([&] { existing.DictName(Names("新分组", "新分組", "Finance")); }), 1034);

    // An absent language counts as an empty name, which collides with any other empty name.
    suite.datasInfo->groups.push_back({870, "甲", "", "", 40, true, 1, std::nullopt});
    auto partial = Dictionary::Create();
    partial->Item("CHS", "乙");
    partial->Item("EN", "B");
    EXPECT_EQ(OffsetOf([&] { existing.DictName(partial); }), 1024);
    EXPECT_EQ(existing.DictName(), own);
    existing.DictName(nullptr);
    EXPECT_EQ(existing.DictName(), nullptr);

    SubSysGroup added;
    added.Id(860);
    EXPECT_EQ(OffsetOf([&] { added.DictName(own); }), 1014);
    EXPECT_EQ(added.DictName(), nullptr);
}

}  // namespace
}  // namespace quarn::subsysmgr
