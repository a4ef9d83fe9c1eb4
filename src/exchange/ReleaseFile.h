#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "exchange/ExchangeFile.h"
#include "exchange/ExchangeText.h"
#include "host/IReleaseStore.h"

/// A release of the suite's delivered tree: the exchange file (ExchangeFile.h) with a header
/// that names the release and the account types it delivers,
///
///   {"format": 1, "release": {"name", "date"},
///    "accountTypes": [{"code", "names": {"CHS", "CHT", "EN"}}...],
///    "groups": [<group>...], "subsystems": [<subsystem>...]}
///
/// holding every delivered group and subsystem (none in the customer or platform ranges), each
/// subsystem under a group of the release.
namespace quarn::subsysmgr::exchange {

struct AccountTypeItem {
    int32_t code = 0;
    Names names;

    bool operator==(const AccountTypeItem&) const = default;
};

struct Release {
    SuiteRelease header;
    /// By code.
    std::vector<AccountTypeItem> accountTypes;
    std::vector<GroupItem> groups;
    std::vector<SubSystemItem> subSystems;
};

/// Whether an item lies outside the customer and platform ranges: delivered with the suite.
bool IsDelivered(const TreeItemRef& item);

/// The file's text: indented JSON ending in a line break.
std::string WriteRelease(const Release& release);

/// The release in a file's text (`fileName` is for messages). Raises as ReadExchange for a file
/// that is no complete exchange file or lacks the header (kMissingField, kWrongType naming the
/// member), kDuplicateItem for an account type listed twice, kNotDelivered for an item in the
/// customer or platform ranges and kSubSystemOutsideRelease for a subsystem under a group the
/// release does not hold.
Release ReadRelease(std::string_view content, std::string_view fileName, const ExchangeText& text);

}  // namespace quarn::subsysmgr::exchange
