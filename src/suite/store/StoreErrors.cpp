#include "suite/store/StoreErrors.h"

namespace quarn::suite {

namespace {

std::string Filled(std::string_view messageTemplate, const std::string& detail) {
    std::string message(messageTemplate);
    if (const auto at = message.find("%1"); at != std::string::npos) {
        message.replace(at, 2, detail);
    }
    return message;
}

}  // namespace

StoreFailure::StoreFailure(StoreError error, std::string source, std::string_view messageTemplate,
                           std::string detail)
    : ComError(ErrorNumber(error), std::move(source), Filled(messageTemplate, detail)),
      error_(error),
      template_(messageTemplate),
      detail_(std::move(detail)) {}

void RaiseStoreError(StoreError error, std::string source, std::string_view messageTemplate,
                     std::string detail) {
    throw StoreFailure(error, std::move(source), messageTemplate, std::move(detail));
}

}  // namespace quarn::suite
