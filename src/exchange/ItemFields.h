#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "exchange/ItemJson.h"
#include "host/IChangeHistory.h"

/// The fields of groups and subsystems under one name: the key the exchange file gives them.
/// History, the import's preview and export all speak of "names.EN" and "accountTypes", never of
/// the stored columns.
namespace quarn::subsysmgr::exchange {

/// A field whose value differs, by its key in the exchange file ("names.EN" for a nested one),
/// with the values as the file writes them (null where the item did not exist).
struct FieldDifference {
    std::string key;
    Json before;
    Json after;
};

/// The fields a logged change altered, in the order of the item's columns. A column the editors
/// do not show (the program identifier, the copy of the simplified-Chinese name) is left out, and
/// so is a change the field does not show (another bit of the console column, the order of an
/// account-type list). Values are as the exchange file writes them: flags as booleans, account
/// types as a list of codes.
std::vector<FieldDifference> LoggedFields(const ItemChange& change);
/// The same for an account type ("names.CHS", ...) or a release ("name", "date"); a release's
/// bookkeeping (its change, the account types it replaced) is left out.
std::vector<FieldDifference> LoggedFields(const RecordChange& change);

}  // namespace quarn::subsysmgr::exchange
