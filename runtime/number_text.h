#pragma once

#include "runtime/number_format.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace runtime {

// `value` with exactly `decimals` digits after the regional decimal
// separator, grouped and signed the regional way: 3.162, 3,162, 1 234,500.
std::string fixedText(double value, int decimals, const NumberFormat& format);

// Plain decimal digits with a leading "-" if negative; never grouped or padded.
std::string integerText(std::int32_t value);

// The general text form of a double: at most 15 significant digits, no
// trailing zeros, the regional decimal separator, none for whole values
// (9.998244, 144). No grouping.
std::string doubleText(double value, const NumberFormat& format);

// The number at the start of `text`: leading blanks skipped, an optional
// sign, digits, a decimal separator (a period or the regional one), digits,
// an optional exponent. Reading stops at the first character that cannot
// continue the number; no number at all reads as 0.
double numberFromText(std::string_view text, const NumberFormat& format);

} // namespace runtime
