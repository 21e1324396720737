#pragma once

namespace window {

// Tells assistive technology what the window's own widgets are: the window
// a frame named by its title, read-only boxes that can be read, selected and
// copied but not rewritten, and the announcer's notifications.
void installAccessibility();

} // namespace window
