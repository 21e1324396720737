#!/usr/bin/env bash
# Runs a window test program on a display of its own under a dark desktop
# theme, GNOME's (Qt's GTK 3 platform theme with Adwaita:dark), as a pupil
# whose desktop is dark meets the window. The test program starts from an
# environment of its own, so the desktop is handed to it on its command
# line; KOREN_DARK_DESKTOP tells it that the theme must be dark.
# Usage: dark_desktop.sh TEST_PROGRAM [ARGUMENT...]
set -uo pipefail
die() { echo "FAIL: $*"; exit 1; }
# shellcheck source=private_desktop.sh
source "$(dirname "$0")/private_desktop.sh"

compgen -G "/usr/lib/*/qt6/plugins/platformthemes/libqgtk3.so" >/dev/null \
    || die "Qt's GTK 3 platform theme is not installed (package qt6-gtk-platformtheme)"
start_display 800x600x24
start_session_bus

"$@" QT_QPA_PLATFORM=xcb QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME=Adwaita:dark KOREN_DARK_DESKTOP=1 \
    DISPLAY="$DISPLAY" DBUS_SESSION_BUS_ADDRESS="$DBUS_SESSION_BUS_ADDRESS"
