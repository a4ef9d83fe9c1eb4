#pragma once

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "quarn/host/Component.h"

namespace quarn {

/// Creates suite components by programmatic identifier (compared without regard to case).
/// Thread-safe.
class ComponentRegistry {
  public:
    using Factory = std::function<std::shared_ptr<Component>()>;

    /// Registers a factory, replacing any earlier one under the same identifier.
    void Register(std::string_view progId, Factory factory);
    /// Returns false when nothing was registered under the identifier.
    bool Unregister(std::string_view progId);
    bool IsRegistered(std::string_view progId) const;
    std::vector<std::string> ProgIds() const;

    /// A new object from the factory. Raises ComError ComponentNotRegistered when there is no
    /// factory (that is how a missing component shows) and passes on what the factory raises.
    std::shared_ptr<Component> CreateObject(std::string_view progId) const;

    /// A new object that supports interface T; raises ComError InterfaceNotSupported otherwise.
    template <class T>
    std::shared_ptr<T> Create(std::string_view progId) const {
        auto object = std::dynamic_pointer_cast<T>(CreateObject(progId));
        if (!object) {
            RaiseInterfaceNotSupported(progId);
        }
        return object;
    }

    /// The registry of this process, shared by every module that is not given one of its own.
    static std::shared_ptr<ComponentRegistry> Process();

  private:
    [[noreturn]] static void RaiseInterfaceNotSupported(std::string_view progId);

    mutable std::mutex mutex_;
    std::map<std::string, std::pair<std::string, Factory>> factories_;  // keyed by upper case
};

}  // namespace quarn
