#pragma once

#include <windows.h>

#include <string_view>

struct IAccPropServices;

namespace windows_ui {

// What the window tells screen readers beyond what the standard controls
// tell them themselves: the names of the boxes that show no caption, and
// the result area as a live region whose new text is read out while the
// focus stays where it is. Needs COM on the calling thread.
class Accessibility {
public:
    Accessibility();
    ~Accessibility();
    Accessibility(const Accessibility&) = delete;
    Accessibility& operator=(const Accessibility&) = delete;

    void name(HWND control, std::wstring_view name);
    void makeLiveRegion(HWND control);
    // Tells assistive technology that the live region's text has changed,
    // and, where Windows has UI Automation notifications, hands it the text.
    void announce(HWND liveRegion, std::wstring_view text);

private:
    IAccPropServices* properties_ = nullptr;
};

} // namespace windows_ui
