#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_set>

#include "exchange/ExchangeFile.h"
#include "exchange/TreeReader.h"
#include "runtime/ModuleState.h"

namespace quarn::subsysmgr::exchange {

/// The items an export writes: the customer-made and Brox groups, and the subsystems in those
/// ranges under a stored group, each ordered by identifier, with the head of the change log.
/// Passes on the store's failures.
Exchange CustomerItems(const std::shared_ptr<ModuleState>& module);

/// The head of the change log that an export records, read before its items so that the export
/// holds every change up to it; none where the log keeps no seals. Passes on the store's failures.
std::optional<ChainHead> ExportHead(const std::shared_ptr<ModuleState>& module);
/// Hands over the items of CustomerItems (without the head), in its order, while they are read
/// (see TreeReader::EachInRanges): only the rows in the exported ranges are read.
void EachCustomerItem(const std::shared_ptr<ModuleState>& module, const TreeReader::OnGroup& group,
                      const TreeReader::OnSubSystem& subSystem);

/// The stored groups in `groups` with all their subsystems, and the stored subsystems in
/// `subSystems`, whatever their range, each ordered by identifier. Identifiers that are not
/// stored are left out. Passes on the store's failures.
Exchange ChosenItems(const std::shared_ptr<ModuleState>& module,
                     const std::unordered_set<int32_t>& groups,
                     const std::unordered_set<int32_t>& subSystems);

}  // namespace quarn::subsysmgr::exchange
