#include "runtime/clock_random.h"
#include "runtime/fatal.h"
#include "windows/locale_format.h"
#include "windows/sorbela.h"
#include "windows/wide_text.h"

#include <objbase.h>
#include <windows.h>

namespace {

// A Windows program has no terminal: a fault it cannot go on past is shown.
void showFatalError(std::string_view line)
{
    MessageBoxW(nullptr, windows_ui::toWide(line).c_str(), L"koren", MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/, int show)
{
    // Libraries load from System32 only, never from the folder the program
    // was started in.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    runtime::setFatalReporter(showFatalError);
    // What screen readers are told beyond the controls' own words goes
    // through COM.
    const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));

    int status = 0;
    {
        runtime::ClockRandom random;
        windows_ui::Sorbela form(instance, random, windows_ui::userNumberFormat());
        form.load();
        form.show(show);
        MSG message;
        BOOL got;
        while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) {
            if (form.takeKey(message))
                continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        status = got == 0 ? static_cast<int>(message.wParam) : EXIT_FAILURE;
    }
    if (com)
        CoUninitialize();
    return status;
}
