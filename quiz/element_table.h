#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace quiz {

enum class Kind { TextBox, Label, Frame, OptionButton, CommandButton };

struct Rgb {
    int red, green, blue;
};

// One element of the main window, as both front ends build it. Positions and sizes are in twips
// (1/1440 inch), relative to the element's container.
struct ElementRow {
    std::string_view name;
    int index; // position in its array; -1 for an element that is no array
    Kind kind;
    bool inFrame; // placed inside Frame1 rather than the window
    int left, top, width, height;
    int tabOrder;
    std::optional<Rgb> background; // empty: the usual colour for the kind
    std::string_view text;         // initial text or caption, CR LF line breaks
    bool multiLine;
    bool visible;
    // What assistive technology calls a box that shows no caption of its own;
    // empty where the element's caption names it.
    std::string_view accessibleName;
};

struct FormRow {
    int clientWidth, clientHeight; // twips
    Rgb background;
    std::string_view fontFamily;
    int fontPoints;
    std::string_view title;
};

inline constexpr int kTwipsPerPixel = 15; // at 96 dots per inch
constexpr int twipsToPixels(int twips)
{
    return twips / kTwipsPerPixel;
}

// The element's name with its index, "Option1_0"; the widget's object name.
std::string elementName(const ElementRow& row);

extern const FormRow kForm;
extern const std::array<ElementRow, 13> kElements;

// The texts the window opens with.
extern const std::string_view kDescription;
extern const std::string_view kQuotation;

// The program as assistive technology names it: the desktop's menu entry's
// name for it, not its command.
extern const std::string_view kProgramName;

// Said, before the option's caption, when the pupil chooses an option where
// no screen reader would say it.
extern const std::string_view kChoiceMade;

} // namespace quiz
