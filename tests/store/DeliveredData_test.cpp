// The data a new database starts with obeys the rules the editors enforce: every group and
// subsystem of it can be opened in its editor and saved unchanged.

#include <gtest/gtest.h>

#include "StoreFixture.h"
#include "model/GroupInput.h"
#include "model/SubSysGroup.h"
#include "model/SubSystemInput.h"

namespace quarn::suite {
namespace {

using namespace subsysmgr;

class DeliveredData : public StoreTest {};

// An item stored without account types (or only with ones the editors do not offer) is open to
// every account type; its editor asks the user to choose, as for a new item.
void ChooseOneWhereNoneIsStored(EditorInput& input) {
    if (input.accountTypes.empty()) {
        input.accountTypes = input.DefaultAccountTypes();
    }
}

TEST_P(DeliveredData, EveryStoredItemPassesTheEditorsChecks) {
    const auto groups = Stored("SELECT FTopClassID FROM t_DataFlowTopClass ORDER BY 1");
    ASSERT_GT(groups->RowSpan(), 0u);
    for (std::size_t row = 0; row < groups->RowSpan(); ++row) {
        const int32_t id = groups->Value(row, 0).ToInt32();
        SCOPED_TRACE("group " + std::to_string(id));
        auto group = std::make_shared<SubSysGroup>(module);
        ASSERT_TRUE(group->initial(id));
        GroupInput input(module, kStatusEdit);
        input.Load(group);
        ChooseOneWhereNoneIsStored(input);
        const auto failure = input.Validate();
        EXPECT_FALSE(failure.has_value()) << failure->error.Description();
    }

    const auto subSystems =
        Stored("SELECT FSubSysID, FTopClassID FROM t_DataFlowSubSystem ORDER BY 1");
    ASSERT_GT(subSystems->RowSpan(), 0u);
    for (std::size_t row = 0; row < subSystems->RowSpan(); ++row) {
        const int32_t id = subSystems->Value(row, 0).ToInt32();
        SCOPED_TRACE("subsystem " + std::to_string(id));
        auto owner = std::make_shared<SubSysGroup>(module);
        owner->Id(subSystems->Value(row, 1).ToInt32());
        SubSystemInput input(module, kStatusEdit);
        input.Load(owner, owner->GetSubSystem(id, false));
        ChooseOneWhereNoneIsStored(input);
        const auto failure = input.Validate();
        EXPECT_FALSE(failure.has_value()) << failure->error.Description();
    }
}

INSTANTIATE_TEST_SUITE_P(Stores, DeliveredData, ::testing::Values(Backend::SQLite), BackendName);

}  // namespace
}  // namespace quarn::suite
