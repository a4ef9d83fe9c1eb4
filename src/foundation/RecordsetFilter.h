#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "quarn/foundation/RecordTable.h"

namespace quarn {

/// A parsed Recordset filter: terms `column op value` joined by AND.
///
///   filter := term { blanks "AND" blanks term }      (AND in any letter case)
///   term   := column [blanks] ("=" | "<>") [blanks] value
///   value  := number | "'" text "'"                  ('' inside the text stands for one ')
///
/// A number matches numeric values, a quoted text matches text values exactly (letter case
/// counts). A null never matches, with either operator. The empty filter matches every row.
class RecordsetFilter {
  public:
    /// Parses `expression` against the table's columns. Raises ComError FilterSyntax when it does
    /// not parse and UnknownColumn when a term names a column the table does not have.
    static RecordsetFilter Parse(std::string_view expression, const RecordTable& table);

    bool IsEmpty() const { return terms_.empty(); }

    /// The value that an "=" term requires of `column`, when the filter has one: every row it
    /// admits holds that value there.
    std::optional<EqualityKey> EqualTo(std::size_t column) const;

    /// A filter that admits what both admit.
    RecordsetFilter And(const RecordsetFilter& other) const;

    /// Numbers of the live rows that match, ascending. With equality terms the candidates come
    /// from the index of the most selective one; only they are tested against the other terms.
    std::vector<uint32_t> MatchingRows(const RecordTable& table) const;

  private:
    struct Term {
        std::size_t column;
        bool equal;  // "=" when true, "<>" otherwise
        EqualityKey value;
    };
    bool Matches(const RecordTable& table, std::size_t row) const;

    std::vector<Term> terms_;
};

/// The text as a quoted filter literal, every apostrophe doubled: O'Brien gives 'O''Brien'.
std::string QuoteFilterText(std::string_view text);

}  // namespace quarn
