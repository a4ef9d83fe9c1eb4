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
    } cases[] = {
        {2.5, 2},
        {3.5, 4},
        {-2.5, -2},
        {-3.5, -4},
        {0.5, 0},
        {1.5, 2},
        {2.4999, 2},
        {-0.6, -1},
        {true, -1},
        {false, 0},
        {"42", 42},
        {" -7 ", -7},
        {"2.5", 2},
        {"3.5", 4},
        {Variant(), 0},
        {int64_t{2147483647}, 2147483647},
        {-2147483648.0, -2147483647 - 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value.TextOrEmpty());
        EXPECT_EQ(c.value.ToInt32(), c.expected);
    }
}

TEST(Variant, ImpossibleConversionsRaiseTypeMismatch) {
    const Variant dictionary(Dictionary::Create());
    const Variant vector(Vector::Create());
    const std::function<void()> conversions[] = {
        [] { Variant(int64_t{2147483648}).ToInt32(); },
        [] { Variant(2147483647.5).ToInt32(); },  // rounds up to 2^31
        [] { Variant(-2147483649.0).ToInt32(); },
        [] { Variant(1e300).ToInt64(); },
        [] { Variant("99999999999").ToInt32(); },
        [] { Variant::Null().ToInt32(); },
        [] { Variant("abc").ToInt32(); },
        [] { Variant("12abc").ToInt32(); },
        [] { Variant("").ToInt32(); },
        [] { Variant::Null().ToBool(); },
        [] { Variant("yes").ToBool(); },
        [] { Variant::Null().ToText(); },
        [&] { dictionary.ToInt32(); },
        [&] { vector.ToDouble(); },
        [&] { dictionary.ToBool(); },
        [&] { vector.ToText(); },
    };
    for (std::size_t i = 0; i < std::size(conversions); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(RaisedError(conversions[i]), ErrorNumber(FoundationError::TypeMismatch));
    }
}

TEST(Variant, ToBoolAndToTextFollowTheScriptingRules) {
    const struct {
        Variant value;
        bool expected;
    } bools[] = {
        {0, false},     {-1, true},       {0.0, false},     {0.25, true}, {Variant(), false},
        {"True", true}, {"false", false}, {" TRUE ", true}, {"0", false}, {"2", true},
    };
    for (const auto& c : bools) {
        SCOPED_TRACE(c.value.TextOrEmpty());
        EXPECT_EQ(c.value.ToBool(), c.expected);
    }

    const struct {
        Variant value;
        std::string expected;
    } texts[] = {
        {true, "True"},
        {false, "False"},
        {int16_t{-5}, "-5"},
        {123, "123"},
        {2.5, "2.5"},
        {-0.125, "-0.125"},
        {3.0, "3"},
        {100000.0, "100000"},
        {-1000000.0, "-1000000"},
        {int64_t{9007199254740993}, "9007199254740993"},
        {Variant(), ""},
    };
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
