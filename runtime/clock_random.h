#pragma once

#include "runtime/random_source.h"

#include <cstdint>
#include <random>

namespace runtime {

// The program's own generator: 24 random bits scaled by 2^-24, so every
// value is an exact float, uniform over the 2^24 steps of [0, 1), and 1.0
// cannot occur (a float distribution over [0, 1) may round up to 1.0).
class ClockRandom final : public RandomSource {
public:
    static constexpr std::uint32_t kSteps = 1u << 24;

    ClockRandom();

    void reseed() override;
    float next(std::int16_t request) override;

    // The value produced by `bits` (taken modulo 2^24).
    static float fromBits(std::uint32_t bits);

private:
    std::mt19937 engine_;
};

} // namespace runtime
