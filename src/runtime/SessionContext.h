#pragma once

#include <string>
#include <string_view>

#include "quarn/foundation/Recordset.h"
#include "quarn/foundation/Variant.h"
#include "quarn/host/IDatasInfo.h"
#include "quarn/runtime/ModuleState.h"

/// The session context: the host's context string "PropsString" in the shared property store,
/// single values of it, the session language, the shared data-flow information instance and the
/// account types.
namespace quarn::subsysmgr {

inline constexpr std::string_view kPropsStringProperty = "PropsString";
inline constexpr std::string_view kLanguageKey = "Language";
inline constexpr std::string_view kDefaultLanguage = "CHS";

/// The store's value of a property for this process, or Empty. Never fails: a missing or failing
/// store gives Empty.
Variant GetSharedProperty(ModuleState& module, std::string_view name);

/// The session context string of entries key=value;... or "". Never fails.
std::string GetPropsString(ModuleState& module);

/// The upper-cased value of an entry of the context string, or "". The key must stand at the
/// start of an entry (the start of the text or just after ";") and is compared without regard to
/// case; the value runs to the next ";". Never fails.
std::string GetPropValue(ModuleState& module, std::string_view key);

/// The session language, upper-cased, cached once it is non-empty; "" when the context names
/// none. Never fails.
std::string GetSessionLanguage(ModuleState& module);

/// The language code the business objects work in: the context's Language entry, read anew on
/// every call, or "CHS" when it is empty.
std::string GetLanguageOrDefault(ModuleState& module);

/// The shared DataFlowInfo.DatasInfo, created on first use with IsBroxQuery set. Passes on the
/// creation error; nothing is held after a failed creation.
IDatasInfo& GetDataFlowInfo(ModuleState& module);

/// The account types (columns FAcctType and FDesc). Passes on every failure.
RecordsetPtr GetAccountTypes(ModuleState& module);

}  // namespace quarn::subsysmgr
