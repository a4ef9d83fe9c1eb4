#include "suite/store/StoreErrors.h"

#include "suite/catalog/MessageFormatter.h"

namespace quarn::suite {

namespace {

// Inserted details are not scanned again: a file named "a%2.sqlite" stays whole.
std::string Filled(std::string_view messageTemplate, const std::string& detail,
                   const std::string& moreDetail) {
    return MessageFormatter().FormatMessage(std::string(messageTemplate),
                                            {Variant(detail), Variant(moreDetail)});
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

StoreFailure::StoreFailure(StoreError error, std::string source, std::string_view messageTemplate,
                           const DatabaseName& database, std::string moreDetail,
                           std::string engineCode)
    : StoreFailure(error, std::move(source), messageTemplate, database.Text(),
                   std::move(moreDetail), std::move(engineCode)) {
    database_ = database;
}

void RaiseStoreError(StoreError error, std::string source, std::string_view messageTemplate,
                     std::string detail, std::string moreDetail) {
    throw StoreFailure(error, std::move(source), messageTemplate, std::move(detail),
                       std::move(moreDetail));
}

void RaiseStoreError(StoreError error, std::string source, std::string_view messageTemplate,
                     const DatabaseName& database, std::string moreDetail) {
    throw StoreFailure(error, std::move(source), messageTemplate, database, std::move(moreDetail));
}

void RaiseEngineFailure(StoreError error, std::string_view messageTemplate,
                        const DatabaseName& database, std::string engineCode) {
    throw StoreFailure(error, "Database", messageTemplate, database, {}, std::move(engineCode));
}

void RaiseEngineFailure(StoreError error, std::string_view messageTemplate, std::string detail,
                        std::string engineCode) {
    throw StoreFailure(error, "Database", messageTemplate, std::move(detail), {},
                       std::move(engineCode));
}

}  // namespace quarn::suite
