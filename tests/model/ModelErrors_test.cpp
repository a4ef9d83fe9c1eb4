#include "model/ModelErrors.h"

#include <gtest/gtest.h>

#include <set>

#include "fakes/FakeSuite.h"
#include "foundation/ComError.h"

namespace quarn::subsysmgr {
namespace {

TEST(ModelErrors, EveryErrorHasItsNumberSourceAndLocalizedMessage) {
    const struct {
        const ErrorDefinition& error;
        int32_t number;
        std::string source;
    } expected[] = {
        {errors::kGroupLoadFailed, -2147220500, "SubSysGroup.initial"},
        {errors::kGroupListFailed, -2147220500, "SubSysGroup.GetAllSubSysGroup"},
        {errors::kGroupNotDeletable, -2147220498, "SubSysGroup.Deleted"},
        {errors::kGroupIdOutOfRange, -2147220497, "SubSysGroup.ID"},
        {errors::kGroupNotModifiable, -2147220496, "SubSysGroup.Modified"},
        {errors::kGroupNameTaken, -2147220490, "SubSysGroup.Name"},
        {errors::kGroupNameCHTTaken, -2147220480, "SubSysGroup.Name"},
        {errors::kGroupNameENTaken, -2147220470, "SubSysGroup.Name"},
        {errors::kGroupNameNotText, -2147220464, "SubSysGroup.Name"},
        {errors::kFillFailed, -2147220499, "SubSysGroup.FillSubSystem"},
        {errors::kSubSystemIdOutOfRange, -2147220503, "SubSystem.ID"},
        {errors::kSubSystemIdTaken, -2147220503, "SubSystem.ID"},
        {errors::kSubSystemNotModifiable, -2147220502, "SubSystem.Modified"},
        {errors::kSubSystemNotDeletable, -2147220501, "SubSystem.Deleted"},
        {errors::kSubSystemHasSubFunctions, -2147220501, "SubSystem.Deleted"},
        {errors::kSubSystemNameTaken, -2147220491, "SubSystem.Name"},
        {errors::kSubSystemNameCHTTaken, -2147220481, "SubSystem.Name"},
        {errors::kSubSystemNameENTaken, -2147220471, "SubSystem.Name"},
        {errors::kSubSystemNameNotText, -2147220464, "SubSystem.Name"},
        {errors::kGroupChangedElsewhere, -2147220462, "SubSysGroup.Save"},
        {errors::kSubSystemChangedElsewhere, -2147220462, "SubSystem.Save"},
        {errors::kRevertOverLaterChange, -2147220462, "ChangeRevert.Revert"},
        {errors::kChangeNotFound, -2147220461, "ChangeRevert.Revert"},
        {errors::kChangeOfDeliveredItem, -2147220460, "ChangeRevert.Revert"},
        {errors::kNoChangeLog, -2147220459, "ChangeHistory"},
        {errors::kChangeNotReverted, -2147220458, "ChangeRevert.Revert"},
        {errors::kChangeOfSeveralItems, -2147220457, "ChangeRevert.Revert"},
        {errors::kChangeSealBroken, -2147220456, "ChangeRevert.Revert"},
    };
    ASSERT_EQ(std::size(expected), errors::kAll.size());

    fakes::FakeSuite suite;
    suite.SetContext("Language=EN;");
    std::set<std::pair<int32_t, std::string>> seen;  // number, source and message together
    for (const auto& e : expected) {
        SCOPED_TRACE(e.source + " " + std::string(e.error.message));
        EXPECT_EQ(e.error.Number(), e.number);
        EXPECT_EQ(e.error.source, e.source);
        EXPECT_TRUE(seen.insert({e.number, e.source + std::string(e.error.message)}).second)
            << "taken for another error";
        try {
            RaiseLocalized(*suite.module, e.error);
        } catch (const ComError& raised) {
            EXPECT_EQ(raised.Number(), e.number);
            EXPECT_EQ(raised.Source(), e.source);
            EXPECT_EQ(raised.Description(), "[EN]" + std::string(e.error.message));
        }
    }
}

TEST(ModelErrors, AFailureOfTheStoreAddsItsReasonAndOtherCausesAddNothing) {
    fakes::FakeSuite suite;
    suite.SetContext("Language=EN;");
    const auto raisedWith = [&](const ComError& cause) {
        try {
            RaiseLocalized(*suite.module, errors::kGroupLoadFailed, std::make_exception_ptr(cause));
        } catch (const ComError& raised) {
            EXPECT_EQ(raised.Number(), errors::kGroupLoadFailed.Number());
            return raised.Description();
        }
        return std::string("not raised");
    };
    const std::string message = "[EN]" + std::string(errors::kGroupLoadFailed.message);
    EXPECT_EQ(raisedWith(ComError(ObjectError(2209), "Database", "The disk is full.")),
              message + " The disk is full.");
    EXPECT_EQ(raisedWith(ComError(fakes::kInjectedFailure, "Fake", "injected")), message);
    EXPECT_EQ(raisedWith(ComError(ObjectError(1013), "SubSystem.Name", "taken")), message);
}

}  // namespace
}  // namespace quarn::subsysmgr
