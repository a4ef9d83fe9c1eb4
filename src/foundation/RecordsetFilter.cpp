#include "foundation/RecordsetFilter.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "foundation/ComError.h"
#include "foundation/FoundationErrors.h"
#include "foundation/Utf8Text.h"

namespace quarn {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsNameStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}
bool IsNameChar(char c) {
    return IsNameStart(c) || IsDigit(c);
}

// A cursor over the filter text that reports where parsing failed.
class FilterParser {
  public:
    explicit FilterParser(std::string_view text) : text_(text) {}

    bool AtEnd() const { return pos_ >= text_.size(); }

    std::size_t SkipBlanks() {
        const std::size_t start = pos_;
        while (!AtEnd() && IsBlank(text_[pos_])) {
            ++pos_;
        }
        return pos_ - start;
    }

    std::string_view Name() {
        if (AtEnd() || !IsNameStart(text_[pos_])) {
            Fail("a column name");
        }
        const std::size_t start = pos_;
        while (!AtEnd() && IsNameChar(text_[pos_])) {
            ++pos_;
        }
        return text_.substr(start, pos_ - start);
    }

    bool Operator() {
        if (text_.substr(pos_, 2) == "<>") {
            pos_ += 2;
            return false;
        }
        if (!AtEnd() && text_[pos_] == '=') {
            ++pos_;
            return true;
        }
        Fail("the operator = or <>");
    }

    EqualityKey Value() {
        if (!AtEnd() && text_[pos_] == '\'') {
            return EqualityKey(QuotedText());
        }
        return Number();
    }

    bool Keyword(std::string_view word) {
        if (text::EqualsIgnoreCaseAscii(text_.substr(pos_, word.size()), word)) {
            pos_ += word.size();
            return true;
        }
        return false;
    }

    [[noreturn]] void Fail(std::string_view expected) const {
        throw ComError(ErrorNumber(FoundationError::FilterSyntax), "Recordset.Filter",
                       "The filter \"" + std::string(text_) + "\" does not parse: expected " +
                           std::string(expected) + " at character " + std::to_string(pos_ + 1) +
                           ".");
    }

  private:
    std::string QuotedText() {
        ++pos_;  // opening quote
        std::string result;
        while (true) {
            if (AtEnd()) {
                Fail("a closing quote");
            }
            const char c = text_[pos_++];
            if (c != '\'') {
                result.push_back(c);
                continue;
            }
            if (!AtEnd() && text_[pos_] == '\'') {
                result.push_back('\'');
                ++pos_;
                continue;
            }
            return result;
        }
    }

    EqualityKey Number() {
        const std::size_t start = pos_;
        if (!AtEnd() && (text_[pos_] == '-' || text_[pos_] == '+')) {
            ++pos_;
        }
        const std::size_t digitsStart = pos_;
        while (!AtEnd() && (IsDigit(text_[pos_]) || text_[pos_] == '.')) {
            ++pos_;
        }
        std::string_view literal = text_.substr(start, pos_ - start);
        if (pos_ == digitsStart || (!AtEnd() && IsNameChar(text_[pos_]))) {
            pos_ = start;
            Fail("a number or a quoted text");
        }
        if (literal.front() == '+') {
            literal.remove_prefix(1);
        }
        if (literal.find('.') == std::string_view::npos) {
            int64_t integer = 0;  // exact, also beyond the 53 bits of a double
            const auto [end, error] =
                std::from_chars(literal.data(), literal.data() + literal.size(), integer);
            if (error == std::errc() && end == literal.data() + literal.size()) {
                return EqualityKey(integer);
            }
        }
        double number = 0.0;
        const auto [end, error] =
            std::from_chars(literal.data(), literal.data() + literal.size(), number);
        if (error != std::errc() || end != literal.data() + literal.size()) {
            pos_ = start;
            Fail("a number or a quoted text");
        }
        return *EqualityKeyOf(Variant(number));
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

}  // namespace

RecordsetFilter RecordsetFilter::Parse(std::string_view expression, const RecordTable& table) {
    RecordsetFilter filter;
    FilterParser parser(expression);
    parser.SkipBlanks();
    if (parser.AtEnd()) {
        return filter;
    }
    while (true) {
        const std::string_view name = parser.Name();
        const auto column = table.FindColumn(name);
        if (!column) {
            throw ComError(ErrorNumber(FoundationError::UnknownColumn), "Recordset.Filter",
                           "The filter \"" + std::string(expression) + "\" names the column " +
                               std::string(name) + ", which the Recordset does not have.");
        }
        parser.SkipBlanks();
        const bool equal = parser.Operator();
        parser.SkipBlanks();
        filter.terms_.push_back(Term{*column, equal, parser.Value()});

        const bool blankBefore = parser.SkipBlanks() > 0;
        if (parser.AtEnd()) {
            return filter;
        }
        if (!blankBefore || !parser.Keyword("AND") || parser.SkipBlanks() == 0) {
            parser.Fail("AND between blanks, or the end of the filter");
        }
    }
}

bool RecordsetFilter::Matches(const RecordTable& table, std::size_t row) const {
    return std::all_of(terms_.begin(), terms_.end(), [&](const Term& term) {
        const auto key = EqualityKeyOf(table.Value(row, term.column));
        if (!key) {
            return false;  // a null matches neither = nor <>
        }
        return (*key == term.value) == term.equal;
    });
}

RecordsetFilter RecordsetFilter::And(const RecordsetFilter& other) const {
    RecordsetFilter combined = *this;
    combined.terms_.insert(combined.terms_.end(), other.terms_.begin(), other.terms_.end());
    return combined;
}

std::optional<EqualityKey> RecordsetFilter::EqualTo(std::size_t column) const {
    for (const Term& term : terms_) {
        if (term.equal && term.column == column) {
            return term.value;
        }
    }
    return std::nullopt;
}

std::vector<uint32_t> RecordsetFilter::MatchingRows(const RecordTable& table) const {
    const Term* mostSelective = nullptr;
    std::size_t fewest = 0;
    for (const Term& term : terms_) {
        if (!term.equal) {
            continue;
        }
        const std::size_t candidates = table.CandidateCount(term.column, term.value);
        if (!mostSelective || candidates < fewest) {
            mostSelective = &term;
            fewest = candidates;
        }
    }
    std::vector<uint32_t> rows =
        mostSelective ? table.RowsEqualTo(mostSelective->column, mostSelective->value)
                      : table.LiveRows();
    if (terms_.size() > 1 || !mostSelective) {
        std::erase_if(rows, [&](uint32_t row) { return !Matches(table, row); });
    }
    return rows;
}

std::string QuoteFilterText(std::string_view text) {
    std::string result = "'";
    for (const char c : text) {
        result.push_back(c);
        if (c == '\'') {
            result.push_back('\'');
        }
    }
    result.push_back('\'');
    return result;
}

}  // namespace quarn
