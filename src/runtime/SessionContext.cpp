#include "runtime/SessionContext.h"

#include "foundation/Utf8Text.h"
#include "host/IShareProps.h"
#include "host/ProgIds.h"

namespace quarn::subsysmgr {

Variant GetSharedProperty(ModuleState& module, std::string_view name) {
    try {
        const auto store = module.registry->Create<IShareProps>(progid::kShareProps);
        return store->GetProperty(module.processId, std::string(name));
    } catch (...) {
        return {};
    }
}

std::string GetPropsString(ModuleState& module) {
    try {
        return GetSharedProperty(module, kPropsStringProperty).TextOrEmpty();
    } catch (...) {
        return {};  // an object or other value that is no text
    }
}

std::string GetPropValue(ModuleState& module, std::string_view key) {
    const std::string props = GetPropsString(module);
    const std::string wanted = std::string(key) + "=";
    std::size_t entryStart = 0;
    while (entryStart < props.size()) {
        std::size_t entryEnd = props.find(';', entryStart);
        if (entryEnd == std::string::npos) {
            entryEnd = props.size();
        }
        const std::string_view entry(props.data() + entryStart, entryEnd - entryStart);
        if (text::EqualsIgnoreCaseAscii(entry.substr(0, wanted.size()), wanted)) {
            return text::ToUpperAscii(entry.substr(wanted.size()));
        }
        entryStart = entryEnd + 1;
    }
    return {};
}

std::string GetSessionLanguage(ModuleState& module) {
    if (module.languageCache.empty()) {
        module.languageCache = GetPropValue(module, kLanguageKey);
    }
    return text::ToUpperAscii(module.languageCache);
}

std::string GetLanguageOrDefault(ModuleState& module) {
    std::string language = GetPropValue(module, kLanguageKey);
    return language.empty() ? std::string(kDefaultLanguage) : language;
}

IDatasInfo& GetDataFlowInfo(ModuleState& module) {
    if (!module.dataFlowInfo) {
        auto info = module.registry->Create<IDatasInfo>(progid::kDatasInfo);
        module.dataFlowInfo = info;
        info->IsBroxQuery(true);
    }
    return *module.dataFlowInfo;
}

RecordsetPtr GetAccountTypes(ModuleState& module) {
    return GetDataFlowInfo(module).GetAcctInfo(int16_t{0});
}

}  // namespace quarn::subsysmgr
