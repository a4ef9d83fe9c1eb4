#include <gtest/gtest.h>

#include "foundation/ComError.h"
#include "host/ProgIds.h"
#include "model/GroupFixture.h"
#include "model/SubSysGroup.h"

namespace quarn::subsysmgr {
namespace {

using SubSysGroupListing = GroupFixture;

TEST_F(SubSysGroupListing, ListsEveryGroupInDisplayOrderWithItsFiveKeys) {
    SubSysGroup group;
    const VectorPtr list = group.GetAllSubSysGroup();
    ASSERT_EQ(list->Count(), 3u);
    std::vector<int32_t> ids;
    for (const Variant& item : list->Items()) {
        ids.push_back(item.AsDictionary()->Item("ID").ToInt32());
    }
    EXPECT_EQ(ids, (std::vector<int32_t>{850, 5, 851}));  // FIndex 10, 20, 30

    const DictionaryPtr first = list->Item(0).AsDictionary();
    std::vector<std::string> keys;
    for (const auto& [key, value] : first->Entries()) {
        keys.push_back(key);
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"ID", "Name", "FTopClassName_EN", "FTopClassName_CHT",
                                              "FShowSysType"}));
    EXPECT_EQ(first->Item("Name"), Variant("定制扩展"));
    EXPECT_EQ(first->Item("FShowSysType"), Variant(int32_t{1}));

    const auto query = suite.calls->CallsTo("GetData").at(0).arguments;
    EXPECT_EQ(query.at(0), Variant("DB=demo;Language=CHS;"));
    EXPECT_EQ(query.at(1), Variant("SELECT * FROM t_DataFlowTopClass Order By FIndex asc"));
}

TEST_F(SubSysGroupListing, EveryCallHandsOutCopies) {
    SubSysGroup group;
    const VectorPtr first = group.GetAllSubSysGroup();
    first->Item(0).AsDictionary()->Item("ID", 1);
    first->Add("extra");
    const VectorPtr second = group.GetAllSubSysGroup();
    EXPECT_EQ(second->Count(), 3u);
    EXPECT_EQ(second->Item(0).AsDictionary()->Item("ID"), Variant(int32_t{850}));
    EXPECT_NE(second->Item(0).AsDictionary(), second->Item(1).AsDictionary());
}

TEST_F(SubSysGroupListing, AnEmptyTableOrAClosedRecordsetGivesAnEmptyList) {
    SubSysGroup group;
    suite.datasInfo->groups.clear();
    EXPECT_EQ(group.GetAllSubSysGroup()->Count(), 0u);

    suite.classInfo->answerGetData = [](const std::string&) {
        auto closed = Recordset::Create({"FTopClassID"}, {{1}});
        closed->Close();
        return closed;
    };
    EXPECT_EQ(group.GetAllSubSysGroup()->Count(), 0u);
}

TEST_F(SubSysGroupListing, IsBracketedInTheLogAndEndsTheRecordBeforeRaising) {
    SubSysGroup group;
    suite.calls->Clear();
    group.GetAllSubSysGroup();
    EXPECT_EQ(suite.calls->CallsTo("LogStart").at(0).arguments.at(0),
              Variant("QuarnClassSubSysMgr.SubSysGroup.GetAllSubSysGroup"));
    EXPECT_EQ(suite.calls->CountOf("LogEnd"), 1u);

    suite.classInfo->failures.FailOn("GetData");
    suite.calls->Clear();
    try {
        group.GetAllSubSysGroup();
        FAIL() << "expected an error";
    } catch (const ComError& error) {
        EXPECT_EQ(error.Number(), -2147220500);
        EXPECT_EQ(error.Source(), "SubSysGroup.GetAllSubSysGroup");
        EXPECT_EQ(error.Description(), "[CHS]取子系统分组信息失败。");
    }
    const auto sequence = suite.calls->Sequence();
    const auto logEnd = std::find(sequence.begin(), sequence.end(), "Log.LogEnd");
    const auto lookup = std::find(sequence.begin(), sequence.end(), "ResLoader.LoadString");
    EXPECT_LT(logEnd, lookup);
}

TEST_F(SubSysGroupListing, AMissingColumnOrComponentIsAListingFailure) {
    SubSysGroup group;
    suite.classInfo->answerGetData = [](const std::string&) {
        return Recordset::Create({"FTopClassID"}, {{1}});
    };
    EXPECT_THROW(group.GetAllSubSysGroup(), ComError);

    suite.Uninstall(progid::kClassInfo);
    EXPECT_THROW(group.GetAllSubSysGroup(), ComError);
}

TEST_F(SubSysGroupListing, TheResultDoesNotDependOnLogging) {
    suite.Uninstall(progid::kLog);
    SubSysGroup group;
    EXPECT_EQ(group.GetAllSubSysGroup()->Count(), 3u);
    EXPECT_EQ(suite.calls->CountOf("LogStart"), 0u);
}

}  // namespace
}  // namespace quarn::subsysmgr
