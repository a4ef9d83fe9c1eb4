#pragma once

#include <array>

#include "runtime/LocalizedError.h"

/// The numbered errors of the exchange of items: unknown items, refused deletions, files that
/// cannot be read, written or taken in. Each message is an English template (its own key in the
/// catalogs QuarnSubsysCli.<language>.json) with %1, %2 ... for the details.
namespace quarn::subsysmgr::exchange::errors {

inline constexpr std::string_view kSource = "subsysmgr";

inline constexpr ErrorDefinition kUnknownGroup{2303, kSource, "There is no subsystem group %1."};
inline constexpr ErrorDefinition kUnknownSubSystem{2304, kSource, "There is no subsystem %1."};
// 2305-2307 (a number out of range, a text too long, an account type not offered) are the
// editors' own checks.
/// Save refused a deletion and said why in a message box.
inline constexpr ErrorDefinition kGroupNotDeleted{2308, kSource,
                                                  "Subsystem group %1 was not deleted."};
inline constexpr ErrorDefinition kSubSystemNotDeleted{2309, kSource,
                                                      "Subsystem %1 was not deleted."};
inline constexpr ErrorDefinition kFileUnreadable{2310, kSource, "Cannot read the file %1."};
inline constexpr ErrorDefinition kFileUnwritable{2311, kSource, "Cannot write the file %1."};
/// An import file that is not an export of this program; nothing is imported.
inline constexpr ErrorDefinition kNotJson{2312, kSource,
                                          "The file %1 is not JSON (%2); nothing was imported."};
inline constexpr ErrorDefinition kFormatVersion{
    2313, kSource,
    "The file %1 has format version %2, this program reads version %3; nothing was imported."};
inline constexpr ErrorDefinition kMissingField{2314, kSource,
                                               "The file %1 lacks %2; nothing was imported."};
inline constexpr ErrorDefinition kWrongType{2315, kSource,
                                            "In the file %1, %2 must be %3; nothing was imported."};
inline constexpr ErrorDefinition kDuplicateItem{
    2316, kSource, "The file %1 lists %2 twice; nothing was imported."};
/// An item holds a text that is not valid UTF-8 (stored by another program), which an export
/// cannot hold exactly (%1 the kind of item, %2 its identifier, %3 the field).
inline constexpr ErrorDefinition kInvalidTextNotExported{
    2322, kSource,
    "The stored %3 of %1 %2 is not valid UTF-8, so an export cannot hold it exactly; nothing was "
    "exported. Correct it, or export with --replace-invalid to write U+FFFD in place of its "
    "invalid bytes."};

/// history --verify --against a file without the head of the history (an export of a database
/// without seals, or of an older version).
inline constexpr ErrorDefinition kNoHistoryHead{
    2323, kSource, "The file %1 records no sealed change of the history to compare with."};

/// A release file holding an item of the customer or platform ranges (%2: "group 850").
inline constexpr ErrorDefinition kNotDelivered{
    2330, kSource,
    "The release file %1 holds %2, which is not delivered with the suite; nothing was upgraded."};
inline constexpr ErrorDefinition kSubSystemOutsideRelease{
    2331, kSource,
    "The release file %1 puts subsystem %2 under group %3, which the release does not hold; "
    "nothing was upgraded."};
/// upgrade --move-orphans-to a group that is not a stored customer group.
inline constexpr ErrorDefinition kNoOrphanGroup{
    2332, kSource,
    "Subsystems can be moved only into a customer group (800-899) that exists; %1 is none."};
/// An upgrade with conflicts with customer or platform items; the preview names them.
inline constexpr ErrorDefinition kUpgradeRefused{
    2333, kSource,
    "The upgrade to release %1 was refused: %2 conflicts with customer or platform items; "
    "nothing was written."};
/// An upgrade whose database changed between its plan and its write: what the plan read no
/// longer holds.
inline constexpr ErrorDefinition kUpgradeStale{
    2334, kSource,
    "The upgrade to release %1 was refused: the database was changed after its preview was "
    "read; nothing was written. Preview the upgrade again."};

inline constexpr std::array kAll{
    kUnknownGroup,
    kUnknownSubSystem,
    kGroupNotDeleted,
    kSubSystemNotDeleted,
    kFileUnreadable,
    kFileUnwritable,
    kNotJson,
    kFormatVersion,
    kMissingField,
    kWrongType,
    kDuplicateItem,
    kInvalidTextNotExported,
    kNoHistoryHead,
    kNotDelivered,
    kSubSystemOutsideRelease,
    kNoOrphanGroup,
    kUpgradeRefused,
    kUpgradeStale,
};

}  // namespace quarn::subsysmgr::exchange::errors
