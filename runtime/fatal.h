#pragma once

#include <string_view>

namespace runtime {

// Ends the process with one line on standard error and a non-zero status.
// Used for faults the program cannot continue past (an arithmetic overflow);
// none occurs with the ranges the quiz uses.
[[noreturn]] void fatalError(std::string_view what);

// Where a program has no terminal to show that line (a Windows program),
// it also gives it to the user this way, before the process ends.
using FatalReporter = void (*)(std::string_view line);
void setFatalReporter(FatalReporter reporter);

inline constexpr int kFatalExitStatus = 70;

} // namespace runtime
