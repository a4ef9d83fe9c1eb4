#pragma once

#include <cstdint>
#include <limits>

namespace CLI {
class Validator;
}

/// Whole numbers on the command line are decimal, as people write them: digits with a leading
/// '-' for a negative number and nothing else. A leading zero is one more digit (017536 is 17536),
/// never the mark of an octal number; '+', blanks, hexadecimal, exponents, fractions and empty
/// values are no numbers.
namespace quarn::subsysmgr::cli {

/// The transform of an integer option whose values lie in [min, max]. Refuses any other value with
/// a validation error that names the option and quotes the value; hands the parser's own
/// conversion, which would read 010 as octal and 0x10 as hexadecimal, the plain decimal number.
CLI::Validator DecimalNumber(int64_t min = std::numeric_limits<int32_t>::min(),
                             int64_t max = std::numeric_limits<int32_t>::max());

/// The same for a comma-separated list of 32-bit numbers ("1, 3"), blanks around an entry allowed.
/// The value becomes the plain list ("1,3"); an empty value is an empty list.
CLI::Validator DecimalList();

}  // namespace quarn::subsysmgr::cli
