#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/ExchangeText.h"
#include "exchange/TreeItems.h"
#include "host/IChangeHistory.h"

/// The file that export writes and import reads: one JSON object
///
///   {"format": 1, "history": {"change": N, "seal": "<hex>"},
///    "groups": [<group>...], "subsystems": [<subsystem>...]}
///
/// with the items in the form of ItemJson.h. "history" is the newest sealed change of the
/// database when it was exported (absent where the log keeps no seals), against which
/// `history --verify --against` catches a later rewrite. Other members are ignored.
namespace quarn::subsysmgr::exchange {

inline constexpr int kExchangeFormat = 1;

struct Exchange {
    std::vector<GroupItem> groups;
    std::vector<SubSystemItem> subSystems;
    std::optional<ChainHead> history;
};

/// The file's text: indented JSON ending in a line break.
std::string WriteExchange(const Exchange& exchange);

/// Writes the file's text item by item as they come, as WriteExchange lays it out, so that an
/// export need not hold its items: every group first, then every subsystem.
class ExchangeWriter {
  public:
    explicit ExchangeWriter(const std::optional<ChainHead>& history);

    void Add(const GroupItem& group);
    /// Ends the groups' list at the first subsystem.
    void Add(const SubSystemItem& subSystem);
    /// The whole text in parts, to be written one after the other: a long text is kept in parts
    /// so that it is never copied to grow. Nothing may be added after it.
    std::vector<std::string> Finish();

  private:
    void OpenItem();
    void CloseList(bool last);
    void StartSubSystems();

    static constexpr std::size_t kPartSize = std::size_t{1} << 20;

    std::vector<std::string> parts_;
    std::string out_;
    std::size_t listed_ = 0;  // items in the list being written
    bool inSubSystems_ = false;
};

/// The items of a file's text (`fileName` is for messages). Raises kNotJson, kFormatVersion,
/// kMissingField, kWrongType (naming the member, e.g. subsystems[2].names.EN) or kDuplicateItem
/// for a file that is not a complete export: such a file gives no items at all. A number that
/// is no 32-bit whole number (850.5, 1e10, 1e999) is a value of the wrong type.
Exchange ReadExchange(std::string_view content, std::string_view fileName,
                      const ExchangeText& text);

}  // namespace quarn::subsysmgr::exchange
