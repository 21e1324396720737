#include "runtime/fatal.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace runtime {
namespace {
FatalReporter reporter = nullptr;
}

void setFatalReporter(FatalReporter report)
{
    reporter = report;
}

void fatalError(std::string_view what)
{
    const std::string line = "koren: фатална грешка: " + std::string(what) + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
    if (reporter)
        reporter(line);
    // No destructors: the window and toolkit may be half-way through a
    // handler, and unwinding them could only add a second fault.
    std::_Exit(kFatalExitStatus);
}

} // namespace runtime
