// What the drill's window costs with nothing of the program's own: a plain
// Win32 window of the same size and colour with the same 13 standard
// controls, texts and font as the element table gives them, made the
// simplest way, with no colours, ring or accessibility of the program's.
// The Windows start-up benchmark measures against it.

#include "quiz/element_table.h"

#include <windows.h>

#include <algorithm>
#include <string>

namespace {

LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

std::wstring wide(std::string_view text)
{
    std::wstring out(static_cast<std::size_t>(
                         MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0)),
                     L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(),
                        static_cast<int>(out.size()));
    return out;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show)
{
    using quiz::Kind;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = CreateSolidBrush(RGB(192, 192, 255));
    windowClass.lpszClassName = L"reference";
    RegisterClassExW(&windowClass);
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame{0, 0, quiz::twipsToPixels(quiz::kForm.clientWidth), quiz::twipsToPixels(quiz::kForm.clientHeight)};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    HWND window = CreateWindowExW(0, L"reference", L"reference", style, CW_USEDEFAULT, CW_USEDEFAULT,
                                  frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance,
                                  nullptr);
    HFONT font = CreateFontW(-16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, RUSSIAN_CHARSET, 0, 0, 0,
                             VARIABLE_PITCH | FF_ROMAN, wide(quiz::kForm.fontFamily).c_str());
    const auto frameRow = std::find_if(quiz::kElements.begin(), quiz::kElements.end(),
                                       [](const quiz::ElementRow& row) { return row.kind == Kind::Frame; });
    for (const quiz::ElementRow& row : quiz::kElements) {
        const wchar_t* className = L"BUTTON";
        DWORD kind = 0;
        switch (row.kind) {
        case Kind::TextBox:
            className = L"EDIT";
            kind = WS_BORDER | ES_READONLY | (row.multiLine ? ES_MULTILINE | WS_VSCROLL : ES_AUTOHSCROLL);
            break;
        case Kind::Label:
            className = L"STATIC";
            kind = SS_CENTER;
            break;
        case Kind::Frame:
            kind = BS_GROUPBOX;
            break;
        case Kind::OptionButton:
            kind = BS_AUTORADIOBUTTON;
            break;
        case Kind::CommandButton:
            kind = BS_PUSHBUTTON;
            break;
        }
        const int left = row.left + (row.inFrame ? frameRow->left : 0);
        const int top = row.top + (row.inFrame ? frameRow->top : 0);
        HWND control = CreateWindowExW(0, className, wide(row.text).c_str(),
                                       WS_CHILD | WS_TABSTOP | (row.visible ? WS_VISIBLE : 0) | kind,
                                       quiz::twipsToPixels(left), quiz::twipsToPixels(top),
                                       quiz::twipsToPixels(row.width), quiz::twipsToPixels(row.height), window, nullptr,
                                       instance, nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    ShowWindow(window, show);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageW(window, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return 0;
}
