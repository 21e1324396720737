#include "runtime/clock_random.h"
#include "windows/locale_format.h"
#include "windows/sorbela.h"

#include <objbase.h>
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/, int show)
{
    // Libraries load from System32 only, never from the folder the program
    // was started in.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
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
