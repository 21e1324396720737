#!/usr/bin/env bash
# Runs a window test program on a display of its own under a dark desktop
# theme, GNOME's (Qt's GTK 3 platform theme with Adwaita:dark), as a pupil
# whose desktop is dark meets the window. The test program learns from
# KOREN_DARK_DESKTOP that the theme must be dark.
# Usage: dark_desktop.sh TEST_PROGRAM [ARGUMENT...]
set -uo pipefail
work=$(mktemp -d)
pids=()
cleanup() {
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT
die() { echo "FAIL: $*"; exit 1; }

compgen -G "/usr/lib/*/qt6/plugins/platformthemes/libqgtk3.so" >/dev/null \
    || die "Qt's GTK 3 platform theme is not installed (package qt6-gtk-platformtheme)"

unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS WAYLAND_DISPLAY QT_SCALE_FACTOR QT_STYLE_OVERRIDE
export QT_QPA_PLATFORM=xcb QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME=Adwaita:dark KOREN_DARK_DESKTOP=1
export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"

Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || die "Xvfb did not start within 10 s"
export DISPLAY=":$(cat "$work/display")"
DBUS_SESSION_BUS_ADDRESS=$(dbus-daemon --session --fork --nosyslog --print-address=1 --print-pid=4 4>"$work/bus.pid") \
    || die "could not start a session bus"
export DBUS_SESSION_BUS_ADDRESS
pids+=("$(cat "$work/bus.pid")")

"$@"
