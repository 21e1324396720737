#pragma once

#include <cstdint>

namespace runtime {

// Nearest 32-bit integer, halves to the even neighbour (62.5 -> 62,
// 187.5 -> 188). A value that is not finite or does not fit is fatal.
std::int32_t roundToInt32(double value);

} // namespace runtime
