#include "windows/locale_format.h"

#include "windows/wide_text.h"

#include <windows.h>

#include <string>
#include <utility>

namespace windows_ui {
namespace {

std::string userSetting(LCTYPE what)
{
    wchar_t value[LOCALE_NAME_MAX_LENGTH]{};
    const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, what, value, LOCALE_NAME_MAX_LENGTH);
    return length > 1 ? fromWide(std::wstring_view(value, static_cast<std::size_t>(length - 1))) : std::string();
}

} // namespace

runtime::NumberFormat userNumberFormat()
{
    runtime::NumberFormat format;
    if (std::string decimal = userSetting(LOCALE_SDECIMAL); !decimal.empty())
        format.decimalSeparator = std::move(decimal);
    format.groupSeparator = userSetting(LOCALE_STHOUSAND);
    // "3;0" groups by threes; the quiz's numbers never reach a second group
    // of another size ("3;2;0").
    const std::string grouping = userSetting(LOCALE_SGROUPING);
    format.groupSize = !grouping.empty() && grouping[0] >= '1' && grouping[0] <= '9' ? grouping[0] - '0' : 0;
    if (std::string minus = userSetting(LOCALE_SNEGATIVESIGN); !minus.empty())
        format.negativeSign = std::move(minus);
    format.leadingZero = userSetting(LOCALE_ILZERO) != "0";
    return format;
}

} // namespace windows_ui
