#include "quiz/element_model.h"

namespace quiz {

std::string ElementModel::option1Caption(std::int16_t index) const
{
    return elementAt(captions_, index);
}

void ElementModel::setOption1Caption(std::int16_t index, std::string_view caption)
{
    elementAt(captions_, index) = caption;
}

void ElementModel::setOption1Value(std::int16_t index, bool selected)
{
    bool& value = elementAt(values_, index);
    if (selected)
        values_.fill(false); // one exclusive group
    value = selected;
}

void ElementModel::setText2Text(std::string_view text)
{
    text2_ = text;
}

std::string ElementModel::text1Text(std::int16_t index) const
{
    return elementAt(texts_, index);
}

void ElementModel::setText1Text(std::int16_t index, std::string_view text)
{
    elementAt(texts_, index) = text;
}

bool ElementModel::option1Value(std::int16_t index) const
{
    return elementAt(values_, index);
}

void ElementModel::select(std::int16_t index)
{
    setOption1Value(index, true);
}

} // namespace quiz
