#pragma once

#include <string>
#include <string_view>

namespace windows_ui {

// The quiz speaks UTF-8, Windows UTF-16; line breaks stay CR LF both ways,
// as an edit control keeps them.
std::wstring toWide(std::string_view text);
std::string fromWide(std::wstring_view text);

} // namespace windows_ui
