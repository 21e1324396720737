#include "windows/sorbela.h"

#include "quiz/element_table.h"
#include "runtime/fatal.h"
#include "windows/look_up.h"
#include "windows/resource.h"
#include "windows/wide_text.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

namespace windows_ui {

using quiz::ElementRow;
using quiz::kElements;
using quiz::kForm;
using quiz::Kind;

namespace {

// Control IDs: the table's row number from kFirstId; keys 1 to 5 from kFirstKey.
constexpr int kFirstId = 100;
constexpr int kFirstKey = 1000;
constexpr int kRingPixels = 2; // at 96 dots per inch
constexpr int kTwipsPerInch = 1440;
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kEditBorder = RGB(122, 122, 122);

constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

COLORREF toColorref(quiz::Rgb rgb)
{
    return RGB(rgb.red, rgb.green, rgb.blue);
}

// Per-monitor DPI came with Windows 10 1607: looked up, so that the
// program starts on every Windows 10, and measured the old way before it.
UINT dpiOf(HWND hwnd)
{
    using GetDpiForWindow = UINT(WINAPI*)(HWND);
    static const auto forWindow = lookUp<GetDpiForWindow>(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow");
    if (forWindow)
        return forWindow(hwnd);
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return static_cast<UINT>(dpi);
}

SIZE windowSizeFor(int clientWidth, int clientHeight, UINT dpi)
{
    using AdjustForDpi = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = lookUp<AdjustForDpi>(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi");
    RECT frame{0, 0, clientWidth, clientHeight};
    if (adjustForDpi)
        adjustForDpi(&frame, kWindowStyle, FALSE, 0, dpi);
    else
        AdjustWindowRectEx(&frame, kWindowStyle, FALSE, 0);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

int toPixels(int twips, UINT dpi)
{
    return MulDiv(twips, static_cast<int>(dpi), kTwipsPerInch);
}

bool isHighContrast()
{
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof(contrast);
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0)
        && (contrast.dwFlags & HCF_HIGHCONTRASTON);
}

std::wstring windowText(HWND hwnd)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

} // namespace

Sorbela::Sorbela(HINSTANCE instance, runtime::RandomSource& random, const runtime::NumberFormat& format)
    : instance_(instance), quiz_(*this, random, format)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    windowClass.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_KOREN), IMAGE_ICON,
                                                      GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
    windowClass.hIconSm =
        static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_KOREN), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                      GetSystemMetrics(SM_CYSMICON), 0));
    RegisterClassExW(&windowClass);

    highContrast_ = isHighContrast();
    CreateWindowExW(0, kClassName, toWide(kForm.title).c_str(), kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                    CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, this);
    if (!hwnd_)
        runtime::fatalError("не може да се създаде прозорецът");

    dpi_ = dpiOf(hwnd_);
    font_ = fontFor(dpi_);
    // Created in the table's order, which is the tab order.
    for (const ElementRow& row : kElements)
        build(row);
    // The frame only draws round the options, which are the window's own
    // children: kept below them, it would otherwise paint over them.
    SetWindowPos(frame1_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    accessibility_.makeLiveRegion(text1_[0]);
    fitWindow({}, SWP_NOMOVE);

    // Keys 1 to 5, from the main row and the keypad, choose the option in
    // that place wherever the focus is.
    std::vector<ACCEL> keys;
    for (WORD i = 0; i < option1_.size(); ++i) {
        keys.push_back({FVIRTKEY, static_cast<WORD>('1' + i), static_cast<WORD>(kFirstKey + i)});
        keys.push_back({FVIRTKEY, static_cast<WORD>(VK_NUMPAD1 + i), static_cast<WORD>(kFirstKey + i)});
    }
    keys_ = CreateAcceleratorTableW(keys.data(), static_cast<int>(keys.size()));
    lastFocus_ = text1_[0];
}

Sorbela::~Sorbela()
{
    if (hwnd_)
        DestroyWindow(hwnd_);
    if (keys_)
        DestroyAcceleratorTable(keys_);
    if (font_)
        DeleteObject(font_);
    for (const auto& [colour, solid] : brushes_)
        DeleteObject(solid);
}

void Sorbela::build(const ElementRow& row)
{
    const std::wstring text = toWide(row.text);
    const auto at = static_cast<std::size_t>(std::max(row.index, 0));
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (row.visible ? WS_VISIBLE : 0);
    const wchar_t* className = WC_BUTTONW;
    // Each control but the options starts a group of its own; the five
    // options are one group, which the arrow keys move round.
    const bool inOptionGroup = row.kind == Kind::OptionButton && row.index > 0;
    if (!inOptionGroup)
        style |= WS_GROUP;
    switch (row.kind) {
    case Kind::TextBox:
        className = WC_EDITW;
        style |= WS_TABSTOP | ES_READONLY | ES_LEFT
               | (row.multiLine ? ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL : ES_AUTOHSCROLL);
        break;
    case Kind::Label:
        className = WC_STATICW;
        style |= SS_CENTER | SS_NOPREFIX;
        break;
    case Kind::Frame:
        style |= BS_GROUPBOX;
        break;
    case Kind::OptionButton:
        style |= BS_AUTORADIOBUTTON; // the tab stop: keepOptionsReachable
        break;
    case Kind::CommandButton:
        // Drawn by the window: a standard button will not show its colour.
        style |= WS_TABSTOP | BS_OWNERDRAW;
        break;
    }
    if (!row.accessibleName.empty()) {
        // A box with no caption is named by the label before it, as
        // assistive technology reads Windows' standard controls; this one
        // is never shown.
        CreateWindowExW(0, WC_STATICW, toWide(row.accessibleName).c_str(), WS_CHILD | SS_NOPREFIX, 0, 0, 0, 0, hwnd_,
                        nullptr, instance_, nullptr);
    }
    const auto id = static_cast<INT_PTR>(kFirstId + elements_.size());
    // Made empty and given its font, its ring and margins before its text:
    // the long description is laid out once, in its own font (laid out in
    // the system font, it trips Wine's text layout).
    const RECT place = placeOf(row);
    HWND control = CreateWindowExW(0, className, L"", style, place.left, place.top, place.right - place.left,
                                   place.bottom - place.top, hwnd_, reinterpret_cast<HMENU>(id), instance_, nullptr);
    if (!control)
        runtime::fatalError("не може да се създаде елемент " + quiz::elementName(row));
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    elements_.push_back({&row, control});
    if (!row.accessibleName.empty())
        accessibility_.name(control, toWide(row.accessibleName));

    switch (row.kind) {
    case Kind::TextBox:
        if (row.multiLine)
            text1_.at(at) = control;
        else
            text2_ = control;
        SetWindowSubclass(control, ringProc, 0, reinterpret_cast<DWORD_PTR>(this));
        break;
    case Kind::Label:
        label1_.at(at) = control;
        break;
    case Kind::Frame:
        frame1_ = control;
        SetWindowSubclass(control, ringProc, 0, reinterpret_cast<DWORD_PTR>(this));
        break;
    case Kind::OptionButton:
        option1_.at(at) = control;
        SetWindowSubclass(control, ringProc, 0, reinterpret_cast<DWORD_PTR>(this));
        break;
    case Kind::CommandButton:
        command1_.at(at) = control;
        break;
    }
    if (row.kind == Kind::TextBox || row.kind == Kind::OptionButton) {
        // The ring's room, which the control learns only now.
        SetWindowPos(control, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    if (row.kind == Kind::TextBox)
        SendMessageW(control, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(ringWidth(), ringWidth()));
    SetWindowTextW(control, text.c_str());
}

// The window's font at a monitor's dots per inch.
HFONT Sorbela::fontFor(UINT dpi)
{
    LOGFONTW face{};
    face.lfHeight = -MulDiv(kForm.fontPoints, static_cast<int>(dpi), 72);
    face.lfWeight = FW_NORMAL;
    face.lfCharSet = RUSSIAN_CHARSET;
    face.lfQuality = CLEARTYPE_QUALITY;
    // A serif of the same widths where Times New Roman itself is missing.
    face.lfPitchAndFamily = VARIABLE_PITCH | FF_ROMAN;
    const std::wstring family = toWide(kForm.fontFamily);
    family.copy(face.lfFaceName, LF_FACESIZE - 1);
    return CreateFontIndirectW(&face);
}

// Where an element stands at the window's dots per inch: its place in twips
// in the window's inside, or in the frame's for the options.
RECT Sorbela::placeOf(const ElementRow& row) const
{
    int left = row.left;
    int top = row.top;
    if (row.inFrame) {
        const auto frame = std::find_if(kElements.begin(), kElements.end(),
                                        [](const ElementRow& element) { return element.kind == Kind::Frame; });
        left += frame->left;
        top += frame->top;
    }
    // Each edge rounded on its own, so that neighbours stay neighbours.
    return {toPixels(left, dpi_), toPixels(top, dpi_), toPixels(left + row.width, dpi_),
            toPixels(top + row.height, dpi_)};
}

// The window's size for its dots per inch, at a place of the screen.
void Sorbela::fitWindow(POINT at, UINT flags)
{
    const SIZE size = windowSizeFor(toPixels(kForm.clientWidth, dpi_), toPixels(kForm.clientHeight, dpi_), dpi_);
    SetWindowPos(hwnd_, nullptr, at.x, at.y, size.cx, size.cy, flags | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The window moved to a monitor of another density: every element in its
// place and font at that density.
void Sorbela::layOut()
{
    for (const Element& element : elements_) {
        const RECT place = placeOf(*element.row);
        SendMessageW(element.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        SetWindowPos(element.hwnd, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        if (element.row->kind == Kind::TextBox)
            SendMessageW(element.hwnd, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
                         MAKELPARAM(ringWidth(), ringWidth()));
    }
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void Sorbela::load()
{
    quiz_.Form_Load();
}

void Sorbela::show(int how)
{
    ShowWindow(hwnd_, how);
    UpdateWindow(hwnd_);
    SetFocus(text1_[0]);
}

bool Sorbela::takeKey(MSG& message)
{
    // Escape means nothing here; a multi-line box would close the window on it.
    if ((message.message == WM_KEYDOWN || message.message == WM_CHAR)
        && message.wParam == (message.message == WM_KEYDOWN ? VK_ESCAPE : 0x1B))
        return true;
    return TranslateAcceleratorW(hwnd_, keys_, &message) || IsDialogMessageW(hwnd_, &message);
}

LRESULT CALLBACK Sorbela::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Sorbela*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Sorbela*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return self ? self->handle(message, wParam, lParam) : DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT Sorbela::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        command(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_NEXTDLGCTL: {
        // Tab in the multi-line result area: the box hands it on here.
        HWND next = LOWORD(lParam) ? reinterpret_cast<HWND>(wParam) : GetNextDlgTabItem(hwnd_, GetFocus(), wParam != 0);
        if (next) {
            if (SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
                SendMessageW(next, EM_SETSEL, 0, -1);
            SetFocus(next);
        }
        return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
        return colourStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_DRAWITEM:
        drawButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_ERASEBKGND: {
        RECT client;
        GetClientRect(hwnd_, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, brush(background(nullptr)));
        return 1;
    }
    case WM_ACTIVATE:
        // The focus comes back to where the pupil left it.
        if (LOWORD(wParam) == WA_INACTIVE) {
            if (HWND focus = GetFocus(); focus && IsChild(hwnd_, focus))
                lastFocus_ = focus;
        } else if (lastFocus_) {
            SetFocus(lastFocus_);
        }
        return 0;
    case WM_SETFOCUS:
        if (lastFocus_)
            SetFocus(lastFocus_);
        return 0;
    case WM_DPICHANGED: {
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        HFONT old = font_;
        dpi_ = HIWORD(wParam);
        font_ = fontFor(dpi_);
        layOut();
        DeleteObject(old);
        fitWindow({suggested->left, suggested->top}, 0);
        return 0;
    }
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:
    case WM_THEMECHANGED:
        highContrast_ = isHighContrast();
        RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY:
        hwnd_ = nullptr;
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void Sorbela::command(int id, int code, HWND control)
{
    if (id >= kFirstKey && id < kFirstKey + static_cast<int>(option1_.size())) {
        // As a click on it: the option takes the focus, so that a screen
        // reader says which was chosen.
        SendMessageW(option1_[static_cast<std::size_t>(id - kFirstKey)], BM_CLICK, 0, 0);
        return;
    }
    if (id == IDOK) {
        // Return or Enter: the focused button is pressed; elsewhere nothing.
        HWND focus = GetFocus();
        if (std::find(command1_.begin(), command1_.end(), focus) != command1_.end())
            SendMessageW(focus, BM_CLICK, 0, 0);
        return;
    }
    if (code != BN_CLICKED)
        return;
    for (std::size_t i = 0; i < option1_.size(); ++i) {
        // An option counts only once it is chosen: one that takes the focus
        // unchosen reports a click too.
        if (control == option1_[i] && SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED)
            quiz_.Option1_Click(static_cast<std::int16_t>(i));
    }
    for (std::size_t i = 0; i < command1_.size(); ++i) {
        if (control != command1_[i])
            continue;
        quiz_.Command1_Click(static_cast<std::int16_t>(i));
        // The result area does not have the focus: its new text is read out
        // as one line once the handler is done with it.
        std::wstring said = windowText(text1_[0]);
        std::replace(said.begin(), said.end(), L'\r', L' ');
        said.erase(std::remove(said.begin(), said.end(), L'\n'), said.end());
        accessibility_.announce(text1_[0], said);
    }
}

// Auto option buttons keep the tab stop on the chosen one only; with none
// chosen, the first keeps it, or Tab would pass the options by.
void Sorbela::keepOptionsReachable()
{
    const bool anyChosen = std::any_of(option1_.begin(), option1_.end(), [](HWND option) {
        return SendMessageW(option, BM_GETCHECK, 0, 0) == BST_CHECKED;
    });
    if (!anyChosen)
        SetWindowLongPtrW(option1_[0], GWL_STYLE, GetWindowLongPtrW(option1_[0], GWL_STYLE) | WS_TABSTOP);
}

const Sorbela::Element& Sorbela::elementOf(HWND control) const
{
    static const Element none{nullptr, nullptr};
    const auto found = std::find_if(elements_.begin(), elements_.end(),
                                    [control](const Element& element) { return element.hwnd == control; });
    return found == elements_.end() ? none : *found;
}

// The window keeps its own light colours on any desktop, as the table
// gives them; in high contrast it takes the system's colours throughout.
COLORREF Sorbela::background(const ElementRow* row) const
{
    const bool box = row && row->kind == Kind::TextBox;
    if (highContrast_)
        return GetSysColor(box ? COLOR_WINDOW : COLOR_BTNFACE);
    if (!row)
        return toColorref(kForm.background);
    return row->background ? toColorref(*row->background) : kWhite;
}

COLORREF Sorbela::textColour(const ElementRow* row) const
{
    if (highContrast_)
        return GetSysColor(row && row->kind == Kind::TextBox ? COLOR_WINDOWTEXT : COLOR_BTNTEXT);
    return kBlack;
}

HBRUSH Sorbela::brush(COLORREF colour)
{
    const auto found = std::find_if(brushes_.begin(), brushes_.end(),
                                    [colour](const auto& known) { return known.first == colour; });
    if (found != brushes_.end())
        return found->second;
    brushes_.emplace_back(colour, CreateSolidBrush(colour));
    return brushes_.back().second;
}

int Sorbela::ringWidth() const
{
    return MulDiv(kRingPixels, static_cast<int>(dpi_), USER_DEFAULT_SCREEN_DPI);
}

LRESULT Sorbela::colourStatic(HDC dc, HWND control)
{
    const ElementRow* row = elementOf(control).row;
    SetTextColor(dc, textColour(row));
    SetBkColor(dc, background(row));
    return reinterpret_cast<LRESULT>(brush(background(row)));
}

void Sorbela::drawButton(const DRAWITEMSTRUCT& item)
{
    const ElementRow* row = elementOf(item.hwndItem).row;
    HDC dc = item.hDC;
    RECT face = item.rcItem;
    const bool pressed = item.itemState & ODS_SELECTED;
    const bool focused = item.itemState & ODS_FOCUS;

    FillRect(dc, &face, brush(background(row)));
    if (focused) {
        // The ring every focused control wears, round the whole button.
        const int ring = ringWidth();
        for (int i = 0; i < ring; ++i) {
            FrameRect(dc, &face, brush(textColour(row)));
            InflateRect(&face, -1, -1);
        }
    }
    DrawEdge(dc, &face, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);
    if (pressed)
        OffsetRect(&face, 1, 1);

    const std::wstring caption = windowText(item.hwndItem);
    HGDIOBJ oldFont = SelectObject(dc, font_);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, textColour(row));
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &face,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, oldFont);
}

LRESULT CALLBACK Sorbela::ringProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/,
                                   DWORD_PTR self)
{
    return reinterpret_cast<Sorbela*>(self)->ringed(hwnd, message, wParam, lParam);
}

// The boxes and options keep a frame of their own round their contents,
// outside anything they paint themselves: the focus ring when they have
// the focus, their resting edge otherwise.
LRESULT Sorbela::ringed(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (control == frame1_) {
        // A group box paints only its edge and caption, and the window
        // clips its children out of its own background: the frame fills
        // its inside itself.
        if (message == WM_ERASEBKGND) {
            RECT inside;
            GetClientRect(control, &inside);
            FillRect(reinterpret_cast<HDC>(wParam), &inside, brush(background(elementOf(control).row)));
            return 1;
        }
        return DefSubclassProc(control, message, wParam, lParam);
    }
    switch (message) {
    case WM_NCCALCSIZE: {
        RECT* proposed = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0]
                                : reinterpret_cast<RECT*>(lParam);
        InflateRect(proposed, -ringWidth(), -ringWidth());
        break; // the box's scroll bar comes inside the ring
    }
    case WM_NCPAINT: {
        const LRESULT painted = DefSubclassProc(control, message, wParam, lParam);
        paintRing(control);
        return painted;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        const LRESULT result = DefSubclassProc(control, message, wParam, lParam);
        paintRing(control);
        return result;
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(control, ringProc, 0);
        break;
    default:
        break;
    }
    return DefSubclassProc(control, message, wParam, lParam);
}

void Sorbela::paintRing(HWND control)
{
    const ElementRow* row = elementOf(control).row;
    RECT outer;
    GetWindowRect(control, &outer);
    OffsetRect(&outer, -outer.left, -outer.top);
    HDC dc = GetWindowDC(control);
    RECT edge = outer;
    const bool focused = GetFocus() == control;
    for (int i = 0; i < ringWidth(); ++i) {
        // At rest a box shows a thin grey edge and an option nothing.
        COLORREF colour = background(row);
        if (focused)
            colour = textColour(row);
        else if (row && row->kind == Kind::TextBox && i == 0)
            colour = highContrast_ ? textColour(row) : kEditBorder;
        FrameRect(dc, &edge, brush(colour));
        InflateRect(&edge, -1, -1);
    }
    ReleaseDC(control, dc);
}

std::string Sorbela::option1Caption(std::int16_t index) const
{
    return fromWide(windowText(quiz::elementAt(option1_, index)));
}

void Sorbela::setOption1Caption(std::int16_t index, std::string_view caption)
{
    SetWindowTextW(quiz::elementAt(option1_, index), toWide(caption).c_str());
}

void Sorbela::setOption1Value(std::int16_t index, bool selected)
{
    HWND option = quiz::elementAt(option1_, index);
    if (selected) {
        for (HWND other : option1_)
            SendMessageW(other, BM_SETCHECK, other == option ? BST_CHECKED : BST_UNCHECKED, 0);
    } else {
        SendMessageW(option, BM_SETCHECK, BST_UNCHECKED, 0);
    }
    keepOptionsReachable();
}

void Sorbela::setText2Text(std::string_view text)
{
    SetWindowTextW(text2_, toWide(text).c_str());
}

std::string Sorbela::text1Text(std::int16_t index) const
{
    return fromWide(windowText(quiz::elementAt(text1_, index)));
}

void Sorbela::setText1Text(std::int16_t index, std::string_view text)
{
    SetWindowTextW(quiz::elementAt(text1_, index), toWide(text).c_str());
}

} // namespace windows_ui
