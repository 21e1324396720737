#include "quiz/element_model.h"

#include "runtime/fatal.h"
#include "runtime/number_text.h"

namespace quiz {

std::size_t ElementModel::checked(std::int16_t index, int count)
{
    // A real window has no element there either: the same fatal fault.
    if (index < 0 || index >= count)
        runtime::fatalError("няма елемент с индекс " + runtime::integerText(index));
    return static_cast<std::size_t>(index);
}

std::string ElementModel::option1Caption(std::int16_t index) const
{
    return captions_[checked(index, kOptions)];
}

void ElementModel::setOption1Caption(std::int16_t index, std::string_view caption)
{
    captions_[checked(index, kOptions)] = caption;
}

void ElementModel::setOption1Value(std::int16_t index, bool selected)
{
    const std::size_t at = checked(index, kOptions);
    if (selected)
        values_.fill(false); // one exclusive group
    values_[at] = selected;
}

void ElementModel::setText2Text(std::string_view text)
{
    text2_ = text;
}

std::string ElementModel::text1Text(std::int16_t index) const
{
    return texts_[checked(index, kTexts)];
}

void ElementModel::setText1Text(std::int16_t index, std::string_view text)
{
    texts_[checked(index, kTexts)] = text;
}

bool ElementModel::option1Value(std::int16_t index) const
{
    return values_[checked(index, kOptions)];
}

void ElementModel::select(std::int16_t index)
{
    setOption1Value(index, true);
}

} // namespace quiz
