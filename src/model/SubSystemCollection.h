#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "quarn/model/SubSystem.h"

namespace quarn::subsysmgr {

/// A group's subsystems in the order they were added, without keys: positions run from 1 to
/// Count() and lookups walk the collection comparing identifiers.
class SubSystemCollection {
  public:
    std::size_t Count() const { return items_.size(); }
    /// The subsystem at a position from 1 to Count().
    const SubSystemPtr& Item(std::size_t position) const { return items_.at(position - 1); }
    void Add(SubSystemPtr subSystem) { items_.push_back(std::move(subSystem)); }
    /// Removes the subsystem at a position from 1 to Count().
    void Remove(std::size_t position) {
        items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(position - 1));
    }

    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

  private:
    std::vector<SubSystemPtr> items_;
};

using SubSystemCollectionPtr = std::shared_ptr<SubSystemCollection>;

}  // namespace quarn::subsysmgr
