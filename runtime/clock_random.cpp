#include "runtime/clock_random.h"

#include <chrono>

namespace runtime {

ClockRandom::ClockRandom() = default;

void ClockRandom::reseed()
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const auto ticks = static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
    std::seed_seq seed{static_cast<std::uint32_t>(ticks), static_cast<std::uint32_t>(ticks >> 32)};
    engine_.seed(seed);
}

float ClockRandom::next(std::int16_t /*request*/)
{
    return fromBits(static_cast<std::uint32_t>(engine_() >> 8));
}

float ClockRandom::fromBits(std::uint32_t bits)
{
    return static_cast<float>(bits % kSteps) * (1.0f / static_cast<float>(kSteps));
}

} // namespace runtime
