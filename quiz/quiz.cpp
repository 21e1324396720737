#include "quiz/quiz.h"

#include "quiz/texts.h"
#include "runtime/checked16.h"
#include "runtime/fatal.h"
#include "runtime/number_text.h"
#include "runtime/rounding.h"

#include <cmath>
#include <string>
#include <utility>

namespace quiz {

using runtime::add16;

Quiz::Quiz(WindowElements& elements, runtime::RandomSource& random, runtime::NumberFormat format)
    : elements_(elements), random_(random), format_(std::move(format))
{
}

void Quiz::Form_Load()
{
    random_.reseed();
    NewQuestion();
}

void Quiz::NewQuestion()
{
    // The products are taken from the single-precision draw without rounding
    // it back to float, and halves go to even: 0.0625 * 1000 = 62.5 gives 62.
    const float r1 = random_.next(1000);
    const std::int32_t t = runtime::roundToInt32(static_cast<double>(r1) * 1000.0);
    BaseNumber = runtime::narrowTo16(t % kBaseCount);
    BaseNumber = add16(BaseNumber, kFirstBase);

    const float r2 = random_.next(10);
    const std::int32_t u = runtime::roundToInt32(static_cast<double>(r2) * 10.0);
    CorrectSlot = u % kSlots;

    // A fresh question has no choice yet; checking now must not pass as
    // the right answer.
    ChosenSlot.reset();

    for (std::int16_t i = 0; i < kSlots; ++i) {
        elements_.setOption1Value(i, false);
        const std::int16_t n = add16(BaseNumber, i);
        elements_.setOption1Caption(i, runtime::fixedText(std::sqrt(static_cast<double>(n)), 3, format_));
        if (CorrectSlot == i)
            elements_.setText2Text(std::string(texts::kQuestion) + runtime::integerText(n));
    }
}

void Quiz::Option1_Click(std::int16_t Index)
{
    if (Index >= 0 && Index < kSlots)
        ChosenSlot = Index;
}

void Quiz::Command1_Click(std::int16_t Index)
{
    switch (Index) {
    case 0:
        CheckAnswer();
        break;
    case 1:
        NewQuestion();
        elements_.setText1Text(0, texts::kPrompt);
        break;
    default:
        break;
    }
}

void Quiz::CheckAnswer()
{
    if (!ChosenSlot) {
        elements_.setText1Text(0, texts::kPrompt);
        return;
    }

    // x is the number on the caption (the rounded root), read back with the
    // separator it was written with.
    const double x = runtime::numberFromText(elements_.option1Caption(*ChosenSlot), format_);
    const double y = x * x;
    if (!std::isfinite(y))
        runtime::fatalError("препълване при умножение");

    if (CorrectSlot == *ChosenSlot)
        elements_.setText1Text(0, std::string(texts::kCorrect) + std::string(texts::kLineBreak));
    else
        elements_.setText1Text(0, texts::kWrong);

    const std::string xText = runtime::doubleText(x, format_);
    elements_.setText1Text(0, elements_.text1Text(0) + xText + std::string(texts::kTimes) + xText
                                  + std::string(texts::kEquals) + runtime::doubleText(y, format_));
}

} // namespace quiz
