#!/usr/bin/env bash
# Runs every fast test that starts a Qt program (CTest label `desktop`) once
# more, the way a developer's own desktop session would start it: with a
# platform plugin, scale, font resolution, font configuration, style, theme,
# locale, display, home and runtime folder of the caller's, and the
# caller's session and accessibility buses exported. Each test clears what
# it inherits, so each must pass as it does from a clean shell; and none may
# write into the caller's home or connect to the caller's bus, which here is
# a bus of this test's own that notes every program that joins it.
# Usage: hostile_environment.sh CTEST BUILD_DIR FONTCONFIG_FILE
set -uo pipefail
ctest=$1
build=$2
fonts=$3
caller=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$caller"
}
trap cleanup EXIT
die() { echo "FAIL: $*"; exit 1; }

# The caller's bus, watched: every program that joins it is announced with
# NameOwnerChanged. The watcher is ready once it has given up its own name
# to become a monitor.
bus=$(dbus-daemon --session --fork --nosyslog --print-address=1 --print-pid=4 4>"$caller/bus.pid") \
    || die "could not start the stand-in for the caller's bus"
pids+=("$(cat "$caller/bus.pid")")
dbus-monitor --address "$bus" "type='signal',sender='org.freedesktop.DBus',member='NameOwnerChanged'" \
    >"$caller/bus.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do grep -q 'member=NameLost' "$caller/bus.log" && break; sleep 0.05; done
grep -q 'member=NameLost' "$caller/bus.log" || die "the bus watcher did not start: $(cat "$caller/bus.log")"

# A display number no X server of this machine answers on.
dead=99
while [ -e "/tmp/.X11-unix/X$dead" ] || [ -e "/tmp/.X$dead-lock" ]; do dead=$((dead + 1)); done

mkdir -p "$caller/home" && mkdir -m 700 "$caller/runtime"
export QT_QPA_PLATFORM=xcb DISPLAY=":$dead" WAYLAND_DISPLAY=wayland-caller XAUTHORITY="$caller/Xauthority" \
    QT_SCALE_FACTOR=2 QT_FONT_DPI=144 QT_STYLE_OVERRIDE=Windows QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME=Adwaita:dark \
    FONTCONFIG_FILE="$fonts" QT_ACCESSIBILITY=1 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
    LC_ALL=bg_BG.UTF-8 LANG=bg_BG.UTF-8 LANGUAGE=bg LC_NUMERIC=de_DE.UTF-8 \
    HOME="$caller/home" XDG_RUNTIME_DIR="$caller/runtime" XDG_CONFIG_HOME="$caller/home/.config" \
    DBUS_SESSION_BUS_ADDRESS="$bus" AT_SPI_BUS_ADDRESS="$bus" \
    KOREN_EXPECT_FAMILY="DejaVu Serif" KOREN_DARK_DESKTOP=1

failed=0
"$ctest" --test-dir "$build" --label-regex desktop --label-exclude slow --output-on-failure --no-tests=error \
    || { echo "FAIL: a test gave way to the caller's environment (above)"; failed=1; }

joined=$(grep -A1 'member=NameOwnerChanged' "$caller/bus.log" | grep -o '":[0-9.]*"' | sort -u | tr '\n' ' ')
[ -z "$joined" ] || { echo "FAIL: programs of the tests joined the caller's bus as $joined"; failed=1; }
written=$(find "$caller/home" "$caller/runtime" -mindepth 1)
[ -z "$written" ] || { echo "FAIL: written into the caller's home or runtime folder: $written"; failed=1; }

[ "$failed" -eq 0 ] && echo "hostile environment: every desktop test as from a clean shell; the caller's bus and home untouched"
exit "$failed"
