#pragma once

#include <optional>

namespace app {

// The status of a command line the program does not understand (EX_USAGE).
inline constexpr int kUsageExitStatus = 64;

// Reads the command line before the toolkit starts, so that asking for help
// or the version, or mistyping an option, needs no display. Answers --help
// and --version on standard output, a mistake in one line on standard error,
// and returns the exit status then; returns nothing when the window is to
// open, with the toolkit's own options left in argv for QApplication.
std::optional<int> answerCommandLine(int argc, const char* const argv[]);

} // namespace app
