#include <gtest/gtest.h>

#include "host/ProgIds.h"
#include "model/ModelFixture.h"
#include "model/SubSystem.h"

namespace quarn::subsysmgr {
namespace {

using SubSystemListings = ModelFixture;

const std::string kContext = "DB=demo;Language=CHS;";

SubSystemPtr Subsystem8001() {
    auto s = SubSystem::Create();
    s->SubSystemGroupID(850);
    s->CancelCheck(true);
    s->Id(8001);
    return s;
}

RecordsetPtr Reports(const std::vector<std::tuple<int32_t, std::string, int32_t>>& reports) {
    std::vector<RecordTable::Row> rows;
    for (const auto& [id, name, type] : reports) {
        rows.push_back({id, name, type});
    }
    return Recordset::Create({"FID", "FName", "FType"}, std::move(rows));
}

std::vector<int32_t> IdsOf(const Variant& list) {
    std::vector<int32_t> ids;
    for (const Variant& item : list.AsVector()->Items()) {
        ids.push_back(item.AsDictionary()->Item("FID").ToInt32());
    }
    return ids;
}

TEST_F(SubSystemListings, GetAllBusObjectAsksEachServiceAddsOneKindPerEntryAndIsFetchedOnce) {
    auto s = Subsystem8001();
    suite.classInfo->answerGetClassType = [](const std::string& selection) {
        auto types = Vector::Create();
        auto type = Dictionary::Create();
        type->Item("FID", selection.find("FBillTypeID=1") != std::string::npos ? 1 : 2);
        types->Add(type);
        return types;
    };
    suite.classDefineInfo->answerWorkFlows = [](const std::string&) {
        return fakes::EntryRows({{40, "流程"}, {41, "流程二"}});
    };
    suite.rptAction->answerReports = [] { return Reports({{50, "日报", 1000}}); };
    suite.calls->Clear();

    const VectorPtr objects = s->GetAllBusObject();
    const auto classTypes = suite.calls->CallsTo("GetClassType");
    ASSERT_EQ(classTypes.size(), 2u);
    EXPECT_EQ(classTypes[0].arguments,
              (std::vector<Variant>{kContext,
                                    "FID>0 And FBillTypeID Not In(5,6) And (FControl & 3)>2  "
                                    "and FBillTypeID=1 and FFunctionID=8001"}));
    EXPECT_EQ(classTypes[1].arguments,
              (std::vector<Variant>{kContext,
                                    "FID>-800 And FBillTypeID Not In(5,6) And (FControl & 3)>2  "
                                    "and FBillTypeID<> 1 and FFunctionID=8001"}));
    EXPECT_EQ(suite.calls->CallsTo("GetWorkFlows").at(0).arguments,
              (std::vector<Variant>{kContext, "  FSubSysID=8001"}));
    EXPECT_EQ(suite.calls->CallsTo("GetMultiCheckFlows").at(0).arguments,
              (std::vector<Variant>{kContext, int32_t{8001}}));
    EXPECT_EQ(suite.calls->CallsTo("GetReportRs").at(0).arguments,
              (std::vector<Variant>{kContext, int16_t{0}}));

    ASSERT_EQ(objects->Count(), 5u);
    const std::vector<std::string> kinds{"TBASE", "TBILL", "TMULTICHECK", "TFLOW", "TREPORT"};
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        SCOPED_TRACE(i);
        std::vector<std::string> keys;
        for (const auto& [key, value] : objects->Item(i).AsDictionary()->Entries()) {
            keys.push_back(key);
        }
        EXPECT_EQ(keys, std::vector<std::string>(kinds.begin(), kinds.begin() + i + 1));
    }
    const DictionaryPtr all = objects->Item(4).AsDictionary();
    EXPECT_EQ(IdsOf(all->Item("TBASE")), (std::vector<int32_t>{1}));
    EXPECT_EQ(IdsOf(all->Item("TBILL")), (std::vector<int32_t>{2}));
    EXPECT_EQ(IdsOf(all->Item("TFLOW")), (std::vector<int32_t>{40, 41}));
    const DictionaryPtr reports = all->Item("TREPORT").AsVector()->Item(0).AsDictionary();
    EXPECT_EQ(IdsOf(reports->Item("TREPORT_SQL")), (std::vector<int32_t>{50}));

    suite.calls->Clear();
    EXPECT_EQ(s->GetAllBusObject(), objects);
    EXPECT_TRUE(suite.calls->Calls().empty());
    EXPECT_EQ(suite.Creations(progid::kClassInfo), 2);
    EXPECT_EQ(suite.Creations(progid::kClassDefineInfo), 2);
    EXPECT_EQ(suite.Creations(progid::kRptAction), 1);
}

TEST_F(SubSystemListings, GetMultiCheckListsCopiesOfTheFlowsInRowOrderOrNothing) {
    auto s = Subsystem8001();
    suite.classDefineInfo->answerMultiCheckFlows = [](int32_t) {
        return fakes::EntryRows({{3, "三级审批"}, {1, "一级审批"}, {2, "二级审批"}});
    };
    const VectorPtr flows = s->GetMultiCheck();
    ASSERT_NE(flows, nullptr);
    EXPECT_EQ(Describe(flows->Item(0)), "FID=3;FName=三级审批;");
    EXPECT_NE(flows->Item(0).AsDictionary(), flows->Item(1).AsDictionary());
    flows->Item(0).AsDictionary()->Item("FID", 99);
    EXPECT_EQ(IdsOf(s->GetMultiCheck()), (std::vector<int32_t>{3, 1, 2}));

    suite.classDefineInfo->answerMultiCheckFlows = [](int32_t) { return RecordsetPtr(); };
    EXPECT_EQ(s->GetMultiCheck(), nullptr);
    suite.classDefineInfo->failures.FailOn("GetMultiCheckFlows");
    EXPECT_EQ(s->GetMultiCheck(), nullptr);  // without raising
}

TEST_F(SubSystemListings, GetReportSortsTheReportsByTypeAndGivesNothingWithoutAResult) {
    auto s = Subsystem8001();
    suite.rptAction->answerReports = [] {
        return Reports({{1, "日报", 1000},
                        {2, "交叉表", 1002},
                        {3, "新交叉表", 1001},
                        {4, "其他", 0},
                        {5, "汇总", 2000}});
    };
    const VectorPtr result = s->GetReport();
    ASSERT_EQ(result->Count(), 1u);
    const DictionaryPtr groups = result->Item(0).AsDictionary();
    EXPECT_EQ(groups->Count(), 3u);
    EXPECT_EQ(IdsOf(groups->Item("TREPORT_SQL")), (std::vector<int32_t>{1}));
    EXPECT_EQ(IdsOf(groups->Item("TREPORT_CROSS")), (std::vector<int32_t>{2}));
    EXPECT_EQ(IdsOf(groups->Item("TREPORT_NEWCROSS")), (std::vector<int32_t>{3, 4, 5}));

    suite.rptAction->answerReports = nullptr;  // no reports at all: three empty lists
    const DictionaryPtr empty = s->GetReport()->Item(0).AsDictionary();
    for (const char* key : {"TREPORT_SQL", "TREPORT_CROSS", "TREPORT_NEWCROSS"}) {
        EXPECT_EQ(empty->Item(key).AsVector()->Count(), 0u) << key;
    }
    suite.rptAction->answerReports = [] { return RecordsetPtr(); };
    EXPECT_EQ(s->GetReport(), nullptr);
    suite.rptAction->failures.FailOn("GetReportRs");
    EXPECT_EQ(s->GetReport(), nullptr);
}

TEST_F(SubSystemListings, AFailedListingIsNotCachedAndIsFetchedAgain) {
    struct Case {
        const char* member;
        fakes::FailureSwitch* failures;
        bool ownErrorPassesThrough;
    };
    const Case cases[] = {
        {"GetClassType", &suite.classInfo->failures, false},
        {"GetMultiCheckFlows", &suite.classDefineInfo->failures, false},
        {"GetWorkFlows", &suite.classDefineInfo->failures, true},
        {"GetReportRs", &suite.rptAction->failures, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.member);
        auto s = Subsystem8001();
        c.failures->FailOn(c.member);
        const ComError error = ErrorOf([&] { s->GetAllBusObject(); });
        EXPECT_NE(error.Number(), 0);
        EXPECT_EQ(error.Number() == fakes::kInjectedFailure, c.ownErrorPassesThrough);
        EXPECT_EQ(error.Source() == std::string("ClassDefineInfo.") + c.member,
                  c.ownErrorPassesThrough);

        c.failures->Heal(c.member);
        suite.calls->Clear();
        const VectorPtr objects = s->GetAllBusObject();
        ASSERT_NE(objects, nullptr);
        EXPECT_EQ(objects->Count(), 5u);
        EXPECT_EQ(suite.calls->CountOf(c.member),
                  c.member == std::string("GetClassType") ? 2u : 1u);
        EXPECT_EQ(s->GetAllBusObject(), objects);
    }
}

TEST_F(SubSystemListings, MissingComponentsGiveNoListingWithoutRaising) {
    auto s = Subsystem8001();
    suite.Uninstall(progid::kClassInfo);
    suite.Uninstall(progid::kClassDefineInfo);
    suite.Uninstall(progid::kRptAction);
    EXPECT_EQ(s->GetBill(), nullptr);
    EXPECT_EQ(s->GetMultiCheck(), nullptr);
    EXPECT_EQ(s->GetReport(), nullptr);
    EXPECT_THROW(s->GetAllBusObject(), ComError);
}

}  // namespace
}  // namespace quarn::subsysmgr
