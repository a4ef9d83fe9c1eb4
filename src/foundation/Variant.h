#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>

namespace quarn {

class Dictionary;
class Vector;
using DictionaryPtr = std::shared_ptr<Dictionary>;
using VectorPtr = std::shared_ptr<Vector>;

enum class VariantType {
    Empty,
    Null,
    Boolean,
    Integer,
    Long,
    LongLong,
    Double,
    String,
    Dictionary,
    Vector
};

/// A value of the suite's dynamic type: empty, null, a Boolean, a 16-, 32- or 64-bit integer, a
/// double, a UTF-8 text, or a reference to a Dictionary or Vector. Field values, dictionary
/// entries and the arguments of suite components are Variants.
///
/// The conversions follow the suite's scripting rules: True converts to -1, doubles round half to
/// even, texts holding a number convert to that number. A conversion that is not possible (a
/// null, an object, a text that is no number, an overflow) raises ComError TypeMismatch.
class Variant {
  public:
    Variant() = default;
    Variant(bool value) : value_(value) {}
    Variant(int16_t value) : value_(value) {}
    Variant(int32_t value) : value_(value) {}
    Variant(int64_t value) : value_(value) {}
    Variant(double value) : value_(value) {}
    Variant(std::string value) : value_(std::move(value)) {}
    Variant(std::string_view value) : value_(std::string(value)) {}
    Variant(const char* value) : value_(std::string(value)) {}
    Variant(DictionaryPtr value) : value_(std::move(value)) {}
    Variant(VectorPtr value) : value_(std::move(value)) {}

    static Variant Null() { return Variant(NullTag{}); }

    VariantType Type() const { return static_cast<VariantType>(value_.index()); }
    bool IsEmpty() const { return Type() == VariantType::Empty; }
    bool IsNull() const { return Type() == VariantType::Null; }
    bool IsObject() const;
    bool IsNumeric() const;
    bool IsText() const { return Type() == VariantType::String; }

    bool ToBool() const;
    int32_t ToInt32() const;
    int64_t ToInt64() const;
    double ToDouble() const;
    std::string ToText() const;

    /// The text of the value, or the empty text when it is null.
    std::string TextOrEmpty() const { return IsNull() ? std::string() : ToText(); }

    /// The referenced object, or nullptr when the value holds none of that kind.
    DictionaryPtr AsDictionary() const;
    VectorPtr AsVector() const;

    /// Same type and same value; objects compare by identity.
    bool operator==(const Variant& other) const { return value_ == other.value_; }

  private:
    struct EmptyTag {
        bool operator==(const EmptyTag&) const = default;
    };
    struct NullTag {
        bool operator==(const NullTag&) const = default;
    };
    explicit Variant(NullTag tag) : value_(tag) {}

    // The order of the alternatives is the order of VariantType.
    std::variant<EmptyTag, NullTag, bool, int16_t, int32_t, int64_t, double, std::string,
                 DictionaryPtr, VectorPtr>
        value_;
};

/// Readable name of a type, for messages and test output.
std::string_view TypeName(VariantType type);

}  // namespace quarn
