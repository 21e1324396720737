#pragma once

#include <QIcon>

namespace linux_ui {

// The program's icon, a stack of three books, at 16 and 32 pixels.
QIcon programIcon();

} // namespace linux_ui
