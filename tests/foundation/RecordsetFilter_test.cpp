#include <gtest/gtest.h>

#include "foundation/ComError.h"
#include "foundation/FoundationErrors.h"
#include "foundation/Recordset.h"
#include "foundation/RecordsetFilter.h"

namespace quarn {
namespace {

RecordsetPtr Names() {
    return Recordset::Create({"FID", "FName"}, {{1, "Alpha"},
                                                {2, "O'Brien"},
                                                {3, Variant::Null()},
                                                {4, "Alpha"}});
}

TEST(RecordsetFilter, QuotedTextWithDoubledApostropheMatchesExactly) {
    auto rs = Names();
    rs->Filter("FName=" + QuoteFilterText("O'Brien"));
    ASSERT_EQ(rs->RecordCount(), 1);
    EXPECT_EQ(rs->Fields("fid").ToInt32(), 2);
}

}  // namespace
}  // namespace quarn
