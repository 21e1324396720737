#pragma once

namespace window {

// Tells assistive technology what the window's own widgets are: read-only
// boxes that can be read, selected and copied but not rewritten, and the
// announcer's notifications. Safe to call more than once.
void installAccessibility();

} // namespace window
