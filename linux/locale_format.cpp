#include "linux/locale_format.h"

#include <QLocale>

namespace linux_ui {

runtime::NumberFormat numberFormatOf(const QLocale& locale)
{
    const QString decimal = locale.decimalPoint();
    runtime::NumberFormat format;
    format.decimalSeparator = (decimal.isEmpty() ? QStringLiteral(".") : decimal).toStdString();
    format.groupSeparator = locale.groupSeparator().toStdString();
    format.negativeSign = locale.negativeSign().toStdString();
    return format;
}

} // namespace linux_ui
