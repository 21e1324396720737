// Reads the program's window from another process, as assistive technology
// does, and prints it in UTF-8: window_probe state | events (the live region's,
// until the window goes) | picture (its inside and menus on the screen, as
// WxH+X+Y) | where ELEMENT DPI (the element's middle as the table places it).

#include "quiz/element_table.h"
#include "windows/wide_text.h"

#include <fcntl.h>
#include <initguid.h>
#include <io.h>
#include <oleacc.h>
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

std::string utf8(const std::wstring& text)
{
    std::string escaped; // a line per element: line breaks written out
    for (char c : windows_ui::fromWide(text))
        escaped += c == '\r' ? std::string("\\r") : c == '\n' ? std::string("\\n") : std::string(1, c);
    return escaped;
}

std::string textOf(HWND hwnd)
{
    std::wstring text(static_cast<std::size_t>(SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(SendMessageW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return "\"" + utf8(text) + "\"";
}

std::string kindOf(HWND hwnd)
{
    wchar_t kind[64]{};
    GetClassNameW(hwnd, kind, 64);
    return utf8(kind);
}

// The styles in hexadecimal, which nothing escapes, and by name those a pupil
// or a screen reader meets: a top-level window's own (0x30000 are its boxes)
// or a control's, with its kind's.
std::string styles(HWND hwnd)
{
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE));
    const auto ex = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_EXSTYLE));
    const bool child = style & WS_CHILD, edit = kindOf(hwnd) == "Edit", button = kindOf(hwnd) == "Button";
    // clang-format off
    const std::pair<bool, const char*> named[] = {{!child && (style & WS_CAPTION) == WS_CAPTION, "caption"},
        {!child && (style & WS_SYSMENU), "system menu"}, {style & WS_THICKFRAME, "sizing border"},
        {!child && (style & WS_MINIMIZEBOX), "minimise box"}, {!child && (style & WS_MAXIMIZEBOX), "maximise box"},
        {child && (style & WS_TABSTOP), "tab stop"}, {child && (style & WS_GROUP), "group"},
        {style & WS_DISABLED, "disabled"}, {style & WS_VSCROLL, "vertical scroll bar"}, {style & WS_HSCROLL, "horizontal scroll bar"},
        {ex & WS_EX_TOPMOST, "topmost"}, {ex & WS_EX_LAYOUTRTL, "right-to-left"}, {ex & WS_EX_CONTEXTHELP, "help button"},
        {edit && (style & ES_READONLY), "read-only"}, {edit && (style & ES_MULTILINE), "multi-line"},
        {edit && (style & ES_PASSWORD), "password"}, {edit && (style & ES_NUMBER), "digits only"},
        {button && (style & BS_TYPEMASK) == BS_AUTORADIOBUTTON, "auto radio button"},
        {button && (style & BS_TYPEMASK) == BS_OWNERDRAW, "owner-drawn"}, {button && (style & BS_TYPEMASK) == BS_GROUPBOX, "group box"},
        {button && (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON, "default button"}};
    // clang-format on
    char text[40];
    std::snprintf(text, sizeof(text), "style %08lX ex %08lX:", style, ex);
    std::string names = text;
    for (const auto& [set, name] : named)
        names += set ? std::string(" ") + name : "";
    return names;
}

// Its name, role and states, in the words Windows gives them.
std::string accessible(HWND hwnd)
{
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                          reinterpret_cast<void**>(&object))))
        return "no accessible object";
    VARIANT self{}, role{}, state{};
    self.vt = VT_I4;
    BSTR name = nullptr;
    std::string found = SUCCEEDED(object->get_accName(self, &name)) && name ? "\"" + utf8(name) + "\"" : "no name";
    SysFreeString(name);
    wchar_t word[80]{};
    if (SUCCEEDED(object->get_accRole(self, &role)) && role.vt == VT_I4 && GetRoleTextW(role.lVal, word, 80))
        found += ", " + utf8(word);
    const auto states = SUCCEEDED(object->get_accState(self, &state)) ? static_cast<DWORD>(state.lVal) : 0;
    for (DWORD bit = 1; bit && bit <= states; bit <<= 1)
        found += (states & bit) && GetStateTextW(bit, word, 80) ? ", " + utf8(word) : "";
    object->Release();
    return found;
}

RECT rectOf(HWND hwnd, HWND window)
{
    RECT rect;
    GetWindowRect(hwnd, &rect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string place(HWND hwnd, HWND window)
{
    const RECT rect = rectOf(hwnd, window);
    char text[64];
    std::snprintf(text, sizeof(text), " at %ld,%ld %ldx%ld", rect.left, rect.top, rect.right - rect.left,
                  rect.bottom - rect.top);
    return text;
}

// A menu or any other window the program has opened: what a menu holds, Wine
// keeps from other processes, so its picture shows it.
std::vector<HWND> othersOf(HWND window)
{
    std::pair<HWND, std::vector<HWND>> found{window, {}};
    EnumWindows(
        [](HWND hwnd, LPARAM into) {
            auto& [window, others] = *reinterpret_cast<std::pair<HWND, std::vector<HWND>>*>(into);
            DWORD process = 0, ours = 0;
            GetWindowThreadProcessId(hwnd, &process);
            GetWindowThreadProcessId(window, &ours);
            if (process == ours && hwnd != window && IsWindowVisible(hwnd))
                others.push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found.second;
}

void printState(HWND window)
{
    GUITHREADINFO thread{};
    thread.cbSize = sizeof(thread);
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread);
    RECT client;
    GetClientRect(window, &client);
    std::printf("--- window\n%s %s %ldx%ld%s, %s\n--- elements in tab order\n", kindOf(window).c_str(),
                textOf(window).c_str(), client.right, client.bottom, GetForegroundWindow() == window ? " active" : "",
                styles(window).c_str());
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        std::string state = IsWindowVisible(child) ? "" : " hidden";
        state += child == thread.hwndFocus ? " focused" : "";
        if (child == thread.hwndCaret)
            state += " caret at " + std::to_string(thread.rcCaret.left) + "," + std::to_string(thread.rcCaret.top);
        if (kindOf(child) == "Button" && SendMessageW(child, BM_GETCHECK, 0, 0) == BST_CHECKED)
            state += " checked";
        if (kindOf(child) == "Edit") {
            const auto selection = static_cast<DWORD>(SendMessageW(child, EM_GETSEL, 0, 0));
            state += " selection " + std::to_string(LOWORD(selection)) + "-" + std::to_string(HIWORD(selection));
        }
        std::printf("%s %s%s%s, %s; %s\n", kindOf(child).c_str(), textOf(child).c_str(), place(child, window).c_str(),
                    state.c_str(), styles(child).c_str(), accessible(child).c_str());
    }
    std::puts("--- other windows");
    for (HWND other : othersOf(window))
        std::printf("%s %s%s, %s\n", kindOf(other).c_str(), textOf(other).c_str(), place(other, window).c_str(),
                    styles(other).c_str());
}

// The window's inside and its other windows, in the screen's pixels.
void printPicture(HWND window)
{
    RECT all{}, other;
    GetClientRect(window, &all);
    for (HWND hwnd : othersOf(window))
        UnionRect(&all, &all, &(other = rectOf(hwnd, window)));
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&all), 2);
    std::printf("%ldx%ld+%ld+%ld\n", all.right - all.left, all.bottom - all.top, all.left, all.top);
}

void printWhere(const std::string& name, int dpi)
{
    using quiz::kElements;
    const auto row = std::find_if(kElements.begin(), kElements.end(), [&](auto& r) { return elementName(r) == name; });
    const auto frame = std::find_if(kElements.begin(), kElements.end(), [](auto& r) { return r.name == "Frame1"; });
    if (row == kElements.end()) {
        std::fprintf(stderr, "no element %s in the table\n", name.c_str());
        std::exit(2);
    }
    const int x = row->left + row->width / 2 + (row->inFrame ? frame->left : 0);
    const int y = row->top + row->height / 2 + (row->inFrame ? frame->top : 0);
    std::printf("%d %d\n", MulDiv(x, dpi, 1440), MulDiv(y, dpi, 1440));
}

void CALLBACK onEvent(HWINEVENTHOOK, DWORD, HWND hwnd, LONG, LONG, DWORD, DWORD)
{
    std::printf("live region: %s\n", textOf(hwnd).c_str());
    std::fflush(stdout);
}

// The program's window, waited for up to 10 s if it is still to come.
HWND programWindow(bool wait)
{
    for (int i = 0; i < (wait ? 100 : 1); ++i, Sleep(100))
        if (HWND found = FindWindowW(L"koren.Sorbela", nullptr))
            return found;
    std::fputs("no window of class koren.Sorbela\n", stderr);
    std::exit(2);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    _setmode(_fileno(stdout), _O_BINARY);
    // Sizes as the window has them, not scaled down for a caller that knows
    // of one density only, as Windows (and Wine 10) do.
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const std::wstring what = argc > 1 ? argv[1] : L"";
    if (what == L"events") {
        // Hooked before the program starts, by the prefix's first process:
        // the program is never the one that boots Wine.
        SetWinEventHook(EVENT_OBJECT_LIVEREGIONCHANGED, EVENT_OBJECT_LIVEREGIONCHANGED, nullptr, onEvent, 0, 0,
                        WINEVENT_OUTOFCONTEXT);
        std::puts("listening");
        std::fflush(stdout);
        HWND window = programWindow(true);
        SetTimer(nullptr, 0, 100, nullptr);
        MSG message;
        while (IsWindow(window) && GetMessageW(&message, nullptr, 0, 0) > 0)
            DispatchMessageW(&message);
    } else if (what == L"state") {
        printState(programWindow(false));
    } else if (what == L"picture") {
        printPicture(programWindow(false));
    } else if (what == L"where" && argc > 3) {
        printWhere(windows_ui::fromWide(argv[2]), _wtoi(argv[3]));
    } else {
        std::fputs("usage: window_probe state | events | picture | where ELEMENT DPI\n", stderr);
        return 64;
    }
    return 0;
}
