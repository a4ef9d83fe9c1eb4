#include "VisibilityPreview.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "DesignerFixture.h"

namespace quarn::designer {
namespace {

using subsysmgr::Console;
using subsysmgr::IsShown;
using subsysmgr::ShownFields;
using subsysmgr::Viewer;

// "g850" for a group, "s8001" for a subsystem.
using Items = std::vector<std::string>;

struct StoredItem {
    int32_t id;
    int32_t group;  // a subsystem's
    bool visible;
    bool web;
    std::string accountTypes;

    ShownFields Fields() const { return {visible, web, accountTypes}; }
};

class VisibilityPreviewTest : public DesignerFixture {
  protected:
    void SetUp() override {
        DesignerFixture::SetUp();
        ASSERT_NE(window_, nullptr);
        chooser_ = window_->findChild<QComboBox*>(QStringLiteral("previewChooser"));
        status_ = window_->findChild<QLabel*>(QStringLiteral("previewStatus"));
        ASSERT_TRUE(chooser_ && status_);
    }

    std::vector<StoredItem> Stored(const std::string& table, const char* id,
                                   const char* group) const {
        std::vector<StoredItem> items;
        const RecordsetPtr rows = Query("select * from " + table + " order by " + std::string(id));
        for (; !rows->Eof(); rows->MoveNext()) {
            items.push_back({rows->Fields(id).ToInt32(), group ? rows->Fields(group).ToInt32() : 0,
                             rows->Fields("FVisible").ToBool(),
                             (rows->Fields("FShowSysType").ToInt32() & 2) == 2,
                             rows->Fields("FAcctType").TextOrEmpty()});
        }
        return items;
    }

    // What the viewer is shown, decided by the model's rule over the stored rows.
    Items Expected(const Viewer& viewer) const {
        std::map<int32_t, StoredItem> groups;
        Items items;
        for (const StoredItem& group : Stored("t_DataFlowTopClass", "FTopClassID", nullptr)) {
            groups.emplace(group.id, group);
            if (IsShown(group.Fields(), viewer)) {
                items.push_back("g" + std::to_string(group.id));
            }
        }
        for (const StoredItem& subSystem :
             Stored("t_DataFlowSubSystem", "FSubSysID", "FTopClassID")) {
            const auto group = groups.find(subSystem.group);
            if (group != groups.end() &&
                IsShown(subSystem.Fields(), group->second.Fields(), viewer)) {
                items.push_back("s" + std::to_string(subSystem.id));
            }
        }
        std::sort(items.begin(), items.end());
        return items;
    }

    // Every group and subsystem the tree shows, its groups' subsystems read.
    Items Walked() const {
        QAbstractItemModel& model = *tree_->model();
        Items items;
        for (int row = 0; row < model.rowCount(); ++row) {
            const QModelIndex group = model.index(row, 0);
            if (model.canFetchMore(group)) {
                model.fetchMore(group);
            }
            items.push_back("g" + group.data(kIdRole).toString().toStdString());
            for (int child = 0; child < model.rowCount(group); ++child) {
                items.push_back(
                    "s" + model.index(child, 0, group).data(kIdRole).toString().toStdString());
            }
        }
        std::sort(items.begin(), items.end());
        return items;
    }

    std::vector<int32_t> AccountTypes() const {
        std::vector<int32_t> types;
        for (const RecordsetPtr rows = Query("select FAcctType from t_AccountType order by 1");
             !rows->Eof(); rows->MoveNext()) {
            types.push_back(rows->Fields("FAcctType").ToInt32());
        }
        return types;
    }

    // Chooses the viewer as a user does in the toolbar's chooser, by its entry.
    void Choose(const std::optional<Viewer>& viewer) {
        auto* preview = window_->findChild<VisibilityPreview*>();
        ASSERT_TRUE(preview->Pick(viewer));
        EXPECT_EQ(preview->Chosen().has_value(), viewer.has_value());
    }

    QComboBox* chooser_ = nullptr;
    QLabel* status_ = nullptr;
};

TEST_F(VisibilityPreviewTest, EveryViewerSeesExactlyWhatTheRuleShowsThroughRefreshesAndFilters) {
    // Items that differ by console and account type beyond the demo's.
    OtherProcess({"edit", "subsystem", "8002", "--web", "true"});
    OtherProcess({"edit", "group", "851", "--visible", "false"});
    window_->Reload();
    const Items everything = Walked();
    const std::vector<int32_t> types = AccountTypes();
    ASSERT_GE(types.size(), 2u);
    EXPECT_EQ(chooser_->count(), static_cast<int>(1 + 2 * types.size()));
    // Open before the preview, to be open again after it.
    tree_->expand(tree_->model()->index(0, 0));

    int empty = 0;
    for (const int32_t type : types) {
        for (const Console console : {Console::Main, Console::Web}) {
            const Viewer viewer{type, console};
            SCOPED_TRACE(std::to_string(type) + (console == Console::Web ? " web" : " main"));
            Choose(viewer);
            EXPECT_EQ(Walked(), Expected(viewer));
            EXPECT_FALSE(status_->isHidden());
            EXPECT_THAT(status_->text().toStdString(),
                        ::testing::HasSubstr(console == Console::Web ? "web" : "main"));
            empty += Expected(viewer).empty() ? 1 : 0;
        }
    }
    // The grid is no trivial one: some viewers see something, and not all see everything.
    EXPECT_LT(empty, static_cast<int>(2 * types.size()));

    // Another user's change shows on refresh, still through the viewer's eyes.
    const Viewer commercial{2, Console::Main};
    Choose(commercial);
    ASSERT_THAT(Walked(), ::testing::Contains("s8004"));
    OtherProcess({"edit", "subsystem", "8004", "--acct-types", "1"});
    window_->Reload();
    EXPECT_THAT(Walked(), ::testing::Not(::testing::Contains("s8004")));
    EXPECT_EQ(Walked(), Expected(commercial));

    // Both apply: the filter within what the viewer sees.
    auto* filter = window_->findChild<QLineEdit*>(QStringLiteral("filter"));
    filter->setText(QStringLiteral("Store"));
    EXPECT_EQ(Walked(), (Items{"g850", "s8003"}));
    Choose(Viewer{1, Console::Main});  // 8003 is not for industry
    EXPECT_EQ(Walked(), Items{});
    filter->clear();
    EXPECT_EQ(Walked(), Expected(Viewer{1, Console::Main}));

    // Off: everything, with what was open before.
    Choose(std::nullopt);
    EXPECT_TRUE(status_->isHidden());
    EXPECT_EQ(Walked(), everything);
    EXPECT_TRUE(tree_->isExpanded(tree_->model()->index(0, 0)));
}

}  // namespace
}  // namespace quarn::designer
