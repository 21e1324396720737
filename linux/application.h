#pragma once

namespace linux_ui {

// The program's language and look for everything it shows, menus and other
// pop-ups included: the toolkit's own texts in Bulgarian, one style, one
// light palette, left to right, and what the window's own widgets tell
// assistive technology. Called once the QApplication exists, before any
// window is made.
void setUpApplication();

} // namespace linux_ui
