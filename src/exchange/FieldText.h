#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "exchange/ExchangeText.h"
#include "exchange/ItemJson.h"
#include "host/TreeItemRef.h"
#include "runtime/ModuleState.h"

namespace quarn::subsysmgr::exchange {

/// The fields of groups and subsystems as a person reads them, in the session language: named
/// by the editors' captions, a group as "850 Custom Extensions", account types by their names,
/// flags as yes or no, codes without a group separator. Takes the exchange file's keys and
/// values (FieldDifference, the import's comparison).
class FieldText {
  public:
    FieldText(std::shared_ptr<ModuleState> module, const ExchangeText& text);

    /// The editor's caption of the field (without its colon); the key itself for an unknown one.
    std::string Caption(TreeItemRef::Kind kind, std::string_view key) const;
    /// The caption of a field of an account type ("names.EN") or of a release ("name", "date").
    std::string RecordCaption(std::string_view key) const;
    /// The value; "-" for none (null, an empty text or list).
    std::string Value(std::string_view key, const Json& value) const;

  private:
    std::string GroupText(int64_t id) const;
    std::string AccountTypesText(const Json& codes) const;

    std::shared_ptr<ModuleState> module_;
    const ExchangeText& text_;
    std::string language_;
    mutable std::unordered_map<int64_t, std::string> groupNames_;
    mutable std::unordered_map<int64_t, std::string> accountTypeNames_;  // read on first use
};

}  // namespace quarn::subsysmgr::exchange
