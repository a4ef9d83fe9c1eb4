#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quarn::designer {

/// A business object under a subsystem: its identifier and its name in the session language.
struct BusinessObject {
    int32_t id = 0;
    std::string name;
};

/// The business objects of one kind under a subsystem; `caption` is the kind's designer text
/// (texts::kBills ...).
struct BusinessObjectKind {
    std::string_view caption;
    std::vector<BusinessObject> objects;
};

/// The kinds that have business objects under the subsystem, in the order the tree shows them:
/// base types, bills, multi-level checks, work flows, reports. Read through the subsystem's
/// business object, in the session language; raises the store's ComError.
std::vector<BusinessObjectKind> ReadBusinessObjects(int32_t subSystemId);

}  // namespace quarn::designer
