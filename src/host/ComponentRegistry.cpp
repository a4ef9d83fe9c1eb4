#include "host/ComponentRegistry.h"

#include "foundation/Utf8Text.h"
#include "host/HostErrors.h"

namespace quarn {

void ComponentRegistry::Register(std::string_view progId, Factory factory) {
    std::lock_guard lock(mutex_);
    factories_[text::ToUpperAscii(progId)] = {std::string(progId), std::move(factory)};
}

bool ComponentRegistry::Unregister(std::string_view progId) {
    std::lock_guard lock(mutex_);
    return factories_.erase(text::ToUpperAscii(progId)) > 0;
}

bool ComponentRegistry::IsRegistered(std::string_view progId) const {
    std::lock_guard lock(mutex_);
    return factories_.count(text::ToUpperAscii(progId)) > 0;
}

std::vector<std::string> ComponentRegistry::ProgIds() const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> result;
    for (const auto& [key, entry] : factories_) {
        result.push_back(entry.first);
    }
    return result;
}

std::shared_ptr<Component> ComponentRegistry::CreateObject(std::string_view progId) const {
    Factory factory;
    {
        std::lock_guard lock(mutex_);
        const auto it = factories_.find(text::ToUpperAscii(progId));
        if (it != factories_.end()) {
            factory = it->second.second;
        }
    }
    if (!factory) {
        throw ComError(
            ErrorNumber(HostError::ComponentNotRegistered), std::string(progId),
            "The component " + std::string(progId) + " is not installed: cannot create it.");
    }
    auto object = factory();
    if (!object) {
        throw ComError(ErrorNumber(HostError::ComponentNotRegistered), std::string(progId),
                       "The component " + std::string(progId) + " could not be created.");
    }
    return object;
}

void ComponentRegistry::RaiseInterfaceNotSupported(std::string_view progId) {
    throw ComError(ErrorNumber(HostError::InterfaceNotSupported), std::string(progId),
                   "The component " + std::string(progId) +
                       " does not support the interface this caller needs.");
}

std::shared_ptr<ComponentRegistry> ComponentRegistry::Process() {
    static const auto registry = std::make_shared<ComponentRegistry>();
    return registry;
}

}  // namespace quarn
