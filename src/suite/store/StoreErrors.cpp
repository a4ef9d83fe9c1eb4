#include "suite/store/StoreErrors.h"

namespace quarn::suite {

namespace {

std::string Filled(std::string_view messageTemplate, const std::string& detail,
                   const std::string& moreDetail) {
    std::string message(messageTemplate);
    if (const auto at = message.find("%1"); at != std::string::npos) {
        message.replace(at, 2, detail);
    }
    if (const auto at = message.find("%2"); at != std::string::npos) {
        message.replace(at, 2, moreDetail);
    }
    return message;
}

}  // namespace

StoreFailure::StoreFailure(StoreError error, std::string source, std::string_view messageTemplate,
                           std::string detail, std::string moreDetail, std::string engineCode)
    : ComError(ErrorNumber(error), std::move(source), Filled(messageTemplate, detail, moreDetail),
               std::move(engineCode)),
      error_(error),
      template_(messageTemplate),
      detail_(std::move(detail)),
      moreDetail_(std::move(moreDetail)) {}

void RaiseStoreError(StoreError error, std::string source, std::string_view messageTemplate,
                     std::string detail, std::string moreDetail) {
    throw StoreFailure(error, std::move(source), messageTemplate, std::move(detail),
                       std::move(moreDetail));
}

void RaiseEngineFailure(StoreError error, std::string_view messageTemplate, std::string detail,
                        std::string engineCode) {
    throw StoreFailure(error, "Database", messageTemplate, std::move(detail), {},
                       std::move(engineCode));
}

}  // namespace quarn::suite
