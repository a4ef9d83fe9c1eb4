#pragma once

namespace quarn {

/// Base of every component that the registry creates by programmatic identifier. Callers ask
/// the registry for the interface they need; the registry checks that the object supports it.
class Component {
  public:
    virtual ~Component() = default;
};

}  // namespace quarn
