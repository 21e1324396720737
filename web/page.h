#pragma once

#include "quiz/quiz.h"
#include "quiz/window_elements.h"
#include "runtime/number_format.h"
#include "runtime/random_source.h"

#include <emscripten/html5.h>
#include <emscripten/val.h>

#include <array>
#include <string_view>
#include <vector>

namespace web_ui {

// The window in the browser: the page's own controls, which the build wrote
// from the element table (make_page.cpp), serving the window-elements
// interface, and the pupil's clicks, taps and keys routed to the quiz's
// handlers. It owns the quiz.
class Page final : public quiz::WindowElements {
public:
    Page(runtime::RandomSource& random, const runtime::NumberFormat& format);
    Page(const Page&) = delete;
    Page& operator=(const Page&) = delete;

    // The window's Load: the first question, the page's events, the focus
    // in the result area.
    void load();

    std::string option1Caption(std::int16_t index) const override;
    void setOption1Caption(std::int16_t index, std::string_view caption) override;
    void setOption1Value(std::int16_t index, bool selected) override;
    void setText2Text(std::string_view text) override;
    std::string text1Text(std::int16_t index) const override;
    void setText1Text(std::int16_t index, std::string_view text) override;

private:
    // What a callback of the page's events is handed: the page, and which
    // of its option or button it is about.
    struct Target {
        Page* page;
        int index;
    };
    enum class Choice { ByPointer, ByKey, BySpace };

    static EM_BOOL onKey(int type, const EmscriptenKeyboardEvent* event, void* page);
    static EM_BOOL onOptionPress(int type, const EmscriptenMouseEvent* event, void* target);
    static EM_BOOL onOptionClick(int type, const EmscriptenMouseEvent* event, void* target);
    static EM_BOOL onButtonClick(int type, const EmscriptenMouseEvent* event, void* target);

    bool key(const EmscriptenKeyboardEvent& event);
    void choose(int index, Choice how);
    bool moveFocus(bool forward);
    int focusedOption() const;
    bool hasFocus(const emscripten::val& element) const;
    void announce(std::string_view text);

    emscripten::val document_;
    std::vector<emscripten::val> text1_;
    std::vector<emscripten::val> options_;  // the radio buttons
    std::vector<emscripten::val> captions_; // their captions
    emscripten::val text2_;
    emscripten::val announcer_;
    // The focus stops in the table's tab order, the options as one.
    std::vector<emscripten::val> tabStops_;
    int optionStop_ = -1;
    std::array<Target, 5> optionTargets_{};
    std::array<Target, 2> buttonTargets_{};
    std::array<bool, 5> focusedAtPress_{};
    bool spaceOnOption_ = false;

    quiz::Quiz quiz_;
};

// The browser's decimal and group separators and minus sign, as its
// language writes numbers (Intl.NumberFormat).
runtime::NumberFormat browserNumberFormat();

// A fault the program cannot go on past: its one line on the page, as an
// alert, and the controls disabled.
void showFatalError(std::string_view line);

} // namespace web_ui
