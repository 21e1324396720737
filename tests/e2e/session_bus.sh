#!/usr/bin/env bash
# On a desktop with no session bus (a bare X session, ssh -X) the program
# starts no bus of its own: no helper process outlives it and nothing is
# written to the home folder. On a desktop with one, it joins that bus, as
# the accessibility bridge needs.
# The test runs in a PID namespace of its own, so every bus process it can
# see there is one it or the program started; buses of other programs on
# the machine are neither seen nor touched. Skipped where no such namespace
# can be made.
# Usage: session_bus.sh PROGRAM
set -uo pipefail
program=$1
failed=0
fail() { echo "FAIL: $*"; failed=1; }
die() { echo "FAIL: $*"; exit 1; }
# shellcheck source=private_desktop.sh
source "$(dirname "$0")/private_desktop.sh" --own-processes "$@"

# What the program is started with: its own display, home and runtime
# folder, and no bus unless one is made below.
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
start_display

stop_program() {
    kill "$app"
    wait "$app" 2>/dev/null
}
bus_processes() { pgrep -x dbus-launch; pgrep -x dbus-daemon; }

echo "--- without a session bus"
# libdbus starts a bus through dbus-launch; without it there would be
# nothing to catch.
command -v dbus-launch >/dev/null || die "dbus-launch is not installed (package dbus-x11)"
[ -z "$(bus_processes)" ] || die "bus processes in the test's own namespace before the program: $(bus_processes)"
start_program "$program"
stop_program
started=$(bus_processes)
if [ -n "$started" ]; then
    fail "bus processes started and left behind: $(ps -o pid=,args= -p "${started//$'\n'/,}")"
    kill $started
fi
# Fontconfig's own cache aside: it keeps one there where the system's is out
# of date (a package that put fonts in after it was made, as a fresh Debian
# 13 has it), whatever program asks for a font.
written=$(find "$HOME" -mindepth 1 ! -path "$HOME/.cache" ! -path "$HOME/.cache/fontconfig*")
[ -z "$written" ] || fail "written to the home folder: $written"

echo "--- with a session bus"
start_session_bus
start_program "$program"
joined=no
for _ in $(seq 100); do
    for name in $(dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.ListNames | grep -o '":[0-9.]*"' | tr -d '"'); do
        pid=$(dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
            org.freedesktop.DBus.GetConnectionUnixProcessID "string:$name" 2>/dev/null | awk '/uint32/ {print $2}')
        [ "$pid" = "$app" ] && joined=yes
    done
    [ "$joined" = yes ] && break
    sleep 0.1
done
stop_program
[ "$joined" = yes ] || fail "the program did not join the session bus it was given"

[ "$failed" -eq 0 ] && echo "session bus: none started without one, the given one joined"
exit "$failed"
