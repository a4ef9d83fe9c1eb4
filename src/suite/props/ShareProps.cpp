#include "suite/props/ShareProps.h"

namespace quarn::suite {

ShareProps::Table& ShareProps::SharedTable() {
    static Table table;
    return table;
}

Variant ShareProps::GetProperty(int32_t processId, const std::string& name) {
    Table& table = SharedTable();
    std::lock_guard lock(table.mutex);
    const auto it = table.values.find({processId, name});
    return it == table.values.end() ? Variant() : it->second;
}

void ShareProps::SetProperty(int32_t processId, const std::string& name, Variant value) {
    Table& table = SharedTable();
    std::lock_guard lock(table.mutex);
    table.values[{processId, name}] = std::move(value);
}

}  // namespace quarn::suite
