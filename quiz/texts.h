#pragma once

#include <string_view>

// Every text the quiz writes, as the user sees it.
namespace quiz::texts {

inline constexpr std::string_view kLineBreak = "\r\n";
inline constexpr std::string_view kQuestion = "Изчислете корен квадратен на ";
inline constexpr std::string_view kCorrect = "Правилно!";
inline constexpr std::string_view kWrong = "Грешка.";
inline constexpr std::string_view kPrompt = "Изберете верния корен:";
inline constexpr std::string_view kTimes = " * ";
inline constexpr std::string_view kEquals = " = ";

} // namespace quiz::texts
