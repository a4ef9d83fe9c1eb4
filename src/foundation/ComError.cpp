#include "foundation/ComError.h"

#include <utility>

namespace quarn {

ComError::ComError(int32_t number, std::string source, std::string description)
    : std::runtime_error(source + ": " + description),
      number_(number),
      source_(std::move(source)),
      description_(std::move(description)) {}

ComError::ComError(int32_t number, std::string source, std::string description,
                   std::string engineCode, int32_t causeNumber)
    : ComError(number, std::move(source), std::move(description)) {
    engineCode_ = std::move(engineCode);
    causeNumber_ = causeNumber;
}

int32_t ComError::Offset() const {
    const int64_t offset = static_cast<int64_t>(number_) - kObjectErrorBase;
    return (offset >= 0 && offset <= 0xFFFF) ? static_cast<int32_t>(offset) : number_;
}

}  // namespace quarn
