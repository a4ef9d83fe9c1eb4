// The tree's actions and the undo steps over the change log, without a window, on both stores:
// another user's work between our read and our write is refused alike by every action and never
// overwritten, and a step is undone and redone through the log.
#include "exchange/TreeActions.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "exchange/ChangeSteps.h"
#include "exchange/ExchangeText.h"
#include "exchange/MessageCollector.h"
#include "exchange/SubSystemWriter.h"
#include "exchange/TreeReader.h"
#include "store/StoreFixture.h"

namespace quarn::subsysmgr::exchange {
namespace {

using suite::Backend;
using Kind = TreeItemRef::Kind;

constexpr int32_t kChangedElsewhere = 1042;
constexpr int32_t kNoSuchGroup = 2303;

class TreeActionsTest : public suite::StoreTest {
  protected:
    void SetUp() override {
        suite::StoreTest::SetUp();
        if (!IsSkipped()) {
            text.emplace(host->Registry(), "EN");
        }
    }
    void TearDown() override {
        others_.clear();
        suite::StoreTest::TearDown();
    }

    // A second user's session on the same database; ours stays the current one.
    std::shared_ptr<ModuleState> Colleague() {
        others_.push_back(std::make_unique<suite::HostSession>(scratch->Spec(), "EN"));
        others_.back()->Activate();
        const auto other = others_.back()->Module();
        other->messageBox = std::make_shared<MessageCollector>();
        ModuleState::Install(module);
        return other;
    }
    // The offset of the error the action raised, or 0.
    template <class Action>
    static int32_t Refusal(Action&& action) {
        try {
            action();
        } catch (const ComError& error) {
            return error.Offset();
        }
        return 0;
    }
    bool Exists(Kind kind, int32_t id) const {
        return kind == Kind::Group
                   ? StoredCount("t_DataFlowTopClass", "FTopClassID = " + std::to_string(id)) == 1
                   : StoredCount("t_DataFlowSubSystem", "FSubSysID = " + std::to_string(id)) == 1;
    }

    std::optional<ExchangeText> text;

  private:
    std::vector<std::unique_ptr<suite::HostSession>> others_;
};

// The version of the subsystem as our window shows it.
int64_t SeenVersion(const std::shared_ptr<ModuleState>& module, int32_t id) {
    for (const auto& stored : TreeReader(module).StoredSubSystems()) {
        if (stored.item.id == id) {
            return stored.version;
        }
    }
    return -1;
}

TEST_P(TreeActionsTest, AnotherUsersDeletionOrChangeIsRefusedAlikeByOneAndBySeveral) {
    TreeActions actions(module, *text);
    for (const int32_t id : {8020, 8021}) {
        const std::string name = "Scratch " + std::to_string(id);
        SubSystemWriter(module, *text).Add({id, 850, "", {name, name, name}, 90, true, false, {1}});
    }
    const int64_t seen8020 = SeenVersion(module, 8020);
    const int64_t seen8021 = SeenVersion(module, 8021);
    const auto other = Colleague();
    TreeActions(other, *text).Delete({Kind::Group, 852});
    for (const int32_t id : {8020, 8021}) {
        SubSystemWriter(other, *text).Edit(id, [](SubSystemItem& item) { item.web = !item.web; });
    }

    EXPECT_EQ(Refusal([&] { actions.Delete({Kind::Group, 852}); }), kNoSuchGroup);
    const std::vector<ItemOutcome> outcomes =
        actions.Delete({{Kind::Group, 852}, {Kind::SubSystem, 8010}});
    ASSERT_EQ(outcomes.size(), 2u);
    EXPECT_TRUE(outcomes[0].done);  // subsystems first
    ASSERT_TRUE(outcomes[1].error);
    EXPECT_EQ(outcomes[1].error->Offset(), kNoSuchGroup);
    EXPECT_EQ(outcomes[1].refusal, "There is no subsystem group 852.");

    // The colleague's change is kept: deleting what we saw before it is refused with when and
    // by whom, alone or among several.
    EXPECT_EQ(Refusal([&] {
                  actions.Delete({Kind::SubSystem, 8020}, seen8020);
              }),
              kChangedElsewhere);
    const std::vector<ItemOutcome> stale = actions.Delete({{Kind::SubSystem, 8021}}, {seen8021});
    ASSERT_TRUE(stale.front().error);
    EXPECT_EQ(stale.front().error->Offset(), kChangedElsewhere);
    EXPECT_NE(stale.front().refusal.find("Someone else changed"), std::string::npos)
        << stale.front().refusal;
    EXPECT_TRUE(Exists(Kind::SubSystem, 8020) && Exists(Kind::SubSystem, 8021));
}

TEST_P(TreeActionsTest, AStepIsUndoneAndRedoneThroughTheLogAndRefusedOverAColleaguesChange) {
    ChangeSteps steps(module);
    std::vector<ChangeMade> step;
    const std::vector<TreeItemRef> items{{Kind::SubSystem, 8004}, {Kind::SubSystem, 8010}};
    steps.Record(
        items, [&](std::vector<TreeItemRef>&) { TreeActions(module, *text).Delete(items); },
        [&](std::vector<ChangeMade> made) { step = std::move(made); });
    ASSERT_EQ(step.size(), 2u);
    EXPECT_FALSE(step[0].present);
    EXPECT_LT(step[0].change, step[1].change);

    ChangeSteps::Reverted undone = steps.Revert(step);
    EXPECT_FALSE(undone.failure);
    EXPECT_TRUE(Exists(Kind::SubSystem, 8004) && Exists(Kind::SubSystem, 8010));
    ASSERT_EQ(undone.done.size(), 2u);
    EXPECT_NO_THROW(steps.CheckCurrent(undone.done));

    // A colleague changes one of the restored items: redo must not delete their change.
    SubSystemWriter(Colleague(), *text).Edit(8010, [](SubSystemItem& item) { item.index += 1; });
    EXPECT_EQ(Refusal([&] { steps.CheckCurrent(undone.done); }), kChangedElsewhere);
    EXPECT_TRUE(Exists(Kind::SubSystem, 8010));
}

INSTANTIATE_TEST_SUITE_P(Stores, TreeActionsTest,
                         ::testing::Values(Backend::SQLite, Backend::PostgreSQL),
                         suite::BackendName);

}  // namespace
}  // namespace quarn::subsysmgr::exchange
