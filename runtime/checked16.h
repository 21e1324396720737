#pragma once

#include <cstdint>

namespace runtime {

// 16-bit integer arithmetic that refuses to wrap: a result outside
// -32768..32767 is fatal, never silently truncated.
std::int16_t narrowTo16(std::int32_t value);
std::int16_t add16(std::int16_t a, std::int16_t b);

} // namespace runtime
