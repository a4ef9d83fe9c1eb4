#include "foundation/Variant.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "foundation/ComError.h"
#include "foundation/FoundationErrors.h"
#include "foundation/Utf8Text.h"

namespace quarn {

namespace {

[[noreturn]] void RaiseTypeMismatch(VariantType from, std::string_view to) {
    throw ComError(ErrorNumber(FoundationError::TypeMismatch), "Variant",
                   "Type mismatch: a value of type " + std::string(TypeName(from)) +
                       " cannot be converted to " + std::string(to) + ".");
}

// Parses a whole text as a number; blanks around it are allowed.
bool ParseNumber(std::string_view text, double& result) {
    text = text::TrimBlanks(text);
    if (text.empty()) {
        return false;
    }
    if (text.front() == '+') {
        text.remove_prefix(1);
    }
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), result);
    return error == std::errc() && end == text.data() + text.size() && std::isfinite(result);
}

int64_t RoundToInt64(double value, VariantType from) {
    const double rounded = std::nearbyint(value);  // default rounding: half to even
    if (!std::isfinite(rounded) || rounded < -9.2233720368547758e18 ||
        rounded >= 9.2233720368547758e18) {
        RaiseTypeMismatch(from, "a 64-bit integer");
    }
    return static_cast<int64_t>(rounded);
}

}  // namespace

std::string_view TypeName(VariantType type) {
    switch (type) {
        case VariantType::Empty:
            return "Empty";
        case VariantType::Null:
            return "Null";
        case VariantType::Boolean:
            return "Boolean";
        case VariantType::Integer:
            return "Integer";
        case VariantType::Long:
            return "Long";
        case VariantType::LongLong:
            return "LongLong";
        case VariantType::Double:
            return "Double";
        case VariantType::String:
            return "String";
        case VariantType::Dictionary:
            return "Dictionary";
        case VariantType::Vector:
            return "Vector";
    }
    return "Unknown";
}

bool Variant::IsObject() const {
    return Type() == VariantType::Dictionary || Type() == VariantType::Vector;
}

bool Variant::IsNumeric() const {
    switch (Type()) {
        case VariantType::Boolean:
        case VariantType::Integer:
        case VariantType::Long:
        case VariantType::LongLong:
        case VariantType::Double:
            return true;
        case VariantType::Empty:
        case VariantType::Null:
        case VariantType::String:
        case VariantType::Dictionary:
        case VariantType::Vector:
            return false;
    }
    return false;
}

double Variant::ToDouble() const {
    switch (Type()) {
        case VariantType::Empty:
            return 0.0;
        case VariantType::Boolean:
            return std::get<bool>(value_) ? -1.0 : 0.0;
        case VariantType::Integer:
            return std::get<int16_t>(value_);
        case VariantType::Long:
            return std::get<int32_t>(value_);
        case VariantType::LongLong:
            return static_cast<double>(std::get<int64_t>(value_));
        case VariantType::Double:
            return std::get<double>(value_);
        case VariantType::String: {
            double result = 0.0;
            if (!ParseNumber(std::get<std::string>(value_), result)) {
                RaiseTypeMismatch(Type(), "a number");
            }
            return result;
        }
        case VariantType::Null:
        case VariantType::Dictionary:
        case VariantType::Vector:
            break;
    }
    RaiseTypeMismatch(Type(), "a number");
}

int64_t Variant::ToInt64() const {
    switch (Type()) {
        case VariantType::Empty:
            return 0;
        case VariantType::Boolean:
            return std::get<bool>(value_) ? -1 : 0;
        case VariantType::Integer:
            return std::get<int16_t>(value_);
        case VariantType::Long:
            return std::get<int32_t>(value_);
        case VariantType::LongLong:
            return std::get<int64_t>(value_);
        case VariantType::Double:
        case VariantType::String:
            return RoundToInt64(ToDouble(), Type());
        case VariantType::Null:
        case VariantType::Dictionary:
        case VariantType::Vector:
            break;
    }
    RaiseTypeMismatch(Type(), "a 64-bit integer");
}

int32_t Variant::ToInt32() const {
    const int64_t value = ToInt64();
    if (value < std::numeric_limits<int32_t>::min() ||
        value > std::numeric_limits<int32_t>::max()) {
        RaiseTypeMismatch(Type(), "a 32-bit integer");
    }
    return static_cast<int32_t>(value);
}

bool Variant::ToBool() const {
    if (Type() == VariantType::Boolean) {
        return std::get<bool>(value_);
    }
    if (Type() == VariantType::String) {
        const auto& text = std::get<std::string>(value_);
        if (text::EqualsIgnoreCaseAscii(text::TrimBlanks(text), "True")) {
            return true;
        }
        if (text::EqualsIgnoreCaseAscii(text::TrimBlanks(text), "False")) {
            return false;
        }
    }
    if (IsNull() || IsObject()) {
        RaiseTypeMismatch(Type(), "a Boolean");
    }
    return ToDouble() != 0.0;
}

std::string Variant::ToText() const {
    switch (Type()) {
        case VariantType::Empty:
            return {};
        case VariantType::Boolean:
            return std::get<bool>(value_) ? "True" : "False";
        case VariantType::Integer:
        case VariantType::Long:
        case VariantType::LongLong:
            return std::to_string(ToInt64());
        case VariantType::Double: {
            const double number = std::get<double>(value_);
            if (std::trunc(number) == number && std::fabs(number) < 1e15) {
                return std::to_string(static_cast<int64_t>(number));  // 100000, not 1e+05
            }
            char buffer[32];
            const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, number);
            return error == std::errc() ? std::string(buffer, end) : std::string();
        }
        case VariantType::String:
            return std::get<std::string>(value_);
        case VariantType::Null:
        case VariantType::Dictionary:
        case VariantType::Vector:
            break;
    }
    RaiseTypeMismatch(Type(), "a text");
}

DictionaryPtr Variant::AsDictionary() const {
    return Type() == VariantType::Dictionary ? std::get<DictionaryPtr>(value_) : nullptr;
}

VectorPtr Variant::AsVector() const {
    return Type() == VariantType::Vector ? std::get<VectorPtr>(value_) : nullptr;
}

}  // namespace quarn
