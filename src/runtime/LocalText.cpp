#include "runtime/LocalText.h"

#include "foundation/Utf8Text.h"
#include "host/ProgIds.h"
#include "runtime/SessionContext.h"

namespace quarn::subsysmgr {

namespace {

IResLoader& ResourceLoader(ModuleState& module) {
    if (!module.resLoader) {
        module.resLoader = module.registry->Create<IResLoader>(progid::kResLoader);
    }
    auto& loader = *module.resLoader;
    if (loader.ResFileBaseName() != kResourceFileBaseName) {
        loader.ResFileBaseName(std::string(kResourceFileBaseName));
    }
    if (loader.LanguageID() != module.languageCache) {
        loader.LanguageID(module.languageCache);
    }
    return loader;
}

}  // namespace

std::string GetLocalText(ModuleState& module, std::string_view text) {
    const std::string_view key = text::TrimBlanks(text);
    if (key.empty()) {
        return {};
    }
    try {
        GetSessionLanguage(module);  // fills the language cache
        IResLoader& loader = ResourceLoader(module);
        const std::size_t leadLength = static_cast<std::size_t>(key.data() - text.data());
        return std::string(text.substr(0, leadLength)) + loader.LoadString(std::string(key)) +
               std::string(text.substr(leadLength + key.size()));
    } catch (...) {
        return std::string(text);
    }
}

std::string FormatLocalText(ModuleState& module, std::string_view templateText,
                            const std::vector<Variant>& arguments) {
    const std::string localized = GetLocalText(module, templateText);
    if (!module.formatter) {
        module.formatter = module.registry->Create<IMessageFormatter>(progid::kMessageFormatter);
    }
    return module.formatter->FormatMessage(localized, arguments);
}

}  // namespace quarn::subsysmgr
