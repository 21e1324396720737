// Writes the page's markup and style from the element table, at build time,
// so that the window is on the screen before the program has loaded: the
// same texts, places and colours as the desktop's, as HTML's own controls.
// make_site.mjs puts the site's head, style and scripts round it. Also
// writes the web app manifest, in the window's name and colour.
// Usage (under node): make_page.js PAGE.html MANIFEST.webmanifest

#include "quiz/element_table.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using quiz::ElementRow;
using quiz::kElements;
using quiz::kForm;
using quiz::Kind;

// The narrow screen's one column, read from the top: the title, the
// question, the options, the buttons, the result.
constexpr std::string_view kReadingOrder[] = {"Label1_0",   "Label1_1",   "Text2",   "Frame1",
                                              "Command1_0", "Command1_1", "Text1_0", "Text1_1"};
constexpr int kRoomyTouch = 44; // CSS px: the least a finger hits surely
constexpr int kFrameEdge = 2;
constexpr int kLinePixels = 20; // a line of the font at 1.15 its size, and a box's two edges

std::string escaped(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\r':
            break; // HTML's line break is LF alone
        default:
            out += c;
        }
    }
    return out;
}

std::string px(int twips)
{
    return std::to_string(quiz::twipsToPixels(twips)) + "px";
}

std::string colour(const quiz::Rgb& rgb)
{
    char out[8];
    std::snprintf(out, sizeof out, "#%02x%02x%02x", rgb.red, rgb.green, rgb.blue);
    return out;
}

const ElementRow& row(std::string_view name)
{
    const auto found = std::find_if(kElements.begin(), kElements.end(),
                                    [name](const ElementRow& row) { return quiz::elementName(row) == name; });
    if (found == kElements.end()) {
        std::fprintf(stderr, "make_page: the element table has no %.*s\n", static_cast<int>(name.size()), name.data());
        std::exit(1);
    }
    return *found;
}

// The label on the window that names a box, if there is one.
const ElementRow* visibleLabelOf(const ElementRow& box)
{
    for (const ElementRow& label : kElements)
        if (label.kind == Kind::Label && !box.accessibleName.empty() && label.text == box.accessibleName)
            return &label;
    return nullptr;
}

// The box a label on the window names, if it names one.
const ElementRow* boxNamedBy(const ElementRow& label)
{
    for (const ElementRow& box : kElements)
        if (visibleLabelOf(box) == &label)
            return &box;
    return nullptr;
}

std::string markup(const ElementRow& element)
{
    const std::string id = quiz::elementName(element);
    const std::string hidden = element.visible ? "" : " hidden";
    const std::string text = escaped(element.text);
    switch (element.kind) {
    case Kind::Label:
        if (const ElementRow* box = boxNamedBy(element))
            return "<label id=" + id + " for=" + quiz::elementName(*box) + hidden + ">" + text + "</label>";
        return "<h1 id=" + id + hidden + ">" + text + "</h1>"; // the window's title
    case Kind::TextBox: {
        std::string out;
        if (!visibleLabelOf(element) && !element.accessibleName.empty())
            out += "<label class=unseen for=" + id + hidden + ">" + escaped(element.accessibleName) + "</label>";
        // A one-line box too wraps its line rather than cut it off on a
        // narrow screen or at a large zoom.
        return out + "<textarea id=" + id + " readonly" + (element.multiLine ? "" : " rows=1 class=line") + hidden + ">"
             + text + "</textarea>";
    }
    case Kind::Frame: {
        std::string out = "<fieldset id=" + id + hidden + "><legend>" + text + "</legend>";
        for (const ElementRow& option : kElements)
            if (option.kind == Kind::OptionButton)
                out += "<label id=" + quiz::elementName(option) + "><input type=radio name=" + std::string(option.name)
                     + "><span>" + escaped(option.text) + "</span></label>";
        return out + "</fieldset>";
    }
    case Kind::CommandButton:
        return "<button id=" + id + " type=button" + hidden + ">" + text + "</button>";
    case Kind::OptionButton:
        break; // inside the frame
    }
    return "";
}

std::string style()
{
    const std::string ink = "#000";
    std::string out =
        "@font-face{font-family:\"Koren Serif\";src:url(@FONT@) format(\"woff2\");font-display:swap}"
        "*{box-sizing:border-box}[hidden]{display:none!important}"
        "html{background:" + colour(kForm.background) + "}"
        "body{margin:0;font:" + std::to_string(kForm.fontPoints * 4 / 3) + "px/1.15 \"" +
        std::string(kForm.fontFamily) + "\",\"Koren Serif\",serif;color:" + ink + "}"
        "main{display:flex;flex-direction:column;gap:8px;padding:8px;max-width:" + px(kForm.clientWidth) +
        ";margin:0 auto;background:" + colour(kForm.background) + "}"
        "h1,label,legend,button,input,textarea{font:inherit;color:inherit;margin:0}"
        "h1,label[for]{padding:2px;text-align:center}"
        "input,textarea{width:100%;background:#fff;border:1px solid #7a7a7a;padding:3px 4px;border-radius:0}"
        "textarea{height:10em;resize:none;display:block}.line{height:auto;field-sizing:content;overflow:hidden}"
        "fieldset{position:relative;margin:0;padding:" + std::to_string(kRoomyTouch / 2) +
        "px 8px 8px;border:" + std::to_string(kFrameEdge) + "px groove #fff}"
        "legend{position:absolute;top:-.6em;left:6px;padding:0 2px;background:inherit}"
        "fieldset label{display:flex;align-items:center;gap:6px;min-height:" + std::to_string(kRoomyTouch) +
        "px;padding:0 4px}"
        "fieldset input{width:auto;margin:0 2px;accent-color:" + ink + "}"
        "button{min-height:" + std::to_string(kRoomyTouch) + "px;border:2px outset #ccc;padding:0 8px}"
        "button:active{border-style:inset}"
        ":focus{outline:2px solid " + ink + ";outline-offset:-2px}"
        "fieldset input:focus{outline:0}"
        "fieldset label:focus-within{outline:2px solid " + ink + ";outline-offset:-2px}"
        ".unseen,#announcer{position:absolute;width:1px;height:1px;overflow:hidden;clip-path:inset(50%)}"
        "[role=alert]{margin:0}[role=alert]:not(:empty){padding:8px;background:#fff;border:2px solid " + ink + "}"
        ":disabled{opacity:.6}"
        "html:not(.ready) fieldset span{visibility:hidden}";
    for (const ElementRow& element : kElements)
        if (element.background)
            out += "#" + quiz::elementName(element) + "{background:" + colour(*element.background) + "}";

    // Wide enough for the window: every element where the desktop puts it.
    out += "@media (min-width:" + px(kForm.clientWidth) + "){main{display:block;position:relative;padding:0;width:"
         + px(kForm.clientWidth) + ";height:" + px(kForm.clientHeight)
         + "}main>*,fieldset>label{position:absolute}textarea{height:auto}fieldset{padding:0}"
           "fieldset label,button{min-height:0}";
    for (const ElementRow& element : kElements) {
        // An option's place is the frame's inside, which starts within its edge.
        const int edge = element.inFrame ? kFrameEdge : 0;
        out += "#" + quiz::elementName(element) + "{left:" + std::to_string(quiz::twipsToPixels(element.left) - edge)
             + "px;top:" + std::to_string(quiz::twipsToPixels(element.top) - edge) + "px;width:" + px(element.width)
             + ";height:" + px(element.height);
        // A one-line box's line in its middle, as the desktop's.
        if (element.kind == Kind::TextBox && !element.multiLine)
            out += ";padding-top:" + std::to_string((quiz::twipsToPixels(element.height) - kLinePixels) / 2) + "px";
        out += "}";
    }
    return out + "}";
}

bool write(const char* path, const std::string& text)
{
    std::FILE* file = std::fopen(path, "wb");
    const bool written = file && std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return file && std::fclose(file) == 0 && written;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fputs("usage: make_page.js PAGE.html MANIFEST.webmanifest\n", stderr);
        return 2;
    }
    std::string body = "<p role=alert></p><main>";
    for (const std::string_view name : kReadingOrder)
        body += markup(row(name));
    body += "<div id=announcer role=status></div></main>";

    const std::string page =
        "<!doctype html><html lang=bg><head><meta charset=utf-8>"
        "<meta name=viewport content=\"width=device-width,initial-scale=1\"><title>"
        + escaped(kForm.title) + "</title><!--koren:head--><style>" + style() + "</style></head><body>" + body
        + "<!--koren:script--></body></html>\n";
    const std::string name(quiz::kProgramName);
    const std::string
        manifest = "{\"name\":\"" + name + "\",\"short_name\":\"" + name
                 + "\",\"lang\":\"bg\",\"dir\":\"ltr\",\"start_url\":\".\",\"scope\":\".\","
                   "\"display\":\"standalone\",\"background_color\":\""
                 + colour(kForm.background) + "\",\"theme_color\":\"" + colour(kForm.background)
                 + "\",\"icons\":[{\"src\":\"icon-192.png\",\"sizes\":\"192x192\",\"type\":\"image/png\"},"
                   "{\"src\":\"icon-512.png\",\"sizes\":\"512x512\",\"type\":\"image/png\"}]}\n";
    if (!write(argv[1], page) || !write(argv[2], manifest)) {
        std::fputs("make_page: cannot write the page or the manifest\n", stderr);
        return 1;
    }
    return 0;
}
