// Prints every number text the program can show or read, in several
// regional styles, and the edge values: the same program built natively and
// for the browser must print the record (tests/round/records/engine/).

#include "runtime/number_text.h"

#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

using runtime::NumberFormat;

std::string bits(double value) // the exact value read, beyond what its text shows
{
    char out[24];
    std::uint64_t raw = 0;
    std::memcpy(&raw, &value, sizeof raw);
    std::snprintf(out, sizeof out, "%016" PRIx64, raw);
    return out;
}

} // namespace

int main()
{
    const struct {
        const char* name;
        NumberFormat format;
    } styles[] = {
        {"period", {}},
        {"comma, space groups", {",", " ", 3, "-", true}},
        {"comma, narrow no-break space groups", {",", "\u202F", 3, "-", true}},
        {"U+066B, U+066C groups, U+061C minus", {"\u066B", "\u066C", 3, "\u061C-", true}},
        {"period, no leading zero, groups of two", {".", "'", 2, "-", false}},
    };
    const double edges[] = {0.0,  -0.0, 0.5,    0.0005, 0.0004999, 999.9995, 1234567.0, -2.25,   1.0 / 3.0,
                            1e15, 1e16, 1e20,   1e-5,   1e-300,    4.9e-324, 1.7e308,   2.5e-7,  123456789012345678.0,
                            0.1,  12.0, -1e-20, 9.5,    10.5,      0.0625,   20.3225,   3.16225, 412.983684};
    // clang-format off
    const char* texts[] = {"3.162", "3,162", "3\u066B162", " 7.5x", "-2.5", "+4", ".25", "5.", "1e3", "2D2", "1e", "1e+",
                           "1e-400", "1e-310", "Option1", "", "\u066B", "0.1", "9.998244000000000000001",
                           "123456789012345678901234567890", "4.9e-324"};
    // clang-format on
    for (const auto& [name, format] : styles) {
        std::printf("== %s\n", name);
        for (int n = 10; n <= 413; ++n) {
            const std::string caption = runtime::fixedText(std::sqrt(n), 3, format);
            const double x = runtime::numberFromText(caption, format);
            std::printf("%d %s %s %s = %s\n", n, caption.c_str(), bits(x).c_str(),
                        runtime::doubleText(x, format).c_str(), runtime::doubleText(x * x, format).c_str());
        }
        for (const double edge : edges)
            std::printf("%s: %s %s %s\n", bits(edge).c_str(), runtime::fixedText(edge, 3, format).c_str(),
                        runtime::fixedText(edge, 0, format).c_str(), runtime::doubleText(edge, format).c_str());
        for (const char* text : texts)
            std::printf("\"%s\": %s\n", text, bits(runtime::numberFromText(text, format)).c_str());
    }
}
