#pragma once

#include "quiz/quiz.h"
#include "quiz/window_elements.h"
#include "runtime/number_format.h"
#include "runtime/random_source.h"

#include <QWidget>

#include <array>

class QButtonGroup;
class QLabel;

namespace quiz {
struct ElementRow;
}

namespace linux_ui {

class Announcer;
class ColourButton;
class FrameBox;
class OptionButton;
class ReadOnlyArea;
class ReadOnlyLine;

// The main window. Built from the element table, it shows the quiz through
// the window-elements interface and routes the pupil's clicks and keys to
// the quiz's handlers. It owns the quiz.
class Sorbela final : public QWidget, public quiz::WindowElements {
    Q_OBJECT

public:
    Sorbela(runtime::RandomSource& random, const runtime::NumberFormat& format, QWidget* parent = nullptr);
    ~Sorbela() override;

    // Raises the window's Load: the quiz draws its first question. Called
    // once, before the window is shown.
    void load();

    std::string option1Caption(std::int16_t index) const override;
    void setOption1Caption(std::int16_t index, std::string_view caption) override;
    void setOption1Value(std::int16_t index, bool selected) override;
    void setText2Text(std::string_view text) override;
    std::string text1Text(std::int16_t index) const override;
    void setText1Text(std::int16_t index, std::string_view text) override;

protected:
    bool focusNextPrevChild(bool next) override;

private:
    QWidget* build(const quiz::ElementRow& row);
    void routeEvents();
    void makeChoiceHeard(OptionButton* option);
    void fitFonts(const QString& decimalSeparator);

    FrameBox* frame1_ = nullptr;
    ReadOnlyLine* text2_ = nullptr;
    std::array<ReadOnlyArea*, 2> text1_{};
    std::array<QLabel*, 2> label1_{};
    std::array<OptionButton*, 5> option1_{};
    std::array<ColourButton*, 2> command1_{};
    QButtonGroup* optionGroup_ = nullptr;
    Announcer* announcer_ = nullptr;

    quiz::Quiz quiz_;
};

} // namespace linux_ui
