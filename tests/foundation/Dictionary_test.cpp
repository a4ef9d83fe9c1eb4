#include "foundation/Dictionary.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/ComError.h"
#include "foundation/FoundationErrors.h"
#include "foundation/RaisedError.h"
#include "foundation/Vector.h"

namespace quarn {
namespace {

std::vector<std::string> Keys(const Dictionary& dictionary) {
    std::vector<std::string> keys;
    for (const auto& entry : dictionary.Entries()) {
        keys.push_back(entry.first);
    }
    return keys;
}

TEST(Dictionary, KeepsInsertionOrderReplacesInPlaceAndCopiesAllButObjectValues) {
    auto d = Dictionary::Create();
    auto children = Vector::Create();
    d->Item("FName", "Sales");
    d->Item("FID", 7);
    d->Item("Children", children);
    d->Item("FID", 8);
    EXPECT_EQ(Keys(*d), (std::vector<std::string>{"FName", "FID", "Children"}));
    EXPECT_EQ(d->Item("FID"), Variant(8));
    EXPECT_TRUE(d->Item("fid").IsEmpty());  // keys compare exactly
    EXPECT_EQ(d->Count(), 3u);              // reading an absent key adds nothing
    EXPECT_EQ(d->Lookup("FMissing", 5), Variant(5));
    EXPECT_EQ(d->Lookup("FID", 5), Variant(8));

    auto copy = d->Copy();
    copy->Item("FID", 2);
    copy->Item("FNew", 3);
    copy->Item("Children").AsVector()->Add(9);
    EXPECT_EQ(d->Item("FID"), Variant(8));
    EXPECT_EQ(d->Count(), 3u);
    EXPECT_EQ(children->Count(), 1u);
    d->RemoveAll();
    EXPECT_FALSE(d->Exists("FID"));
}

TEST(Vector, KeepsItemsByPositionAndRaisesOutsideThem) {
    auto v = Vector::Create();
    EXPECT_EQ(RaisedError([&] { v->Item(0); }), ErrorNumber(FoundationError::IndexOutOfRange));
    auto child = Dictionary::Create();
    v->Add("a");
    v->Add(child);
    ASSERT_EQ(v->Count(), 2u);
    EXPECT_EQ(v->Item(0), Variant("a"));
    EXPECT_EQ(RaisedError([&] { v->Item(2); }), ErrorNumber(FoundationError::IndexOutOfRange));
    EXPECT_EQ(RaisedError([&] { v->Item(static_cast<std::size_t>(-1)); }),
              ErrorNumber(FoundationError::IndexOutOfRange));

    auto copy = v->Copy();
    copy->Add(4);
    EXPECT_EQ(v->Count(), 2u);
    EXPECT_EQ(copy->Item(1).AsDictionary(), child);
}

}  // namespace
}  // namespace quarn
