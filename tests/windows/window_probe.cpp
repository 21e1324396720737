// Looks at the program from another process, as assistive technology and
// a lab's administrator do. Prints UTF-8.
//   window_probe state          the window, each element in tab order and any
//                               other window of the program's (a menu): class,
//                               styles, place, text, focus, check and the
//                               accessible name, role and states
//   window_probe events         each live-region change, until the window goes
//   window_probe picture        where on the screen the window's inside and its
//                               menus are, as WIDTHxHEIGHT+X+Y
//   window_probe where ELEMENT DPI  the middle of the element the table names
//                               (Option1_3), in the window's pixels at DPI
//   window_probe away           a window of its own takes the focus, until the
//                               program's window goes
//   window_probe shortcut LNK   what a shortcut starts

#include "quiz/element_table.h"
#include "windows/wide_text.h"

#include <fcntl.h>
#include <initguid.h>
#include <io.h>
#include <oleacc.h>
#include <shlobj.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <span>
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

std::wstring textOf(HWND hwnd)
{
    std::wstring text(static_cast<std::size_t>(SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(SendMessageW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

struct Bit {
    DWORD bits;
    const char* name;
};

// clang-format off
constexpr Bit kWindowStyles[] = {{WS_CAPTION, "caption"}, {WS_SYSMENU, "system menu"}, {WS_THICKFRAME, "sizing border"},
    {WS_MINIMIZEBOX, "minimise box"}, {WS_MAXIMIZEBOX, "maximise box"}, {WS_DISABLED, "disabled"}, {WS_VSCROLL, "vertical scroll bar"}};
constexpr Bit kChildStyles[] = {{WS_TABSTOP, "tab stop"}, {WS_GROUP, "group"}, {WS_DISABLED, "disabled"}, {WS_BORDER, "border"},
    {WS_VSCROLL, "vertical scroll bar"}, {WS_HSCROLL, "horizontal scroll bar"}};
constexpr Bit kEditStyles[] = {{ES_READONLY, "read-only"}, {ES_MULTILINE, "multi-line"}, {ES_PASSWORD, "password"},
    {ES_NUMBER, "digits only"}, {ES_CENTER, "centred"}, {ES_RIGHT, "right-aligned"}};
constexpr Bit kExStyles[] = {{WS_EX_TOPMOST, "topmost"}, {WS_EX_LAYOUTRTL, "right-to-left layout"},
    {WS_EX_RTLREADING, "right-to-left reading"}, {WS_EX_CLIENTEDGE, "sunken edge"}, {WS_EX_TOOLWINDOW, "tool window"},
    {WS_EX_CONTEXTHELP, "help button"}, {WS_EX_NOACTIVATE, "never active"}, {WS_EX_ACCEPTFILES, "takes dropped files"}};
constexpr const char* kButtonKinds[] = {"push button", "default push button", "check box", "auto check box",
    "radio button", "3-state", "auto 3-state", "group box", "user button", "auto radio button", "push box", "owner-drawn"};
// clang-format on

std::string named(DWORD style, std::span<const Bit> bits)
{
    std::string names;
    for (const Bit& bit : bits)
        names += (style & bit.bits) == bit.bits ? std::string(" ") + bit.name : "";
    return names;
}

// The window's styles as hexadecimal, which nothing escapes, and the names of
// those a pupil or a screen reader meets.
std::string styles(HWND hwnd, const std::wstring& kind)
{
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE));
    const auto ex = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_EXSTYLE));
    char hex[40];
    std::snprintf(hex, sizeof(hex), "style %08lX ex %08lX:", style, ex);
    std::string names = hex + named(style, style & WS_CHILD ? std::span<const Bit>(kChildStyles) : kWindowStyles)
                      + named(ex, kExStyles);
    if (kind == WC_EDITW)
        names += named(style, kEditStyles);
    if (kind == WC_BUTTONW && (style & BS_TYPEMASK) <= BS_OWNERDRAW)
        names += std::string(" ") + kButtonKinds[style & BS_TYPEMASK];
    return names;
}

// What assistive technology reads of it: its name, role and states, in the
// words Windows gives them.
std::string accessible(HWND hwnd)
{
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                          reinterpret_cast<void**>(&object))))
        return "no accessible object";
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    std::string found = SUCCEEDED(object->get_accName(self, &name)) && name ? "\"" + utf8(name) + "\"" : "no name";
    SysFreeString(name);
    VARIANT role{};
    VARIANT state{};
    wchar_t word[80]{};
    if (SUCCEEDED(object->get_accRole(self, &role)) && role.vt == VT_I4 && GetRoleTextW(role.lVal, word, 80))
        found += ", " + utf8(word);
    if (SUCCEEDED(object->get_accState(self, &state)) && state.vt == VT_I4) {
        for (DWORD bit = 1; bit && bit <= static_cast<DWORD>(state.lVal); bit <<= 1)
            if ((state.lVal & bit) && GetStateTextW(bit, word, 80))
                found += ", " + utf8(word);
    }
    object->Release();
    return found;
}

std::string place(HWND hwnd, HWND window)
{
    RECT rect;
    GetWindowRect(hwnd, &rect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    char text[64];
    std::snprintf(text, sizeof(text), "%ld,%ld %ldx%ld", rect.left, rect.top, rect.right - rect.left,
                  rect.bottom - rect.top);
    return text;
}

// The program's window, waited for up to 10 s where it is still to come.
HWND programWindow(bool wait)
{
    for (int i = 0; i < (wait ? 100 : 1); ++i) {
        if (HWND found = FindWindowW(L"koren.Sorbela", nullptr))
            return found;
        Sleep(100);
    }
    std::fputs("no window of class koren.Sorbela\n", stderr);
    std::exit(2);
}

// A menu or any other window the program has opened: what a menu holds the
// program keeps to itself under Wine, so its picture shows it.
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
    wchar_t kind[64]{};
    GetClassNameW(window, kind, 64);
    std::printf("--- window\n%s \"%s\" %ldx%ld%s, %s\n", utf8(kind).c_str(), utf8(textOf(window)).c_str(), client.right,
                client.bottom, GetForegroundWindow() == window ? " active" : "", styles(window, kind).c_str());
    std::puts("--- elements in tab order");
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        GetClassNameW(child, kind, 64);
        std::string state;
        if (child == thread.hwndFocus)
            state += " focused";
        if (child == thread.hwndCaret)
            state += " caret at " + std::to_string(thread.rcCaret.left) + "," + std::to_string(thread.rcCaret.top);
        if (kind == std::wstring(WC_BUTTONW) && SendMessageW(child, BM_GETCHECK, 0, 0) == BST_CHECKED)
            state += " checked";
        if (kind == std::wstring(WC_EDITW)) {
            const auto selection = static_cast<DWORD>(SendMessageW(child, EM_GETSEL, 0, 0));
            state += " selection " + std::to_string(LOWORD(selection)) + "-" + std::to_string(HIWORD(selection));
        }
        std::printf("%s \"%s\" at %s%s%s, %s; %s\n", utf8(kind).c_str(), utf8(textOf(child)).c_str(),
                    place(child, window).c_str(), IsWindowVisible(child) ? "" : " hidden", state.c_str(),
                    styles(child, kind).c_str(), accessible(child).c_str());
    }
    std::puts("--- other windows");
    for (HWND other : othersOf(window)) {
        GetClassNameW(other, kind, 64);
        std::printf("%s \"%s\" at %s, %s\n", utf8(kind).c_str(), utf8(textOf(other)).c_str(),
                    place(other, window).c_str(), styles(other, kind).c_str());
    }
}

// The window's inside and the program's other windows, on the screen.
void printPicture(HWND window)
{
    RECT all, other;
    GetClientRect(window, &all);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&all), 2);
    for (HWND hwnd : othersOf(window))
        if (GetWindowRect(hwnd, &other))
            UnionRect(&all, &all, &other);
    std::printf("%ldx%ld+%ld+%ld\n", all.right - all.left, all.bottom - all.top, all.left, all.top);
}

void CALLBACK onEvent(HWINEVENTHOOK, DWORD, HWND hwnd, LONG, LONG, DWORD, DWORD)
{
    std::printf("live region: %s\n", utf8(textOf(hwnd)).c_str());
    std::fflush(stdout);
}

// Runs the probe's messages until the program's window is gone.
void whileThere(HWND window)
{
    SetTimer(nullptr, 0, 100, nullptr);
    MSG message;
    while (IsWindow(window) && GetMessageW(&message, nullptr, 0, 0) > 0)
        DispatchMessageW(&message);
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

void away(HWND window)
{
    WNDCLASSW kind{};
    kind.lpfnWndProc = DefWindowProcW;
    kind.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    kind.lpszClassName = L"koren.away";
    RegisterClassW(&kind);
    // In the screen's far corner, clear of the program's window.
    HWND own = CreateWindowW(kind.lpszClassName, L"away", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 780, 600, 200, 120, nullptr,
                             nullptr, nullptr, nullptr);
    SetForegroundWindow(own);
    whileThere(window);
}

void printShortcut(const wchar_t* file)
{
    IShellLinkW* link = nullptr;
    IPersistFile* stored = nullptr;
    wchar_t path[MAX_PATH]{}, arguments[MAX_PATH]{}, folder[MAX_PATH]{}, icon[MAX_PATH]{};
    int index = 0;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link)))
        || FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&stored)))
        || FAILED(stored->Load(file, STGM_READ))) {
        std::puts("not a shortcut Windows can read");
        std::exit(1);
    }
    link->GetPath(path, MAX_PATH, nullptr, 0);
    link->GetArguments(arguments, MAX_PATH);
    link->GetWorkingDirectory(folder, MAX_PATH);
    link->GetIconLocation(icon, MAX_PATH, &index);
    std::printf("starts \"%s\" with \"%s\" in \"%s\", icon \"%s\",%d\n", utf8(path).c_str(), utf8(arguments).c_str(),
                utf8(folder).c_str(), utf8(icon).c_str(), index);
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
    if (what == L"shortcut" && argc > 2) {
        printShortcut(argv[2]);
        return 0;
    }
    HWND window = what == L"events" ? nullptr : programWindow(what == L"away");
    if (what == L"state") {
        printState(window);
    } else if (what == L"events") {
        // Hooked before the program starts, from the first of the prefix's
        // processes: the program is never the one that boots the prefix.
        SetWinEventHook(EVENT_OBJECT_LIVEREGIONCHANGED, EVENT_OBJECT_LIVEREGIONCHANGED, nullptr, onEvent, 0, 0,
                        WINEVENT_OUTOFCONTEXT);
        std::puts("listening");
        std::fflush(stdout);
        whileThere(programWindow(true));
    } else if (what == L"picture") {
        printPicture(window);
    } else if (what == L"where" && argc > 3) {
        printWhere(windows_ui::fromWide(argv[2]), _wtoi(argv[3]));
    } else if (what == L"away") {
        away(window);
    } else {
        std::fputs("usage: window_probe state | events | picture | where ELEMENT DPI | away | shortcut FILE.lnk\n",
                   stderr);
        return 64;
    }
    return 0;
}
