#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "exchange/ExchangeFile.h"
#include "exchange/ExchangeText.h"
#include "exchange/ItemFields.h"
#include "exchange/ItemInput.h"
#include "exchange/ItemJson.h"
#include "exchange/TreeReader.h"
#include "foundation/ComError.h"
#include "runtime/ModuleState.h"

namespace quarn::subsysmgr::exchange {

/// What an import does, or would do, with one item of the file.
enum class ImportOutcome { Added, Updated, Unchanged, Refused };

/// "added", "updated", "unchanged" or "refused": the outcome's name in JSON and its source text.
std::string_view OutcomeName(ImportOutcome outcome);

/// One item of the file and what became, or would become, of it.
struct ImportedItem {
    std::string_view kind;  // "group" or "subsystem"
    int32_t id = 0;
    ImportOutcome outcome = ImportOutcome::Unchanged;
    /// Of an update (also one refused), in the order of the item's members: before is the
    /// stored value, after the file's.
    std::vector<FieldDifference> changes;
    /// Of a refusal.
    std::optional<ComError> error;
};

/// The members in which two items in their JSON form differ, names flattened ("names.EN").
std::vector<FieldDifference> CompareItems(const Json& stored, const Json& imported);

/// Told after each item how many of the file's items are done; returns false to stop there.
using ImportStep = std::function<bool(std::size_t done, std::size_t total)>;

/// An import of an export file's items through the editors' inputs, or its preview. Each item
/// is added (new identifier), updated (rewritten as an edit does) or left unchanged (equal to
/// what is stored), groups before subsystems; an item the rules or the store refuse is reported
/// with its error and the others go on. Import never deletes.
class ExchangeImport {
  public:
    /// Reads the stored groups and subsystems: every item is decided on the database as it is
    /// now. Passes on the store's failures.
    ExchangeImport(std::shared_ptr<ModuleState> module, const ExchangeText& text);

    /// Writes each item in its own transaction, and only while the stored item is still as it
    /// was read: one that someone else changed or deleted since is refused with error 1042.
    /// Stopped by `step`, it gives the items done so far.
    std::vector<ImportedItem> Run(const Exchange& exchange, const ImportStep& step = {});
    /// Decides and checks each item as Run does, with the same inputs and checks, and writes
    /// nothing. Each item is checked against the database as it is: a subsystem may go into a
    /// group that the file adds, but a conflict between two items of the file (one name given
    /// to two new groups) shows only when Run writes the first of them.
    std::vector<ImportedItem> Preview(const Exchange& exchange, const ImportStep& step = {});

  private:
    std::vector<ImportedItem> Take(const Exchange& exchange, WriteMode mode,
                                   const ImportStep& step);

    std::shared_ptr<ModuleState> module_;
    const ExchangeText& text_;
    std::unordered_map<int32_t, TreeReader::Stored<GroupItem>> groups_;
    std::unordered_map<int32_t, TreeReader::Stored<SubSystemItem>> subSystems_;
};

}  // namespace quarn::subsysmgr::exchange
