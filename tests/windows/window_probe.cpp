// Looks at the program's window from another process, as assistive
// technology does: by window messages, the accessibility interface and
// the events the window raises. Prints UTF-8, one line per element.
//   window_probe state        the window and each element in tab order:
//                             kind, accessible name, text, state
//   window_probe events SEC   each live-region change in SEC seconds,
//                             with the region's text at that moment

#include "windows/wide_text.h"

#include <fcntl.h>
#include <initguid.h>
#include <io.h>
#include <oleacc.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string utf8(const std::wstring& text)
{
    std::string escaped; // a line per element: line breaks written out
    for (char c : windows_ui::fromWide(text))
        escaped += c == '\r' ? std::string("\\r") : c == '\n' ? std::string("\\n") : std::string(1, c);
    return escaped;
}

std::wstring textOf(HWND hwnd)
{
    std::wstring text(static_cast<std::size_t>(SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(SendMessageW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

std::wstring accessibleName(HWND hwnd)
{
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                          reinterpret_cast<void**>(&object))))
        return L"?";
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    std::wstring found = SUCCEEDED(object->get_accName(self, &name)) && name ? name : L"";
    SysFreeString(name);
    object->Release();
    return found;
}

HWND programWindow()
{
    for (int i = 0; i < 100; ++i) {
        if (HWND found = FindWindowW(L"koren.Sorbela", nullptr))
            return found;
        Sleep(100);
    }
    std::fputs("no window of class koren.Sorbela\n", stderr);
    std::exit(2);
}

void printState(HWND window)
{
    GUITHREADINFO thread{};
    thread.cbSize = sizeof(thread);
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread);
    RECT client;
    GetClientRect(window, &client);
    std::printf("window\t%s\t%ldx%ld\n", utf8(textOf(window)).c_str(), client.right, client.bottom);
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t kind[64]{};
        GetClassNameW(child, kind, 64);
        const auto style = static_cast<DWORD>(GetWindowLongPtrW(child, GWL_STYLE));
        std::string state;
        if (!(style & WS_VISIBLE))
            state += " hidden";
        if (child == thread.hwndFocus)
            state += " focused";
        if ((style & BS_TYPEMASK) == BS_AUTORADIOBUTTON && SendMessageW(child, BM_GETCHECK, 0, 0) == BST_CHECKED)
            state += " chosen";
        std::printf("%s\t%s\t%s\t%s\n", utf8(kind).c_str(), utf8(accessibleName(child)).c_str(),
                    utf8(textOf(child)).c_str(), state.c_str());
    }
}

void CALLBACK onEvent(HWINEVENTHOOK, DWORD, HWND hwnd, LONG, LONG, DWORD, DWORD)
{
    std::printf("live region\t%s\n", utf8(textOf(hwnd)).c_str());
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    _setmode(_fileno(stdout), _O_BINARY);
    // Sizes as the window has them, not scaled down for a caller that knows
    // of one density only, as Windows (and Wine 10) do.
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const std::string what = argc > 1 ? argv[1] : "";
    HWND window = programWindow();
    if (what == "state") {
        printState(window);
    } else if (what == "events" && argc > 2) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        SetWinEventHook(EVENT_OBJECT_LIVEREGIONCHANGED, EVENT_OBJECT_LIVEREGIONCHANGED, nullptr, onEvent, process, 0,
                        WINEVENT_OUTOFCONTEXT);
        std::puts("listening");
        std::fflush(stdout);
        SetTimer(nullptr, 0, static_cast<UINT>(std::atoi(argv[2]) * 1000), nullptr);
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0 && message.message != WM_TIMER)
            DispatchMessageW(&message);
    } else {
        std::fputs("usage: window_probe state | events SECONDS\n", stderr);
        return 64;
    }
    return 0;
}
