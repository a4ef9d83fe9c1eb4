#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/ComError.h"
#include "foundation/Dictionary.h"
#include "model/IdRanges.h"
#include "model/ItemRules.h"
#include "model/ModelErrors.h"
#include "runtime/LocalizedError.h"
#include "runtime/ModuleState.h"

namespace quarn::subsysmgr {

/// Modes of the editors (the lngStatus of Show).
inline constexpr int32_t kStatusAdd = 1;
inline constexpr int32_t kStatusEdit = 2;

/// A field of an editor, as a refused input names it to the user.
enum class InputField { None, Id, Index, Number, NameCHS, NameCHT, NameEN, Group, AccountTypes };

/// Which field an error of an editor's save names. `kCheckedField` stands for the field the
/// failing check was looking at, for errors that several fields share.
struct ErrorField {
    int32_t offset;
    InputField field;
};
inline constexpr InputField kCheckedField = static_cast<InputField>(-1);

/// The first failure of an editor's checks: the error as raised and the field to correct.
struct InputFailure {
    ComError error;
    InputField field;
};

/// An account type the editors offer: its code and its description in the session language.
struct AccountTypeOffer {
    int32_t code;
    std::string description;
};

/// What the group and the subsystem input share: the fields both editors have, the account
/// types they offer, and the checks both make, each reported with the field it names.
class EditorInput {
  public:
    /// The texts of one editor that the shared checks report with.
    struct Texts {
        ErrorDefinition noAccountType;
        ErrorDefinition nameEmpty;
        ErrorDefinition nameCHTEmpty;
        ErrorDefinition nameENEmpty;
        ErrorDefinition nameNotText;
        std::string_view nameCaption;
        std::string_view nameCHTCaption;
        std::string_view nameENCaption;
        std::string_view indexCaption;
        ErrorDefinition forbiddenInName;
        ErrorDefinition forbiddenInNameCHT;
        ErrorDefinition forbiddenInNameEN;
        std::span<const ErrorField> errorFields;
    };

    virtual ~EditorInput() = default;

    int32_t Status() const { return status_; }
    bool IsAddition() const { return status_ == kStatusAdd; }

    /// The account types of the store that the editors offer in the session language, in the
    /// store's order (never 7 or 8; 13 only in simplified Chinese). Read once.
    const std::vector<AccountTypeOffer>& OfferedAccountTypes();
    /// What a new item starts with: the first offered account type.
    std::vector<int32_t> DefaultAccountTypes();

    /// The checks and the business object's setters, without writing.
    std::optional<InputFailure> Validate();
    /// Validate, then the business object's save.
    std::optional<InputFailure> Save();

    // The edit, as the user gave it: names untrimmed, account types as chosen.
    int32_t id = 0;
    int32_t index = 0;
    std::string nameCHS;
    std::string nameCHT;
    std::string nameEN;
    bool visible = true;
    bool web = false;
    std::vector<int32_t> accountTypes;

  protected:
    EditorInput(std::shared_ptr<ModuleState> module, int32_t status, const Texts& texts);

    /// The checks in the editor's order, each followed by the setter it guards.
    virtual void Apply() = 0;
    /// Hands what Apply set to the store.
    virtual void Write() = 0;
    /// Names the field that the following checks look at.
    void Checking(InputField field) { checking_ = field; }

    /// ",1,3," of the chosen account types; refuses none chosen and any the editors do not offer.
    std::string CheckedAccountTypes();
    /// The three names trimmed of blanks, as DictName takes them: each required, valid text, at
    /// most kNameMaxLength long.
    DictionaryPtr RequiredNames();
    /// Refuses a forbidden character of the untrimmed names.
    void CheckNamesAllowed();
    /// Refuses a text that is not UTF-8 or holds a control character.
    void CheckText(std::string_view text, const ErrorDefinition& error);
    /// Refuses a text that holds one of kForbiddenChars, naming the character.
    void CheckForbidden(std::string_view text, const ErrorDefinition& error);
    void CheckLength(std::string_view text, std::string_view caption);
    void CheckIndex();
    /// Ticks, of the offered account types, those that the stored list holds.
    void ChooseStoredAccountTypes(std::string_view stored);

    std::shared_ptr<ModuleState> module_;

  private:
    /// Runs the steps; the first ComError becomes the failure, with the field the editor's
    /// table gives for its number.
    std::optional<InputFailure> Run(const std::function<void()>& steps);

    int32_t status_;
    const Texts& texts_;
    InputField checking_ = InputField::None;
    std::optional<std::vector<AccountTypeOffer>> offered_;
};

}  // namespace quarn::subsysmgr
