#pragma once

#include "quiz/window_elements.h"

#include <array>
#include <cstdint>
#include <string>

namespace quiz {

// The window's elements held in memory, with no toolkit: lets the quiz run
// in tests and benchmarks exactly as it runs against the real window.
class ElementModel final : public WindowElements {
public:
    static constexpr int kOptions = 5;
    static constexpr int kTexts = 2;

    std::string option1Caption(std::int16_t index) const override;
    void setOption1Caption(std::int16_t index, std::string_view caption) override;
    void setOption1Value(std::int16_t index, bool selected) override;
    void setText2Text(std::string_view text) override;
    std::string text1Text(std::int16_t index) const override;
    void setText1Text(std::int16_t index, std::string_view text) override;

    // What the user would see.
    bool option1Value(std::int16_t index) const;
    void select(std::int16_t index); // as a click would show it
    const std::string& text2Text() const { return text2_; }

private:
    std::array<std::string, kOptions> captions_{"Option1", "Option1", "Option1", "Option1", "Option1"};
    std::array<bool, kOptions> values_{};
    std::array<std::string, kTexts> texts_{};
    std::string text2_;
};

} // namespace quiz
