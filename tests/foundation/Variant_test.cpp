#include "foundation/Variant.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "foundation/ComError.h"
#include "foundation/Dictionary.h"
#include "foundation/FoundationErrors.h"
#include "foundation/RaisedError.h"
#include "foundation/Vector.h"

namespace quarn {
namespace {

TEST(Variant, ToInt32RoundsHalfToEvenAndReadsBooleansAndNumericTexts) {
    const struct {
        Variant value;
        int32_t expected;
    } cases[] = {{2.5, 2},   {3.5, 4},     {-2.5, -2}, {-3.5, -4}, {0.5, 0},
                 {1.5, 2},   {2.4999, 2},  {-0.6, -1}, {true, -1}, {false, 0},
                 {"42", 42}, {" -7 ", -7}, {"2.5", 2}, {"3.5", 4}, {Variant(), 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value.TextOrEmpty());
        EXPECT_EQ(c.value.ToInt32(), c.expected);
    }
    EXPECT_EQ(Variant(int64_t{2147483647}).ToInt32(), 2147483647);
    EXPECT_EQ(Variant(-2147483648.0).ToInt32(), -2147483647 - 1);
}

TEST(Variant, ImpossibleConversionsRaiseTypeMismatch) {
    const int32_t mismatch = ErrorNumber(FoundationError::TypeMismatch);
    const Variant dictionary(Dictionary::Create());
    const Variant vector(Vector::Create());
    // 2147483647.5 rounds up to 2^31.
    const std::vector<Variant> noInt32{
        int64_t{2147483648}, 2147483647.5, -2147483649.0, "99999999999",
        Variant::Null(),     "abc",        "12abc",       "",
        dictionary};
    for (std::size_t i = 0; i < noInt32.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(RaisedError([&] { noInt32[i].ToInt32(); }), mismatch);
    }
    for (const Variant& value : {Variant::Null(), Variant("yes"), dictionary}) {
        EXPECT_EQ(RaisedError([&] { value.ToBool(); }), mismatch);
    }
    EXPECT_EQ(RaisedError([&] { Variant::Null().ToText(); }), mismatch);
    EXPECT_EQ(RaisedError([&] { vector.ToText(); }), mismatch);
    EXPECT_EQ(RaisedError([&] { vector.ToDouble(); }), mismatch);
    EXPECT_EQ(RaisedError([] { Variant(1e300).ToInt64(); }), mismatch);
}

TEST(Variant, ToBoolAndToTextFollowTheScriptingRules) {
    const struct {
        Variant value;
        bool expected;
    } bools[] = {{0, false},         {-1, true},     {0.0, false},     {0.25, true},
                 {Variant(), false}, {"True", true}, {"false", false}, {" TRUE ", true},
                 {"0", false},       {"2", true}};
    for (const auto& c : bools) {
        SCOPED_TRACE(c.value.TextOrEmpty());
        EXPECT_EQ(c.value.ToBool(), c.expected);
    }

    const struct {
        Variant value;
        std::string expected;
    } texts[] = {{true, "True"},
                 {false, "False"},
                 {int16_t{-5}, "-5"},
                 {2.5, "2.5"},
                 {-0.125, "-0.125"},
                 {3.0, "3"},
                 {100000.0, "100000"},
                 {-1000000.0, "-1000000"},
                 {int64_t{9007199254740993}, "9007199254740993"},
                 {Variant(), ""}};
    for (const auto& c : texts) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(c.value.ToText(), c.expected);
    }
    EXPECT_EQ(Variant::Null().TextOrEmpty(), "");
}

TEST(Variant, EqualValuesHaveTheSameTypeAndValueAndObjectsTheSameIdentity) {
    EXPECT_EQ(Variant(1), Variant(1));
    EXPECT_FALSE(Variant(1) == Variant(int16_t{1}));
    EXPECT_FALSE(Variant(1) == Variant(1.0));
    EXPECT_FALSE(Variant(1) == Variant("1"));
    EXPECT_FALSE(Variant::Null() == Variant());
    const auto first = Dictionary::Create();
    EXPECT_EQ(Variant(first), Variant(first));
    EXPECT_FALSE(Variant(first) == Variant(Dictionary::Create()));  // both empty, two objects
}

}  // namespace
}  // namespace quarn
