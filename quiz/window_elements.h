#pragma once

#include "runtime/fatal.h"
#include "runtime/number_text.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace quiz {

// Element `index` of an array of them. An element the window does not have
// is as fatal as a failed call on one, whichever window serves the quiz.
template <typename Element, std::size_t N>
const Element& elementAt(const std::array<Element, N>& elements, std::int16_t index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= N)
        runtime::fatalError("няма елемент с индекс " + runtime::integerText(index));
    return elements[static_cast<std::size_t>(index)];
}

template <typename Element, std::size_t N>
Element& elementAt(std::array<Element, N>& elements, std::int16_t index)
{
    return const_cast<Element&>(elementAt(std::as_const(elements), index));
}

// The only way the quiz reaches its window. The Qt window serves it with real
// controls; ElementModel serves it in memory for tests and benchmarks.
// Texts are UTF-8 with CR LF line breaks.
class WindowElements {
public:
    virtual ~WindowElements() = default;

    // Option1(index), index 0..4
    virtual std::string option1Caption(std::int16_t index) const = 0;
    virtual void setOption1Caption(std::int16_t index, std::string_view caption) = 0;
    // Shows the option unselected (false, the quiz's only use) or selected
    // (true: the others become unselected, one group), without raising a
    // click either way.
    virtual void setOption1Value(std::int16_t index, bool selected) = 0;

    // Text2: the question
    virtual void setText2Text(std::string_view text) = 0;

    // Text1(index): index 0 is the result area
    virtual std::string text1Text(std::int16_t index) const = 0;
    virtual void setText1Text(std::int16_t index, std::string_view text) = 0;
};

} // namespace quiz
