#include <gtest/gtest.h>

#include "host/ProgIds.h"
#include "model/ModelFixture.h"
#include "model/SubSystem.h"

namespace quarn::subsysmgr {
namespace {

using SubSystemListings = ModelFixture;

SubSystemPtr Subsystem8001() {
    auto s = SubSystem::Create();
    s->SubSystemGroupID(850);
    s->CancelCheck(true);
    s->Id(8001);
    return s;
}

// What the services list, and which entry goes to which kind, the store tests check on the demo
// data; here: the shape of the result and what happens without one.
TEST_F(SubSystemListings, GetAllBusObjectAddsOneKindPerEntryAndIsFetchedOnce) {
    auto s = Subsystem8001();
    const VectorPtr objects = s->GetAllBusObject();
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

    EXPECT_EQ(s->GetAllBusObject(), objects);
}

TEST_F(SubSystemListings, SingleListingsGiveNothingWithoutAResultAFailingOrAMissingService) {
    auto s = Subsystem8001();
    // No reports at all: three empty lists.
    const DictionaryPtr empty = s->GetReport()->Item(0).AsDictionary();
    for (const char* key : {"TREPORT_SQL", "TREPORT_CROSS", "TREPORT_NEWCROSS"}) {
        EXPECT_EQ(empty->Item(key).AsVector()->Count(), 0u) << key;
    }
    suite.classDefineInfo->answerMultiCheckFlows = [](int32_t) { return RecordsetPtr(); };
    suite.rptAction->answerReports = [] { return RecordsetPtr(); };
    EXPECT_EQ(s->GetMultiCheck(), nullptr);
    EXPECT_EQ(s->GetReport(), nullptr);
    suite.classDefineInfo->failures.FailOn("GetMultiCheckFlows");
    suite.rptAction->failures.FailOn("GetReportRs");
    EXPECT_EQ(s->GetMultiCheck(), nullptr);  // without raising
    EXPECT_EQ(s->GetReport(), nullptr);

    suite.Uninstall(progid::kClassInfo);
    suite.Uninstall(progid::kClassDefineInfo);
    suite.Uninstall(progid::kRptAction);
    EXPECT_EQ(s->GetBill(), nullptr);
    EXPECT_EQ(s->GetMultiCheck(), nullptr);
    EXPECT_EQ(s->GetReport(), nullptr);
    EXPECT_THROW(s->GetAllBusObject(), ComError);
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
        const VectorPtr objects = s->GetAllBusObject();
        ASSERT_NE(objects, nullptr);
        EXPECT_EQ(objects->Count(), 5u);
        EXPECT_EQ(s->GetAllBusObject(), objects);
    }
}

}  // namespace
}  // namespace quarn::subsysmgr
