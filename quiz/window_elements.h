#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quiz {

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
