#pragma once

#include <string>
#include <vector>

#include "CliContext.h"
#include "exchange/InvalidText.h"

/// Stored texts that are not valid UTF-8. Our programs never store them, but another program
/// writing to the database may; such an item is still listed and shown, with a warning that
/// names the item and the field.
namespace quarn::subsysmgr::cli {

/// What becomes of the invalid bytes: escaped as \xNN in text, replaced by U+FFFD in JSON, kept
/// by an edit that does not give the field anew (whose save then refuses them).
enum class InvalidBytes { Escaped, Replaced, Kept };

/// Writes a warning to the error stream for each such text of the item.
void WarnOfInvalidText(CliContext& context, const GroupItem& group, InvalidBytes shown);
void WarnOfInvalidText(CliContext& context, const SubSystemItem& subSystem, InvalidBytes shown);

/// The output's own form of the bytes: escaped in text, replaced with --json.
InvalidBytes ShownInvalidBytes(const CliContext& context);

}  // namespace quarn::subsysmgr::cli
