#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/Variant.h"
#include "host/ComponentRegistry.h"
#include "host/IMessageFormatter.h"
#include "host/IResLoader.h"
#include "runtime/LocalizedError.h"

namespace quarn::subsysmgr::exchange {

/// The texts of the exchange and of the command line in the session language. Their English source
/// texts are the keys of the catalogs QuarnSubsysCli.CHS.json and QuarnSubsysCli.CHT.json; English
/// needs no catalog. Never fails to give a text: without a loader the source text is used, without
/// a formatter the template.
class ExchangeText {
  public:
    ExchangeText(ComponentRegistry& registry, std::string language);

    std::string Text(std::string_view source) const;
    /// "yes" or "no" in the session language.
    std::string YesNo(bool value) const { return Text(value ? "yes" : "no"); }
    /// The localized template with %1, %2 ... replaced by the arguments.
    std::string Format(std::string_view templateText, const std::vector<Variant>& arguments) const;
    /// Raises the error as ComError with its localized, filled-in message.
    [[noreturn]] void Raise(const ErrorDefinition& error,
                            const std::vector<Variant>& arguments = {}) const;

  private:
    ComponentRegistry& registry_;
    std::string language_;
    mutable std::shared_ptr<IResLoader> loader_;
    mutable std::shared_ptr<IMessageFormatter> formatter_;
};

}  // namespace quarn::subsysmgr::exchange
