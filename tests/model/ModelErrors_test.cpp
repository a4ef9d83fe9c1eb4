#include "model/ModelErrors.h"

#include <gtest/gtest.h>

#include "fakes/FakeSuite.h"
#include "foundation/ComError.h"

namespace quarn::subsysmgr {
namespace {

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
