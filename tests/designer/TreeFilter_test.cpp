#include "TreeFilter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quarn::designer {
namespace {

using subsysmgr::Console;
using subsysmgr::Viewer;
using subsysmgr::exchange::Names;
using ::testing::ElementsAre;

StoredSubSystem SubSystem(int32_t id, Names names, std::vector<int32_t> accountTypes = {1},
                          bool visible = true) {
    return {{id, 850, "", std::move(names), 0, visible, false, std::move(accountTypes)}, 1};
}

TreeMatch FoundGroup(int32_t id) {
    return {{TreeItemRef::Kind::Group, id}, id};
}

TreeMatch FoundSubSystem(int32_t id, int32_t group = 850) {
    return {{TreeItemRef::Kind::SubSystem, id}, group};
}

// What matches is the store's to find; the filter marks what it found, by kind.
TEST(TreeFilter, MarksWhatTheStoreFoundByKindAndNothingWithoutASearch) {
    TreeFilter filter;
    filter.Search("2", {FoundGroup(2), FoundSubSystem(8002, 851)});
    EXPECT_TRUE(filter.Matches({TreeItemRef::Kind::Group, 2}));
    EXPECT_FALSE(filter.Matches({TreeItemRef::Kind::SubSystem, 2}));
    EXPECT_TRUE(filter.Matches({TreeItemRef::Kind::SubSystem, 8002}));
    EXPECT_FALSE(filter.Matches({TreeItemRef::Kind::Group, 8002}));
    EXPECT_THAT(filter.FoundGroups(), ::testing::UnorderedElementsAre(2, 851));
    filter.Search("", {});
    EXPECT_FALSE(filter.Narrows());
    EXPECT_FALSE(filter.Matches({TreeItemRef::Kind::Group, 2}));
    EXPECT_TRUE(filter.FoundGroups().empty());
}

TEST(TreeFilter, ASearchShowsTheMatchesWithTheirGroupAndAMatchedGroupWhole) {
    const StoredGroup group{{850, {"生产", "生產", "Production"}, 0, true, false, {1}}, 1};
    const std::vector<StoredSubSystem> subSystems{
        SubSystem(8001, {"车间", "車間", "Workshop"}),
        SubSystem(8002, {"设备巡检", "設備巡檢", "Patrol"}),
        SubSystem(8003, {"质检", "質檢", "Quality"}, {2})};
    TreeFilter filter;
    TreeFilter::GroupView view;

    filter.Narrow(group, subSystems, view);
    EXPECT_TRUE(view.shown);
    EXPECT_FALSE(view.narrowed);

    filter.Search("patrol", {FoundSubSystem(8002)});
    filter.Narrow(group, subSystems, view);
    EXPECT_TRUE(view.shown && view.hasMatches && view.narrowed && !view.matched);
    EXPECT_THAT(view.subSystems, ElementsAre(1));
    EXPECT_EQ(view.matches, 1);

    filter.Search("Production", {FoundGroup(850)});
    filter.Narrow(group, subSystems, view);
    EXPECT_TRUE(view.shown && view.matched && !view.hasMatches && !view.narrowed);
    EXPECT_EQ(view.matches, 1);

    filter.Search(
        "8", {FoundGroup(850), FoundSubSystem(8001), FoundSubSystem(8002), FoundSubSystem(8003)});
    filter.Narrow(group, subSystems, view);
    EXPECT_FALSE(view.narrowed);
    EXPECT_EQ(view.matches, 4);

    filter.Search("nowhere", {});
    filter.Narrow(group, subSystems, view);
    EXPECT_FALSE(view.shown);
    EXPECT_TRUE(view.subSystems.empty());
}

TEST(TreeFilter, APreviewShowsWhatTheViewerIsShownAndTheSearchLooksOnlyThere) {
    const StoredGroup group{{850, {"生产", "生產", "Production"}, 0, true, false, {1, 2}}, 1};
    const std::vector<StoredSubSystem> subSystems{
        SubSystem(8001, {"车间", "車間", "Workshop"}, {1}),
        SubSystem(8002, {"设备巡检", "設備巡檢", "Patrol"}, {2}),
        SubSystem(8003, {"质检", "質檢", "Quality"}, {}),  // for every account type
        SubSystem(8004, {"仓库", "倉庫", "Store"}, {1}, false)};
    TreeFilter filter;
    TreeFilter::GroupView view;

    filter.ShowTo(Viewer{1, Console::Main});
    filter.Narrow(group, subSystems, view);
    EXPECT_TRUE(view.shown && view.narrowed);
    EXPECT_THAT(view.subSystems, ElementsAre(0, 2));
    EXPECT_EQ(view.matches, 0);

    // A matched group keeps only what the preview shows; a match hidden by it is no match.
    filter.Search("8", {FoundGroup(850), FoundSubSystem(8001), FoundSubSystem(8002),
                        FoundSubSystem(8003), FoundSubSystem(8004)});
    filter.Narrow(group, subSystems, view);
    EXPECT_TRUE(view.matched);
    EXPECT_THAT(view.subSystems, ElementsAre(0, 2));
    EXPECT_EQ(view.matches, 3);
    filter.Search("patrol", {FoundSubSystem(8002)});
    filter.Narrow(group, subSystems, view);
    EXPECT_FALSE(view.shown);

    // The group itself hidden from the viewer hides everything under it.
    filter.Search("", {});
    filter.ShowTo(Viewer{3, Console::Main});
    filter.Narrow(group, subSystems, view);
    EXPECT_FALSE(view.shown);
    filter.ShowTo(Viewer{1, Console::Web});
    filter.Narrow(group, subSystems, view);
    EXPECT_FALSE(view.shown);
}

}  // namespace
}  // namespace quarn::designer
