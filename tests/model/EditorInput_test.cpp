// The editors' checks, once for every way in (the dialogs and the command line hand their fields
// to these objects): each check's number, message and field, and their order.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "model/GroupInput.h"
#include "model/ModelFixture.h"
#include "model/SubSysGroup.h"
#include "model/SubSystemInput.h"

namespace quarn::subsysmgr {
namespace {

class EditorInputs : public ModelFixture {
  protected:
    EditorInputs() {
        suite.datasInfo->accountTypes = {
            {1, "工业企业"}, {3, "集团公司"}, {7, "保留一"}, {8, "保留二"}, {13, "小企业"}};
    }

    // An addition that saves as it is.
    GroupInput ValidGroup() {
        GroupInput input(suite.module, kStatusAdd);
        input.id = 860;
        input.nameCHS = "新分组";
        input.nameCHT = "新分組";
        input.nameEN = "New Group";
        return input;
    }
    SubSystemInput ValidSubSystem() {
        SubSystemInput input(suite.module, kStatusAdd);
        input.id = 8050;
        input.group = 850;
        input.number = "code";
        input.nameCHS = "新子系统";
        input.nameCHT = "新子系統";
        input.nameEN = "New Subsystem";
        return input;
    }
};

template <typename Input>
struct Case {
    const char* what;
    std::function<void(Input&)> spoil;
    int32_t offset;
    std::string message;
    InputField field;
};

template <typename Input>
void ExpectRefusals(const std::function<Input()>& valid, const std::vector<Case<Input>>& cases,
                    fakes::FakeSuite& suite) {
    for (const auto& [what, spoil, offset, message, field] : cases) {
        SCOPED_TRACE(what);
        Input input = valid();
        spoil(input);
        suite.calls->Clear();
        const auto failure = input.Save();
        ASSERT_TRUE(failure.has_value());
        EXPECT_EQ(failure->error.Offset(), offset);
        EXPECT_EQ(failure->error.Description(), message);
        EXPECT_EQ(failure->field, field);
        EXPECT_EQ(suite.calls->CountOf("CreateTopClass") + suite.calls->CountOf("CreateSubSys"),
                  0u);
    }
}

TEST_F(EditorInputs, EachGroupCheckReportsItsNumberMessageAndFieldFirstFailureFirst) {
    const std::string tooLong(41, 'x');
    ExpectRefusals<GroupInput>(
        [this] { return ValidGroup(); },
        {
            {"no account type, before everything",
             [](auto& in) {
                 in.accountTypes.clear();
                 in.id = 950;
                 in.nameCHS.clear();
             },
             1016, "[CHS]子系统分组应该至少属于一种账套类型！", InputField::AccountTypes},
            {"a reserved account type",
             [](auto& in) {
                 in.accountTypes = {1, 7};
             },
             2307, "[CHS]账套类型 7 不存在或不可选择。", InputField::AccountTypes},
            {"code out of range", [](auto& in) { in.id = 950; }, 1007,
             "[CHS]被新增修改的子系统分组的代码值范围应该是（800~899）！", InputField::Id},
            {"code taken", [](auto& in) { in.id = 851; }, 1012,
             "[CHS]指定的分组代码已存在，请重新指定！", InputField::Id},
            {"blank name", [](auto& in) { in.nameCHS = "   "; }, 1010, "[CHS]必须录入分组名称！",
             InputField::NameCHS},
            {"empty English name after a forbidden character",
             [](auto& in) {
                 in.nameCHS = "a%b";
                 in.nameEN.clear();
             },
             1030, "[CHS]必须录入分组名称(英文)！", InputField::NameEN},
            {"41 characters", [&](auto& in) { in.nameCHT = tooLong; }, 2306,
             "[CHS][CHS]子系统分组名称(繁体) 不能超过 40 个字符。", InputField::NameCHT},
            {"a newline", [](auto& in) { in.nameEN = "two\nlines"; }, 1040,
             "[CHS]输入的子系统分组名称不是有效的文本！", InputField::NameEN},
            {"invalid UTF-8", [](auto& in) { in.nameCHS = "\xC3("; }, 1040,
             "[CHS]输入的子系统分组名称不是有效的文本！", InputField::NameCHS},
            {"forbidden characters: the first of the list is named, the focus stays",
             [](auto& in) { in.nameCHT = "%_'"; }, 1009,
             "[CHS]录入的分组名称中不允许包含字符(繁体) ' !", InputField::None},
            {"an apostrophe, before the name is compared",
             [](auto& in) { in.nameEN = "O'Brien Packs "; }, 1009,
             "[CHS]录入的分组名称中不允许包含字符(英文) ' !", InputField::None},
            {"name taken", [](auto& in) { in.nameCHT = "定制擴展"; }, 1024,
             "[CHS]输入的子系统分组名称(繁体)已存在,请重新指定！", InputField::NameCHT},
            {"display order", [](auto& in) { in.index = 1001; }, 2305,
             "[CHS][CHS]子系统分组序号 必须介于 0 和 1000 之间，而不是 1001。", InputField::Index},
        },
        suite);
}

TEST_F(EditorInputs, EachSubsystemCheckReportsItsNumberMessageAndFieldFirstFailureFirst) {
    ExpectRefusals<SubSystemInput>(
        [this] { return ValidSubSystem(); },
        {
            {"no account type, before everything",
             [](auto& in) {
                 in.accountTypes.clear();
                 in.id = 8003;
                 in.nameEN.clear();
             },
             1015, "[CHS]子系统应该至少属于一种账套类型！", InputField::AccountTypes},
            {"code taken", [](auto& in) { in.id = 8003; }, 1011,
             "[CHS]指定的子系统代码已存在，请重新指定！", InputField::Id},
            {"code out of range", [](auto& in) { in.id = 9000; }, 1001,
             "[CHS]被新增修改的子系统的代码值范围应该是（8000~8999）！", InputField::Id},
            {"blank name", [](auto& in) { in.nameCHS = " "; }, 1009, "[CHS]必须录入子系统名称！",
             InputField::NameCHS},
            {"a tab in the short code", [](auto& in) { in.number = "a\tb"; }, 1040,
             "[CHS]输入的子系统代号不是有效的文本！", InputField::Number},
            {"a short code of 41 characters", [](auto& in) { in.number = std::string(41, 'c'); },
             2306, "[CHS][CHS]子系统代号 不能超过 40 个字符。", InputField::Number},
            {"a forbidden character in the short code names the simplified name",
             [](auto& in) {
                 in.number = "a_b";
                 in.nameEN = "x%y";
             },
             1009, "[CHS]录入的子系统代号中不允许包含字符 _ !", InputField::NameCHS},
            {"a sibling's English name", [](auto& in) { in.nameEN = "Patrol"; }, 1033,
             "[CHS]子系统名称(英文)已存在,请重新指定！", InputField::NameEN},
            {"display order", [](auto& in) { in.index = -1; }, 2305,
             "[CHS][CHS]子系统序号 必须介于 0 和 1000 之间，而不是 -1。", InputField::Index},
        },
        suite);
}

TEST_F(EditorInputs, OffersTheAccountTypesOfTheLanguageAndTheNextFreeCodeOfTheMode) {
    GroupInput group(suite.module, kStatusAdd);
    std::vector<int32_t> offered;
    for (const AccountTypeOffer& offer : group.OfferedAccountTypes()) {
        offered.push_back(offer.code);
    }
    EXPECT_EQ(offered, (std::vector<int32_t>{1, 3, 13}));
    EXPECT_EQ(group.accountTypes, std::vector<int32_t>{1});
    EXPECT_EQ(group.NextFreeCode(), 800);
    suite.datasInfo->groups.push_back({800, "甲", "甲", "A", 1, true, 0, ",1,"});
    suite.datasInfo->groups.push_back({801, "乙", "乙", "B", 1, true, 0, ",1,"});
    EXPECT_EQ(group.NextFreeCode(), 802);
    EXPECT_EQ(GroupInput(suite.module, kStatusAdd, true).NextFreeCode(), 10000);

    SubSystemInput subSystem(suite.module, kStatusAdd);
    EXPECT_EQ(subSystem.NextFreeCode(), 8000);
    suite.datasInfo->subSystems.push_back(fakes::VisibleSubSystem(8000, 850, "甲", "甲", "A", 9));
    EXPECT_EQ(subSystem.NextFreeCode(), 8006);  // 8001-8005 are taken
    EXPECT_EQ(SubSystemInput(suite.module, kStatusAdd, true).NextFreeCode(), 100000);

    for (const char* context : {"DB=demo;Language=EN;", "DB=demo;"}) {  // 13: simplified only
        SCOPED_TRACE(context);
        suite.SetContext(context);
        suite.module->languageCache.clear();
        EXPECT_EQ(GroupInput(suite.module, kStatusAdd).OfferedAccountTypes().size(), 2u);
    }
}

TEST_F(EditorInputs, EveryAttemptIsJudgedAsEnteredNowAndAWriteTheStoreRefusedMayBeRepeated) {
    const auto offsetOfSave = [](EditorInput& input) {
        const auto failure = input.Save();
        return failure ? failure->error.Offset() : 0;
    };
    GroupInput group = ValidGroup();
    group.nameCHS.clear();
    EXPECT_EQ(offsetOfSave(group), 1010);  // the code 860 passed as new
    group.nameCHS = "新分组";
    group.id = 851;  // judged anew, not by what the last attempt left
    EXPECT_EQ(offsetOfSave(group), 1012);
    group.id = 860;
    suite.datasUpdate->failures.FailOnce("CreateTopClass");
    EXPECT_TRUE(group.Save().has_value());  // refused by the store, nothing written
    EXPECT_EQ(offsetOfSave(group), 0);

    SubSystemInput subSystem = ValidSubSystem();
    suite.datasUpdate->failures.FailOnce("CreateSubSys");
    EXPECT_EQ(offsetOfSave(subSystem), 1041);
    EXPECT_EQ(offsetOfSave(subSystem), 0);
    EXPECT_EQ(suite.datasInfo->groups.size(), 4u);
    EXPECT_EQ(suite.datasInfo->subSystems.size(), 8u);
}

TEST_F(EditorInputs, AnEditKeepsItsOwnCodeAndNamesAndSavesTheChosenFields) {
    auto group = std::make_shared<SubSysGroup>(suite.module);
    ASSERT_TRUE(group->initial(5));
    GroupInput editGroup(suite.module, kStatusEdit);
    editGroup.Load(group);
    EXPECT_EQ(editGroup.accountTypes, std::vector<int32_t>{1});  // 2 is not offered
    editGroup.index = 31;
    EXPECT_FALSE(editGroup.Validate().has_value());
    EXPECT_EQ(group->Index(), 31);

    auto owner = std::make_shared<SubSysGroup>(suite.module);
    owner->Id(850);
    SubSystemInput editSubSystem(suite.module, kStatusEdit);
    editSubSystem.Load(owner, owner->GetSubSystem(8003, false));
    editSubSystem.nameEN = "  Stores ";  // its own name, trimmed
    editSubSystem.accountTypes = {1, 3};
    EXPECT_FALSE(editSubSystem.Validate().has_value());  // its own names, among its siblings
    editSubSystem.group = 851;
    EXPECT_FALSE(editSubSystem.Save().has_value());
    EXPECT_EQ(editSubSystem.Edited()->NameEN(), "Stores");
    EXPECT_EQ(editSubSystem.Edited()->FitAccountType(), ",1,3,");
    EXPECT_EQ(editSubSystem.Edited()->SubSystemGroupID(), 851);
}

}  // namespace
}  // namespace quarn::subsysmgr
