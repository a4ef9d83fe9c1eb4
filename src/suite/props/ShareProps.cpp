#include "suite/props/ShareProps.h"

namespace quarn::suite {

Variant ShareProps::GetProperty(int32_t processId, const std::string& name) {
    std::lock_guard lock(table_->mutex);
    const auto it = table_->values.find({processId, name});
    return it == table_->values.end() ? Variant() : it->second;
}

void ShareProps::SetProperty(int32_t processId, const std::string& name, Variant value) {
    std::lock_guard lock(table_->mutex);
    table_->values[{processId, name}] = std::move(value);
}

}  // namespace quarn::suite
