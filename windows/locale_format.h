#pragma once

#include "runtime/number_format.h"

namespace windows_ui {

// The number settings of the user's Windows regional settings (Control
// Panel, Region), as the quiz formats and reads its numbers with them.
// Digits stay ASCII whatever digit substitution the region asks for.
runtime::NumberFormat userNumberFormat();

} // namespace windows_ui
