#include "model/Visibility.h"

#include <gtest/gtest.h>

#include <optional>

#include "model/ModelFixture.h"
#include "model/SubSysGroup.h"

namespace quarn::subsysmgr {
namespace {

constexpr Viewer kMain1{1, Console::Main};
constexpr Viewer kMain3{3, Console::Main};
constexpr Viewer kWeb1{1, Console::Web};
constexpr Viewer kWeb3{3, Console::Web};

TEST(Visibility, EachConsoleTakesItsFlagTheAccountTypeMustBeListedAndTheGroupShown) {
    const ShownFields shownGroup{true, true, ",1,3,"};
    struct Case {
        const char* what;
        ShownFields item;
        std::optional<ShownFields> group;  // for a subsystem
        Viewer viewer;
        bool shown;
    };
    const Case cases[] = {
        {"main console, listed", {true, false, ",1,3,"}, {}, kMain3, true},
        {"main console, not listed", {true, false, ",1,3,"}, {}, Viewer{2, Console::Main}, false},
        {"main console, hidden there", {false, true, ",1,3,"}, {}, kMain1, false},
        {"web console, web flag", {false, true, ",1,3,"}, {}, kWeb1, true},
        {"web console, no web flag", {true, false, ",1,3,"}, {}, kWeb1, false},
        {"an entry is matched whole, 1 is not 13", {true, true, ",13,"}, {}, kMain1, false},
        {"13 is matched whole too", {true, true, ",13,"}, {}, Viewer{13, Console::Web}, true},
        {"no account types: every one", {true, true, ","}, {}, kMain1, true},
        {"nothing stored: every one", {true, true, ""}, {}, kWeb1, true},
        {"nothing stored, but hidden there", {true, false, ""}, {}, kWeb1, false},
        {"subsystem under a shown group", {true, false, ",1,"}, shownGroup, kMain1, true},
        {"subsystem hidden under a shown group", {false, true, ",1,"}, shownGroup, kMain1, false},
        {"group not for the account type",
         {true, true, ",1,3,"},
         {{true, true, ",1,"}},
         kMain3,
         false},
        {"group hidden on the web", {true, true, ",1,3,"}, {{true, false, ",1,3,"}}, kWeb1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.group ? IsShown(c.item, *c.group, c.viewer) : IsShown(c.item, c.viewer),
                  c.shown);
    }
}

class VisibilityOfLoadedItems : public ModelFixture {};

TEST_F(VisibilityOfLoadedItems, TheBusinessObjectsGiveTheirStoredFields) {
    SubSysGroup finance;  // visible, FShowSysType 3 (web), ",1,2,"
    ASSERT_TRUE(finance.initial(5));
    EXPECT_TRUE(IsShown(ShownFieldsOf(finance), Viewer{2, Console::Web}));
    SubSysGroup packs;  // hidden, FShowSysType 2, ",3,"
    ASSERT_TRUE(packs.initial(851));
    EXPECT_FALSE(IsShown(ShownFieldsOf(packs), kMain3));
    EXPECT_TRUE(IsShown(ShownFieldsOf(packs), kWeb3));
    SubSysGroup custom;  // no account types stored: for every one
    ASSERT_TRUE(custom.initial(850));
    EXPECT_TRUE(IsShown(ShownFieldsOf(custom), Viewer{7, Console::Main}));
}

}  // namespace
}  // namespace quarn::subsysmgr
