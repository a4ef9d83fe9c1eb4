#include "exchange/ExchangeText.h"

#include "foundation/ComError.h"
#include "host/ProgIds.h"

namespace quarn::subsysmgr::exchange {

namespace {

constexpr std::string_view kCatalogBaseName = "QuarnSubsysCli";

}  // namespace

ExchangeText::ExchangeText(ComponentRegistry& registry, std::string language)
    : registry_(registry), language_(std::move(language)) {}

std::string ExchangeText::Text(std::string_view source) const {
    try {
        if (!loader_) {
            loader_ = registry_.Create<IResLoader>(progid::kResLoader);
            loader_->ResFileBaseName(std::string(kCatalogBaseName));
            loader_->LanguageID(language_);
        }
        return loader_->LoadString(std::string(source));
    } catch (...) {
        return std::string(source);
    }
}

std::string ExchangeText::Format(std::string_view templateText,
                                 const std::vector<Variant>& arguments) const {
    const std::string localized = Text(templateText);
    try {
        if (!formatter_) {
            formatter_ = registry_.Create<IMessageFormatter>(progid::kMessageFormatter);
        }
        return formatter_->FormatMessage(localized, arguments);
    } catch (...) {
        return localized;  // the details are lost, the message is not
    }
}

void ExchangeText::Raise(const ErrorDefinition& error,
                         const std::vector<Variant>& arguments) const {
    throw ComError(error.Number(), std::string(error.source), Format(error.message, arguments));
}

}  // namespace quarn::subsysmgr::exchange
