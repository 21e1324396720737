#include "runtime/checked16.h"
#include "runtime/clock_random.h"
#include "runtime/number_text.h"
#include "runtime/rounding.h"

#include <gtest/gtest.h>

#include <chrono>
#include <clocale>
#include <cmath>
#include <limits>
#include <set>
#include <thread>
#include <vector>

namespace {

using runtime::NumberFormat;

// The exit status of a fatal error, as the manual pages document it.
[[maybe_unused]] constexpr int kFatalStatus = 70; // unused where there are no death tests

NumberFormat periodFormat()
{
    return {};
}
NumberFormat commaFormat()
{
    return {",", " ", 3, "-", true};
}
// fr_FR groups with a narrow no-break space; ar_EG separates with U+066B.
NumberFormat frenchFormat()
{
    return {",", "\u202F", 3, "-", true};
}
NumberFormat arabicFormat()
{
    return {"\u066B", "\u066C", 3, "\u061C-", true};
}

TEST(Rounding, NearestWithHalvesToEven)
{
    // clang-format off
    const struct {
        double in;
        std::int32_t out;
    } cases[] = {
        {62.5, 62}, {187.5, 188}, {0.5, 0}, {1.5, 2}, {2.5, 2}, {999.5, 1000}, {1000.0, 1000},
        {62.49999, 62}, {62.50001, 63}, {0.0, 0}, {0.4999999, 0}, {-0.5, 0}, {-1.5, -2}, {-2.5, -2},
        {-2.6, -3}, {2147483647.0, 2147483647}, {-2147483648.0, std::numeric_limits<std::int32_t>::min()},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(runtime::roundToInt32(c.in), c.out) << c.in;
}

// No death tests where a test cannot start a process of its own (the
// browser build, in node): the browser round ends a round with a fatal error.
#if GTEST_HAS_DEATH_TEST
TEST(RoundingDeathTest, OutOfRangeIsFatal)
{
    EXPECT_EXIT(runtime::roundToInt32(2147483647.5 + 1.0), testing::ExitedWithCode(kFatalStatus),
                "koren: фатална грешка");
    EXPECT_EXIT(runtime::roundToInt32(std::nan("")), testing::ExitedWithCode(kFatalStatus), "");
}
#endif

TEST(Checked16, InRangeValuesPass)
{
    EXPECT_EQ(runtime::narrowTo16(32767), 32767);
    EXPECT_EQ(runtime::narrowTo16(-32768), -32768);
    EXPECT_EQ(runtime::narrowTo16(399), 399);
    EXPECT_EQ(runtime::add16(399, 10), 409);
    EXPECT_EQ(runtime::add16(32760, 7), 32767);
    EXPECT_EQ(runtime::add16(-32760, -8), -32768);
}

#if GTEST_HAS_DEATH_TEST
TEST(Checked16DeathTest, OverflowEndsTheProgramWithOneLine)
{
    EXPECT_EXIT(runtime::add16(32767, 1), testing::ExitedWithCode(kFatalStatus),
                "^koren: фатална грешка: препълване на 16-битово цяло число\n$");
    EXPECT_EXIT(runtime::add16(-32768, -1), testing::ExitedWithCode(kFatalStatus), "препълване");
    EXPECT_EXIT(runtime::narrowTo16(32768), testing::ExitedWithCode(kFatalStatus), "препълване");
    EXPECT_EXIT(runtime::narrowTo16(-32769), testing::ExitedWithCode(kFatalStatus), "препълване");
}
#endif

TEST(ClockRandom, ValuesStayBelowOne)
{
    EXPECT_EQ(runtime::ClockRandom::fromBits(0), 0.0f);
    EXPECT_EQ(runtime::ClockRandom::fromBits(1), 0x1p-24f);
    EXPECT_LT(runtime::ClockRandom::fromBits(runtime::ClockRandom::kSteps - 1), 1.0f);
    EXPECT_EQ(runtime::ClockRandom::fromBits(runtime::ClockRandom::kSteps - 1), 1.0f - 0x1p-24f);
    EXPECT_EQ(runtime::ClockRandom::fromBits(runtime::ClockRandom::kSteps), 0.0f);

    runtime::ClockRandom random;
    random.reseed();
    std::set<float> seen;
    for (int i = 0; i < 100000; ++i) {
        const float r = random.next(1000);
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 1.0f);
        seen.insert(r);
    }
    EXPECT_GT(seen.size(), 99000u); // not stuck, and fine-grained
}

// Eight values: two unrelated sequences agree on all of them by chance
// about once in 2^192 runs.
std::vector<float> nextValues(runtime::ClockRandom& random)
{
    std::vector<float> values;
    for (int i = 0; i < 8; ++i)
        values.push_back(random.next(1000));
    return values;
}

TEST(ClockRandom, ReseedingReplacesTheSequenceByOneFromTheClock)
{
    // What every start would ask if the clock were ignored.
    runtime::ClockRandom neverReseeded;
    const std::vector<float> fixedStart = nextValues(neverReseeded);

    runtime::ClockRandom random;
    nextValues(random);
    runtime::ClockRandom carriedOn = random;
    random.reseed();
    const std::vector<float> afterReseed = nextValues(random);
    EXPECT_NE(afterReseed, fixedStart);
    EXPECT_NE(afterReseed, nextValues(carriedOn)) << "the old sequence went on";

    // A class starting the program together must not get one question
    // sequence: starts a few milliseconds apart already differ.
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    random.reseed();
    EXPECT_NE(nextValues(random), afterReseed);
}

TEST(FixedText, ThreeDecimalsWithTheRegionalSeparator)
{
    const struct {
        double value;
        NumberFormat format;
        const char* text;
    } cases[] = {
        {std::sqrt(10.0), periodFormat(), "3.162"},
        {std::sqrt(10.0), commaFormat(), "3,162"},
        {std::sqrt(10.0), arabicFormat(), "3\u066B162"},
        {10.0, periodFormat(), "10.000"},
        {std::sqrt(409.0), periodFormat(), "20.224"},
        {std::sqrt(13.0), periodFormat(), "3.606"},
        {0.5, periodFormat(), "0.500"},
        {0.5, NumberFormat{".", ",", 3, "-", false}, ".500"},
        {1234567.0, periodFormat(), "1,234,567.000"},
        {1234.5, frenchFormat(), "1\u202F234,500"},
        {1234.5, NumberFormat{".", "", 3, "-", true}, "1234.500"},
        {-2.25, periodFormat(), "-2.250"},
        {-2.25, arabicFormat(), "\u061C-2\u066B250"},
        {999.9996, periodFormat(), "1,000.000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(runtime::fixedText(c.value, 3, c.format), c.text) << c.value;
}

TEST(IntegerText, DigitsOnly)
{
    EXPECT_EQ(runtime::integerText(144), "144");
    EXPECT_EQ(runtime::integerText(0), "0");
    EXPECT_EQ(runtime::integerText(-32768), "-32768");
    EXPECT_EQ(runtime::integerText(413), "413");
}

TEST(DoubleText, ShortestFormUpToFifteenDigits)
{
    const struct {
        double value;
        NumberFormat format;
        const char* text;
    } cases[] = {
        {3.162 * 3.162, periodFormat(), "9.998244"},
        {3.317 * 3.317, periodFormat(), "11.002489"},
        {144.0, periodFormat(), "144"},
        {12.0, periodFormat(), "12"},
        {3.162, commaFormat(), "3,162"},
        {3.162 * 3.162, commaFormat(), "9,998244"},
        {3.162 * 3.162, arabicFormat(), "9\u066B998244"},
        {1.0 / 3.0, periodFormat(), "0.333333333333333"},
        {20.322 * 20.322, periodFormat(), "412.983684"},
        {1234567.0, commaFormat(), "1234567"}, // never grouped
        {-0.0, periodFormat(), "0"},
        {-2.5, periodFormat(), "-2.5"},
        {1e20, periodFormat(), "1E+20"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(runtime::doubleText(c.value, c.format), c.text) << c.text;
}

TEST(NumberFromText, ReadsTheNumberAtTheStart)
{
    const struct {
        const char* text;
        NumberFormat format;
        double value;
    } cases[] = {
        {"3.162", periodFormat(), 3.162},
        {"12.000", periodFormat(), 12.0},
        {"20.322", periodFormat(), 20.322},
        {"3,162", commaFormat(), 3.162},
        {"3.162", commaFormat(), 3.162},
        {"3,162", periodFormat(), 3.0}, // a comma is no separator here
        {"3\u066B162", arabicFormat(), 3.162},
        {"  7.5abc", periodFormat(), 7.5},
        {"-2.5", periodFormat(), -2.5},
        {"+4", periodFormat(), 4.0},
        {".25", periodFormat(), 0.25},
        {"5.", periodFormat(), 5.0},
        {"1e3", periodFormat(), 1000.0},
        {"2D2", periodFormat(), 200.0},
        {"1e", periodFormat(), 1.0},
        {"1e+", periodFormat(), 1.0},
        {"1e-400", periodFormat(), 0.0},
        {"Option1", periodFormat(), 0.0},
        {"", periodFormat(), 0.0},
        {".", periodFormat(), 0.0},
        {"-", periodFormat(), 0.0},
        {"\u066B", arabicFormat(), 0.0},
        {"3\u066B", arabicFormat(), 3.0},
        {"3\xD9", arabicFormat(), 3.0}, // the separator's first byte alone
    };
    for (const auto& c : cases)
        EXPECT_EQ(runtime::numberFromText(c.text, c.format), c.value) << c.text;
}

#if GTEST_HAS_DEATH_TEST
TEST(NumberFromTextDeathTest, HugeNumberIsFatal)
{
    EXPECT_EXIT(runtime::numberFromText("1e400", periodFormat()), testing::ExitedWithCode(kFatalStatus), "препълване");
}
#endif

TEST(NumberText, IgnoresTheCLocale)
{
    // The toolkit sets the C locale from the environment; texts must not follow it.
    // The set-up script generates de_DE.UTF-8; the Windows C runtime calls the
    // same locale German_Germany. A comma locale makes printf and strtod give
    // a different answer, so this would catch their use.
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "German_Germany"))
        GTEST_SKIP() << "neither de_DE.UTF-8 nor German_Germany is known on this machine";
    EXPECT_EQ(runtime::doubleText(9.998244, periodFormat()), "9.998244");
    EXPECT_EQ(runtime::fixedText(3.1623, 3, periodFormat()), "3.162");
    EXPECT_EQ(runtime::numberFromText("3.162", periodFormat()), 3.162);
    std::setlocale(LC_NUMERIC, "C");
}

} // namespace
