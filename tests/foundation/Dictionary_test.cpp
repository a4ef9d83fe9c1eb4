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

TEST(Dictionary, KeepsInsertionOrderAndReplacesValuesInPlace) {
    auto d = Dictionary::Create();
    d->Item("FName", "Sales");
    d->Item("FID", 7);
    d->Item("FIndex", 2);
    d->Item("FID", 8);
    EXPECT_EQ(Keys(*d), (std::vector<std::string>{"FName", "FID", "FIndex"}));
    EXPECT_EQ(d->Item("FID"), Variant(8));
    EXPECT_TRUE(d->Item("FMissing").IsEmpty());
    EXPECT_TRUE(d->Item("fid").IsEmpty());  // keys compare exactly
    EXPECT_EQ(d->Count(), 3u);              // reading an absent key adds nothing
    EXPECT_EQ(d->Lookup("FMissing", 5), Variant(5));
    EXPECT_EQ(d->Lookup("FID", 5), Variant(8));

    d->RemoveAll();
    EXPECT_EQ(d->Count(), 0u);
    EXPECT_FALSE(d->Exists("FID"));
}

TEST(Dictionary, ACopyIsIndependentButSharesObjectValues) {
    auto original = Dictionary::Create();
    auto children = Vector::Create();
    original->Item("FID", 1);
    original->Item("Children", children);

    auto copy = original->Copy();
    copy->Item("FID", 2);
    copy->Item("FNew", 3);
    copy->Item("Children").AsVector()->Add(9);
    EXPECT_EQ(original->Item("FID"), Variant(1));
    EXPECT_EQ(Keys(*original), (std::vector<std::string>{"FID", "Children"}));
    EXPECT_EQ(children->Count(), 1u);
}

TEST(Vector, KeepsItemsByPositionAndRaisesOutsideThem) {
    auto v = Vector::Create();
    EXPECT_EQ(RaisedError([&] { v->Item(0); }), ErrorNumber(FoundationError::IndexOutOfRange));
    auto child = Dictionary::Create();
    v->Add("a");
    v->Add(2);
    v->Add(child);
    ASSERT_EQ(v->Count(), 3u);
    EXPECT_EQ(v->Item(0), Variant("a"));
    EXPECT_EQ(v->Item(2).AsDictionary(), child);
    EXPECT_EQ(RaisedError([&] { v->Item(3); }), ErrorNumber(FoundationError::IndexOutOfRange));
    EXPECT_EQ(RaisedError([&] { v->Item(static_cast<std::size_t>(-1)); }),
              ErrorNumber(FoundationError::IndexOutOfRange));

    auto copy = v->Copy();
    copy->Add(4);
    EXPECT_EQ(v->Count(), 3u);
    EXPECT_EQ(copy->Item(2).AsDictionary(), child);
}

}  // namespace
}  // namespace quarn
