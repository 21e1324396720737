# Sourced by the tests that need a desktop of their own rather than the
# caller's: a scratch folder, a home and runtime folder in it, a private X
# display and, where asked for, a private session bus. Whatever they start
# goes into `pids` and is ended, last first, when the test exits. The test
# defines `die MESSAGE` (it must exit) before calling these.

work=$(mktemp -d)
pids=()
end_private_desktop() {
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null; done
    wait 2>/dev/null
    [ -n "${KEEP:-}" ] || rm -rf "$work"
}
trap end_private_desktop EXIT

# Nothing of the caller's desktop reaches the test.
unset DISPLAY WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS DBUS_SYSTEM_BUS_ADDRESS AT_SPI_BUS_ADDRESS \
    QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE QT_SCALE_FACTOR GTK_THEME FONTCONFIG_FILE
export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"

# start_display [WIDTHxHEIGHTxDEPTH]
start_display() {
    Xvfb -displayfd 3 -screen 0 "${1:-640x480x24}" -nolisten tcp 3>"$work/display" 2>/dev/null &
    pids+=($!)
    for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
    [ -s "$work/display" ] || die "Xvfb did not start within 10 s"
    export DISPLAY=":$(cat "$work/display")"
}

start_session_bus() {
    DBUS_SESSION_BUS_ADDRESS=$(dbus-daemon --session --fork --nosyslog --print-address=1 --print-pid=4 4>"$work/bus.pid") \
        || die "could not start a session bus"
    export DBUS_SESSION_BUS_ADDRESS
    pids+=("$(cat "$work/bus.pid")")
}

# start_program PROGRAM: starts it, sets `app` to its process id and
# `window` to its window once that is on the screen.
start_program() {
    "$1" &
    app=$!
    pids+=("$app")
    window=
    for _ in $(seq 200); do
        window=$(xdotool search --onlyvisible --pid "$app" 2>/dev/null | head -1)
        [ -n "$window" ] && return 0
        kill -0 "$app" 2>/dev/null || die "the program ended before its window appeared"
        sleep 0.1
    done
    die "no window of the program within 20 s"
}
