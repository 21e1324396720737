#pragma once

#include <cstdint>

namespace runtime {

// Where the quiz gets its random numbers. Handed in, so a test can feed
// exact values and the question set-up stays reproducible.
class RandomSource {
public:
    virtual ~RandomSource() = default;

    // Starts a fresh sequence from the wall clock.
    virtual void reseed() = 0;

    // Next value r with 0 <= r < 1. `request` is any positive number; it
    // only says "the next one" and never changes the result.
    virtual float next(std::int16_t request) = 0;
};

} // namespace runtime
