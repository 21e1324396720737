#pragma once

#include <string_view>

namespace runtime {

// Ends the process with one line on standard error and a non-zero status.
// Used for faults the program cannot continue past (an arithmetic overflow);
// none occurs with the ranges the quiz uses.
[[noreturn]] void fatalError(std::string_view what);

inline constexpr int kFatalExitStatus = 70;

} // namespace runtime
