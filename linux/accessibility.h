#pragma once

namespace linux_ui {

// Tells assistive technology what the program and the window's own widgets
// are: the program by its name in the desktop's menu, the window a frame
// named by its title, read-only boxes that can be read, selected and copied
// but not rewritten, and the announcer's notifications.
void installAccessibility();

} // namespace linux_ui
