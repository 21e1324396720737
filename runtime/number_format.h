#pragma once

#include <string>

namespace runtime {

// The user's regional number settings. The caller reads them from wherever
// the platform keeps them and hands them in; nothing in the engine looks at
// global locale state, so the same code formats identically in every test.
// Separators are UTF-8 and may be several bytes long (U+066B, U+202F).
struct NumberFormat {
    std::string decimalSeparator = ".";
    std::string groupSeparator = ",";
    int groupSize = 3; // 0 or less: no grouping
    std::string negativeSign = "-";
    bool leadingZero = true; // "0.5" rather than ".5"
};

} // namespace runtime
