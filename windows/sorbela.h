#pragma once

#include "quiz/quiz.h"
#include "quiz/window_elements.h"
#include "runtime/number_format.h"
#include "runtime/random_source.h"
#include "windows/accessibility.h"

#include <windows.h>

#include <array>
#include <utility>
#include <vector>

namespace quiz {
struct ElementRow;
}

namespace windows_ui {

// The main window on Windows, built from the element table with Windows'
// standard controls. It shows the quiz through the window-elements
// interface and routes the pupil's clicks and keys to the quiz's handlers.
// It owns the quiz.
class Sorbela final : public quiz::WindowElements {
public:
    static constexpr const wchar_t* kClassName = L"koren.Sorbela";

    Sorbela(HINSTANCE instance, runtime::RandomSource& random, const runtime::NumberFormat& format);
    ~Sorbela() override;
    Sorbela(const Sorbela&) = delete;
    Sorbela& operator=(const Sorbela&) = delete;

    // Raises the window's Load: the quiz draws its first question. Called
    // once, before the window is shown.
    void load();
    void show(int how);
    // Gives the window's keyboard its turn at a message of the loop: keys
    // 1 to 5, then the dialog manager's Tab, arrows and Return. True when
    // the message was used up.
    bool takeKey(MSG& message);

    std::string option1Caption(std::int16_t index) const override;
    void setOption1Caption(std::int16_t index, std::string_view caption) override;
    void setOption1Value(std::int16_t index, bool selected) override;
    void setText2Text(std::string_view text) override;
    std::string text1Text(std::int16_t index) const override;
    void setText1Text(std::int16_t index, std::string_view text) override;

private:
    struct Element {
        const quiz::ElementRow* row;
        HWND hwnd;
    };

    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ringProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR self);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT ringed(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

    void build(const quiz::ElementRow& row);
    static HFONT fontFor(UINT dpi);
    void layOut();
    void command(int id, int code, HWND control);
    void keepOptionsReachable();
    LRESULT colourStatic(HDC dc, HWND control);
    void drawButton(const DRAWITEMSTRUCT& item);
    void paintRing(HWND control);

    const Element& elementOf(HWND control) const;
    COLORREF background(const quiz::ElementRow* row) const;
    COLORREF textColour(const quiz::ElementRow* row) const;
    HBRUSH brush(COLORREF colour);
    int ringWidth() const;

    HINSTANCE instance_;
    HWND hwnd_ = nullptr;
    std::vector<Element> elements_; // in the table's order
    std::array<HWND, 2> text1_{};
    std::array<HWND, 2> label1_{};
    std::array<HWND, 5> option1_{};
    std::array<HWND, 2> command1_{};
    HWND text2_ = nullptr;
    HWND frame1_ = nullptr;
    HWND lastFocus_ = nullptr;

    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    HFONT font_ = nullptr;
    HACCEL keys_ = nullptr;
    bool highContrast_ = false;
    std::vector<std::pair<COLORREF, HBRUSH>> brushes_;

    Accessibility accessibility_;
    quiz::Quiz quiz_;
};

} // namespace windows_ui
