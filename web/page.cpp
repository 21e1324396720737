#include "web/page.h"

#include "quiz/element_table.h"

#include <algorithm>
#include <string>
#include <utility>

namespace web_ui {

using emscripten::val;
using quiz::ElementRow;
using quiz::kElements;
using quiz::Kind;

namespace {

// Node.compareDocumentPosition's answers.
constexpr int kPreceding = 2;
constexpr int kFollowing = 4;

val byId(const val& document, const std::string& id)
{
    val element = document.call<val>("getElementById", id);
    if (element.isNull())
        runtime::fatalError("страницата няма елемент " + id);
    return element;
}

std::string selectorOf(const ElementRow& row)
{
    return "#" + quiz::elementName(row);
}

// Element `index` of an array of them; one the window lacks is as fatal as
// in the other windows (quiz::elementAt).
val& elementAt(std::vector<val>& elements, std::int16_t index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= elements.size())
        runtime::fatalError("няма елемент с индекс " + runtime::integerText(index));
    return elements[static_cast<std::size_t>(index)];
}

const val& elementAt(const std::vector<val>& elements, std::int16_t index)
{
    return elementAt(const_cast<std::vector<val>&>(elements), index);
}

// The page's boxes hold LF alone; the quiz's texts break lines with CR LF.
std::string withCrLf(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        if (c == '\n')
            out += '\r';
        if (c != '\r')
            out += c;
    }
    return out;
}

// One line, as a screen reader says it and a braille display shows it.
std::string oneLine(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        if (c == '\r')
            out += ' ';
        else if (c != '\n')
            out += c;
    }
    return out;
}

} // namespace

Page::Page(runtime::RandomSource& random, const runtime::NumberFormat& format)
    : document_(val::global("document")), text2_(byId(document_, "Text2")), announcer_(byId(document_, "announcer")),
      quiz_(*this, random, format)
{
    std::vector<const ElementRow*> byTabOrder;
    for (const ElementRow& row : kElements) {
        const std::string id = quiz::elementName(row);
        switch (row.kind) {
        case Kind::TextBox:
            if (row.multiLine)
                text1_.push_back(byId(document_, id));
            break;
        case Kind::OptionButton: {
            const val option = byId(document_, id);
            options_.push_back(option.call<val>("querySelector", std::string("input")));
            captions_.push_back(option.call<val>("querySelector", std::string("span")));
            break;
        }
        case Kind::CommandButton:
        case Kind::Label:
        case Kind::Frame:
            break;
        }
        const bool takesFocus = row.kind == Kind::TextBox || row.kind == Kind::CommandButton
                             || (row.kind == Kind::OptionButton && row.index == 0);
        if (row.visible && takesFocus)
            byTabOrder.push_back(&row);
    }
    std::stable_sort(byTabOrder.begin(), byTabOrder.end(),
                     [](const ElementRow* a, const ElementRow* b) { return a->tabOrder < b->tabOrder; });
    for (const ElementRow* row : byTabOrder) {
        if (row->kind == Kind::OptionButton) {
            optionStop_ = static_cast<int>(tabStops_.size());
            tabStops_.push_back(options_.front());
        } else {
            tabStops_.push_back(byId(document_, quiz::elementName(*row)));
        }
    }
}

void Page::load()
{
    quiz_.Form_Load();

    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, this, true, onKey);
    int option = 0;
    int button = 0;
    for (const ElementRow& row : kElements) {
        const std::string selector = selectorOf(row);
        if (row.kind == Kind::OptionButton) {
            Target& target = optionTargets_.at(static_cast<std::size_t>(option++));
            target = {this, row.index};
            // A press on the option's caption is a press on the option.
            emscripten_set_mousedown_callback(selector.c_str(), &target, false, onOptionPress);
            emscripten_set_click_callback((selector + " input").c_str(), &target, false, onOptionClick);
        } else if (row.kind == Kind::CommandButton) {
            Target& target = buttonTargets_.at(static_cast<std::size_t>(button++));
            target = {this, row.index};
            emscripten_set_click_callback(selector.c_str(), &target, false, onButtonClick);
        }
    }

    // The options show their captions now that they are the question's.
    document_["documentElement"]["classList"].call<void>("add", std::string("ready"));
    val noScrolling = val::object();
    noScrolling.set("preventScroll", true);
    text1_.front().call<void>("focus", noScrolling);

    // Offline after one visit, where the page came as a site with its
    // worker (the single file has none) from a secure origin.
    const val navigator = val::global("navigator");
    if (!navigator["serviceWorker"].isUndefined()
        && !document_.call<val>("querySelector", std::string("link[rel=manifest]")).isNull())
        navigator["serviceWorker"].call<val>("register", std::string("sw.js"));
}

EM_BOOL Page::onKey(int /*type*/, const EmscriptenKeyboardEvent* event, void* page)
{
    return static_cast<Page*>(page)->key(*event);
}

EM_BOOL Page::onOptionPress(int /*type*/, const EmscriptenMouseEvent* /*event*/, void* target)
{
    const auto* on = static_cast<Target*>(target);
    Page& page = *on->page;
    page.focusedAtPress_.at(static_cast<std::size_t>(on->index)) =
        page.hasFocus(page.options_.at(static_cast<std::size_t>(on->index)));
    return EM_FALSE;
}

// A click, a tap, a press on the caption, Space: the browser has chosen the
// option already. Not prevented: that would take the choice back.
EM_BOOL Page::onOptionClick(int /*type*/, const EmscriptenMouseEvent* /*event*/, void* target)
{
    const auto* on = static_cast<Target*>(target);
    on->page->choose(on->index, std::exchange(on->page->spaceOnOption_, false) ? Choice::BySpace : Choice::ByPointer);
    return EM_FALSE;
}

EM_BOOL Page::onButtonClick(int /*type*/, const EmscriptenMouseEvent* /*event*/, void* target)
{
    const auto* on = static_cast<Target*>(target);
    on->page->quiz_.Command1_Click(static_cast<std::int16_t>(on->index));
    // The focus stays on the button: what it wrote is said and shown in
    // braille through the live region.
    on->page->announce(oneLine(on->page->text1Text(0)));
    return EM_FALSE;
}

// The keys as on the desktop. True: the browser's own use of the key is
// prevented.
bool Page::key(const EmscriptenKeyboardEvent& event)
{
    const std::string_view key = event.key;
    const int option = focusedOption();
    spaceOnOption_ = key == " " && option >= 0;
    if (event.ctrlKey || event.altKey || event.metaKey)
        return false; // the browser's and the system's chords stay theirs
    if (key == "Tab")
        return moveFocus(!event.shiftKey);
    // 1 to 5, on the main row or the keypad, choose the option in that place
    // wherever the focus is.
    const int count = static_cast<int>(options_.size());
    if (key.size() == 1 && key[0] >= '1' && key[0] < '1' + count) {
        choose(key[0] - '1', Choice::ByKey);
        return true;
    }
    // The arrows move the choice round the options.
    if (option >= 0 && (key == "ArrowDown" || key == "ArrowRight")) {
        choose((option + 1) % count, Choice::ByKey);
        return true;
    }
    if (option >= 0 && (key == "ArrowUp" || key == "ArrowLeft")) {
        choose((option + count - 1) % count, Choice::ByKey);
        return true;
    }
    return false;
}

// A screen reader reads out an option that takes the focus, with its
// state. Of the focused one it says nothing when a digit, a click or a
// braille display's routing key chooses it again, and so the page does.
void Page::choose(int index, Choice how)
{
    const auto at = static_cast<std::size_t>(index);
    val& option = options_.at(at);
    const bool wasFocused = how == Choice::ByPointer ? std::exchange(focusedAtPress_.at(at), false) : hasFocus(option);
    option.set("checked", true);
    if (!hasFocus(option))
        option.call<void>("focus");
    else if (wasFocused && how != Choice::BySpace)
        announce(std::string(quiz::kChoiceMade) + option1Caption(static_cast<std::int16_t>(index)));
    quiz_.Option1_Click(static_cast<std::int16_t>(index));
}

// Tab and Shift+Tab in the table's order; the options are entered at the
// chosen one, the first while none is. Past either end the key leaves the
// page, as on any page, for the browser's bar or the next frame: a pupil on
// keys is never held inside. False: the browser moves on, from the control
// that ends the page that way.
bool Page::moveFocus(bool forward)
{
    const int count = static_cast<int>(tabStops_.size());
    int current = -1;
    for (int i = 0; i < count; ++i)
        if (i == optionStop_ ? focusedOption() >= 0 : hasFocus(tabStops_.at(static_cast<std::size_t>(i))))
            current = i;
    if (current == (forward ? count - 1 : 0)) {
        int edge = 0; // the control that ends the page that way
        for (int i = 1; i < count; ++i)
            if ((tabStops_.at(static_cast<std::size_t>(edge))
                     .call<int>("compareDocumentPosition", tabStops_.at(static_cast<std::size_t>(i)))
                 & (forward ? kFollowing : kPreceding))
                != 0)
                edge = i;
        if (edge != current)
            tabStops_.at(static_cast<std::size_t>(edge)).call<void>("focus");
        return false;
    }
    const int next = current < 0 ? (forward ? 0 : count - 1) : current + (forward ? 1 : -1);
    if (next != optionStop_) {
        tabStops_.at(static_cast<std::size_t>(next)).call<void>("focus");
        return true;
    }
    const auto chosen = std::find_if(options_.begin(), options_.end(),
                                     [](const val& option) { return option["checked"].as<bool>(); });
    (chosen == options_.end() ? options_.front() : *chosen).call<void>("focus");
    return true;
}

int Page::focusedOption() const
{
    for (std::size_t i = 0; i < options_.size(); ++i)
        if (hasFocus(options_[i]))
            return static_cast<int>(i);
    return -1;
}

bool Page::hasFocus(const val& element) const
{
    return document_["activeElement"].strictlyEquals(element);
}

// Each announcement a new paragraph of the live region, so that the same
// words twice are said twice.
void Page::announce(std::string_view text)
{
    val said = document_.call<val>("createElement", std::string("p"));
    said.set("textContent", std::string(text));
    announcer_.call<void>("replaceChildren", said);
}

std::string Page::option1Caption(std::int16_t index) const
{
    return elementAt(captions_, index)["textContent"].as<std::string>();
}

void Page::setOption1Caption(std::int16_t index, std::string_view caption)
{
    elementAt(captions_, index).set("textContent", std::string(caption));
}

void Page::setOption1Value(std::int16_t index, bool selected)
{
    elementAt(options_, index).set("checked", selected); // the others follow: one group
}

void Page::setText2Text(std::string_view text)
{
    text2_.set("value", std::string(text));
    text2_.call<void>("setSelectionRange", 0, 0);
}

std::string Page::text1Text(std::int16_t index) const
{
    return withCrLf(elementAt(text1_, index)["value"].as<std::string>());
}

void Page::setText1Text(std::int16_t index, std::string_view text)
{
    val& box = elementAt(text1_, index);
    box.set("value", std::string(text));
    // Shown from its start, as the desktop's box shows a new text.
    box.call<void>("setSelectionRange", 0, 0);
    box.set("scrollTop", 0);
}

runtime::NumberFormat browserNumberFormat()
{
    runtime::NumberFormat format;
    format.groupSeparator.clear();
    format.groupSize = 0;
    // Looked up while the program was compiling, where the loader had the
    // time (web/early.js); here otherwise.
    val parts = val::module_property("numberParts");
    if (parts.isUndefined())
        parts = val::global("Intl")["NumberFormat"].new_().call<val>("formatToParts", -12345.5);
    const int count = parts["length"].as<int>();
    for (int i = 0; i < count; ++i) {
        const std::string type = parts[i]["type"].as<std::string>();
        std::string value = parts[i]["value"].as<std::string>();
        if (type == "decimal")
            format.decimalSeparator = std::move(value);
        else if (type == "group")
            format.groupSeparator = std::move(value);
        else if (type == "minusSign")
            format.negativeSign = std::move(value);
        else if (type == "integer")
            format.groupSize = static_cast<int>(value.size()); // the last group's
    }
    if (format.groupSeparator.empty())
        format.groupSize = 0;
    return format;
}

void showFatalError(std::string_view line)
{
    emscripten_html5_remove_all_event_listeners();
    const val document = val::global("document");
    document.call<val>("querySelector", std::string("[role=alert]")).set("textContent", oneLine(line));
    const val controls = document.call<val>("querySelectorAll", std::string("button, input, textarea, fieldset"));
    const int count = controls["length"].as<int>();
    for (int i = 0; i < count; ++i)
        controls[i].set("disabled", true);
}

} // namespace web_ui
