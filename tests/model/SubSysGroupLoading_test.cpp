#include <gtest/gtest.h>

#include "fakes/FakeSuite.h"
#include "model/SubSysGroup.h"

namespace quarn::subsysmgr {
namespace {

TEST(SubSysGroupLoading, ANewObjectIsEmptyAndHasClearedTheCache) {
    fakes::FakeSuite suite;
    SubSysGroup group;
    EXPECT_EQ(group.OptType(), enm_OptType_Group);
    EXPECT_EQ(group.Id(), 0);
    EXPECT_FALSE(group.IsNew());
    EXPECT_EQ(group.DictName(), nullptr);
}

}  // namespace
}  // namespace quarn::subsysmgr
