#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "CliText.h"
#include "TreeItems.h"
#include "runtime/LocalizedError.h"
#include "runtime/ModuleState.h"

namespace quarn::subsysmgr::cli {

/// What the names of one kind of item are checked with: the editor's messages and captions.
struct NameRules {
    ErrorDefinition emptyCHS;
    ErrorDefinition emptyCHT;
    ErrorDefinition emptyEN;
    std::string_view captionCHS;
    std::string_view captionCHT;
    std::string_view captionEN;
    std::string_view forbiddenCHS;
    std::string_view forbiddenCHT;
    std::string_view forbiddenEN;
};

extern const NameRules kGroupNameRules;
extern const NameRules kSubSystemNameRules;

/// The checks that the editors make before they hand values to the business objects, for values
/// from the command line or an import file. Each raises ComError with the editor's message; where
/// an editor's field makes a mistake impossible (a name too long, an account type it does not
/// offer, a number out of its range) the tool's own message says what is wrong.
class InputChecks {
  public:
    InputChecks(std::shared_ptr<ModuleState> module, const CliText& text);

    /// At least one account type (else `noneError`), each one that the store knows and that the
    /// editors offer.
    void AccountTypes(const std::vector<int32_t>& accountTypes, const ErrorDefinition& noneError);
    /// What the editors preselect for a new item: the first account type they offer.
    std::vector<int32_t> DefaultAccountTypes();
    /// The names trimmed of blanks, each required and at most 40 characters long.
    Names RequiredNames(const Names& names, const NameRules& rules);
    /// No name holds ' _ or %.
    void NoForbiddenChars(const Names& names, const NameRules& rules);
    /// A subsystem's short code holds none of ' _ or %.
    void Number(std::string_view number, std::string_view forbiddenTemplate);
    /// The display order: 0 to 1000, as the editors' field takes it.
    void Index(int32_t index, std::string_view caption);

  private:
    /// The account types of the store that the editors offer, in the store's order.
    std::vector<int32_t> OfferedAccountTypes();
    void Forbidden(std::string_view text, std::string_view templateText);

    std::shared_ptr<ModuleState> module_;
    const CliText& text_;
};

}  // namespace quarn::subsysmgr::cli
