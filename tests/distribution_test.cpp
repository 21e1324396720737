// Every value the program's generator can produce, pushed through the real
// question set-up, against the counts worked out here with integers alone.

#include "quiz/element_model.h"
#include "quiz/quiz.h"
#include "runtime/clock_random.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <map>
#include <vector>

namespace {

using runtime::ClockRandom;

// Feeds the k-th generator value as both draws of the k-th question.
class Enumerator final : public runtime::RandomSource {
public:
    void reseed() override {}
    float next(std::int16_t) override
    {
        const float value = ClockRandom::fromBits(k);
        if (++drawsThisQuestion == 2) {
            drawsThisQuestion = 0;
            ++k;
        }
        return value;
    }
    std::uint32_t k = 0;
    int drawsThisQuestion = 0;
};

// How many k in 0..2^24-1 round k * scale / 2^24 to n, halves going to the
// even neighbour: n - 1/2 <= k * scale / 2^24 <= n + 1/2 in whole numbers.
std::int64_t countRoundingTo(std::int64_t n, std::int64_t scale)
{
    constexpr std::int64_t steps = std::int64_t{1} << 24;
    const auto countBelow = [&](std::int64_t twiceBound, bool inclusive) {
        // k with 2 * k * scale < twiceBound * 2^24 (or <=), clamped to 0..steps
        const std::int64_t limit = twiceBound * steps;
        if (limit < 0)
            return std::int64_t{0};
        std::int64_t below = (limit + 2 * scale - 1) / (2 * scale); // k * 2 * scale < limit
        if (inclusive && below * 2 * scale == limit)
            ++below;
        return std::min(below, steps);
    };
    const bool even = n % 2 == 0;
    return countBelow(2 * n + 1, even) - countBelow(2 * n - 1, !even);
}

TEST(Distribution, EveryGeneratorValueThroughTheQuestionSetUp)
{
    quiz::ElementModel window;
    Enumerator random;
    quiz::Quiz quiz(window, random, runtime::NumberFormat{});

    std::map<int, std::int64_t> bases;
    std::vector<std::int64_t> baseCounts(32768); // BaseNumber is never negative here
    std::array<std::int64_t, 5> slots{};
    for (std::uint32_t k = 0; k < ClockRandom::kSteps; ++k) {
        quiz.Command1_Click(1);
        ++baseCounts[static_cast<std::size_t>(quiz.baseNumber())];
        ++slots[static_cast<std::size_t>(*quiz.correctSlot())];
    }
    ASSERT_EQ(random.k, ClockRandom::kSteps);
    for (std::size_t base = 0; base < baseCounts.size(); ++base)
        if (baseCounts[base] != 0)
            bases[static_cast<int>(base)] = baseCounts[base];

    std::map<int, std::int64_t> expectedBases;
    for (int t = 0; t <= 1000; ++t)
        expectedBases[t % 400 + 10] += countRoundingTo(t, 1000);
    std::array<std::int64_t, 5> expectedSlots{};
    for (int u = 0; u <= 10; ++u)
        expectedSlots[static_cast<std::size_t>(u % 5)] += countRoundingTo(u, 10);
    EXPECT_EQ(bases, expectedBases);
    EXPECT_EQ(slots, expectedSlots);

    // What those counts mean, in the terms the pupil would notice.
    constexpr double perUnit = static_cast<double>(ClockRandom::kSteps) / 1000.0;
    ASSERT_EQ(bases.size(), 400u);
    EXPECT_EQ(bases.begin()->first, 10);
    EXPECT_EQ(bases.rbegin()->first, 409);
    for (const auto& [base, count] : bases) {
        const double units = base == 10 || base == 210 ? 2.5 : base < 210 ? 3.0 : 2.0;
        EXPECT_NEAR(static_cast<double>(count), units * perUnit, 2.0) << base;
    }
    for (const auto count : slots)
        EXPECT_NEAR(static_cast<double>(count), ClockRandom::kSteps / 5.0, 2.0);
}

} // namespace
