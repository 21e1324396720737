#pragma once

#include "quiz/window_elements.h"
#include "runtime/number_format.h"
#include "runtime/random_source.h"

#include <cstdint>
#include <optional>

namespace quiz {

// The state and handlers of the drill: draws a question into the window's
// options, records the pupil's choice and writes the verdict. It owns
// nothing; the window and the random source outlive it.
class Quiz {
public:
    static constexpr int kSlots = 5;
    // BaseNumber runs over kBaseCount numbers from kFirstBase: 10..409.
    static constexpr int kFirstBase = 10;
    static constexpr int kBaseCount = 400;
    // The largest number a question can ask, 413: the window sizes its
    // texts for it.
    static constexpr int kLargestAsked = kFirstBase + kBaseCount - 1 + kSlots - 1;

    Quiz(WindowElements& elements, runtime::RandomSource& random, runtime::NumberFormat format);

    void Form_Load();
    void Option1_Click(std::int16_t Index);
    void Command1_Click(std::int16_t Index);

    std::int16_t baseNumber() const { return BaseNumber; }
    std::optional<std::int32_t> correctSlot() const { return CorrectSlot; }
    std::optional<std::int16_t> chosenSlot() const { return ChosenSlot; }

private:
    void NewQuestion();
    void CheckAnswer();

    WindowElements& elements_;
    runtime::RandomSource& random_;
    runtime::NumberFormat format_;

    // The smallest of the five integers whose roots are offered.
    std::int16_t BaseNumber = 0;
    // Which option holds the root of the asked number.
    std::optional<std::int32_t> CorrectSlot;
    // The option the pupil picked in this question; empty until they pick.
    std::optional<std::int16_t> ChosenSlot;
};

} // namespace quiz
