#pragma once

#include <gtest/gtest.h>

#include "fakes/FakeSuite.h"

namespace quarn::subsysmgr {

/// A suite with a few groups: delivered group 5, customer groups 850 and 851.
class GroupFixture : public ::testing::Test {
  protected:
    GroupFixture() {
        suite.SetContext("DB=demo;Language=CHS;");
        suite.datasInfo->groups = {
            {5, "财务会计", "財務會計", "Finance", 20, true, 3, ",1,2,"},
            {850, "定制扩展", "定制擴展", "Custom", 10, true, 1, std::nullopt},
            {851, "行业套件", "行業套件", "O'Brien Packs", 30, false, 2, ",3,"},
        };
        suite.AnswerQueriesFromTables();
    }

    fakes::FakeSuite suite;
};

}  // namespace quarn::subsysmgr
