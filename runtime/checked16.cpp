#include "runtime/checked16.h"

#include "runtime/fatal.h"

#include <limits>

namespace runtime {

std::int16_t narrowTo16(std::int32_t value)
{
    if (value < std::numeric_limits<std::int16_t>::min() || value > std::numeric_limits<std::int16_t>::max())
        fatalError("препълване на 16-битово цяло число");
    return static_cast<std::int16_t>(value);
}

std::int16_t add16(std::int16_t a, std::int16_t b)
{
    return narrowTo16(std::int32_t{a} + std::int32_t{b});
}

} // namespace runtime
