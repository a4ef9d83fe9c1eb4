#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace quarn {

/// Base of the object-defined error numbers; every numbered error of the suite is base + offset.
inline constexpr int32_t kObjectErrorBase = static_cast<int32_t>(0x80040000u);

/// The error number for an offset above the object-error base.
constexpr int32_t ObjectError(int32_t offset) {
    return kObjectErrorBase + offset;
}

/// The one exception type of the suite: a number, the source that raised it, and a description
/// already in the user's language; for a failure of a database engine also the engine's code.
class ComError : public std::runtime_error {
  public:
    ComError(int32_t number, std::string source, std::string description);
    ComError(int32_t number, std::string source, std::string description, std::string engineCode,
             int32_t causeNumber = 0);

    int32_t Number() const { return number_; }
    const std::string& Source() const { return source_; }
    const std::string& Description() const { return description_; }
    /// The database engine's own code of the failure behind the error, such as
    /// "SQLITE_CONSTRAINT_UNIQUE (2067)" or PostgreSQL's SQLSTATE "23505"; empty when no engine
    /// failed. Copies keep it, and so do the errors raised in place of a store's error.
    const std::string& EngineCode() const { return engineCode_; }
    /// The number of the store's error that this one was raised in place of (a save that failed
    /// because the database was busy), so that a caller can tell a wait from a refusal; 0 when
    /// no store's error is behind it. Copies keep it.
    int32_t CauseNumber() const { return causeNumber_; }

    /// The offset above the object-error base (the number itself for numbers outside that range).
    int32_t Offset() const;

  private:
    int32_t number_;
    std::string source_;
    std::string description_;
    std::string engineCode_;
    int32_t causeNumber_ = 0;
};

}  // namespace quarn
