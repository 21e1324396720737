#include "runtime/rounding.h"

#include "runtime/fatal.h"

#include <cmath>

namespace runtime {

std::int32_t roundToInt32(double value)
{
    // Explicit rather than std::nearbyint: the result must not depend on
    // whatever rounding mode some other code left in the FPU.
    double whole = std::floor(value);
    const double fraction = value - whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0))
        whole += 1.0;
    if (!(whole >= -2147483648.0 && whole <= 2147483647.0))
        fatalError("препълване при закръгляване до цяло число");
    return static_cast<std::int32_t>(whole);
}

} // namespace runtime
