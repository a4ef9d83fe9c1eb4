#pragma once

#include <cstddef>
#include <vector>

#include "quarn/foundation/Variant.h"

namespace quarn {

/// An ordered list of Variants with positions from 0. Held by VectorPtr: a Vector has reference
/// semantics, Copy makes a new one.
class Vector {
  public:
    static VectorPtr Create() { return std::make_shared<Vector>(); }

    void Add(Variant value) { items_.push_back(std::move(value)); }
    std::size_t Count() const { return items_.size(); }

    /// The item at `position`; raises ComError IndexOutOfRange outside 0..Count()-1.
    const Variant& Item(std::size_t position) const;

    /// A new Vector with the same items; object items are shared, not copied.
    VectorPtr Copy() const { return std::make_shared<Vector>(*this); }

    const std::vector<Variant>& Items() const { return items_; }

  private:
    std::vector<Variant> items_;
};

}  // namespace quarn
