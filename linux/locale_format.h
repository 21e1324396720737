#pragma once

#include "runtime/number_format.h"

class QLocale;

namespace linux_ui {

// The regional number settings the quiz formats with, taken from a Qt
// locale. Digits stay ASCII whatever the locale's own digits are.
runtime::NumberFormat numberFormatOf(const QLocale& locale);

} // namespace linux_ui
