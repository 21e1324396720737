# Sourced first by every test script that starts the program: the script
# runs on a desktop of its own rather than its caller's, and ends only what
# it started itself.
#
#   source private_desktop.sh
#
# - Of the caller's environment only PATH, TMPDIR and the sanitizers'
#   settings come through: no platform plugin, scale, theme, font
#   configuration, locale, bus, display, home or runtime folder of theirs.
#   The locale is C.UTF-8; home and runtime folder are empty ones in a
#   scratch folder, `work`.
# - start_display, start_session_bus and start_program below start a
#   private X display, a private session bus and the program; what they
#   start goes into `pids` and is ended, last first, by process id when
#   the script exits. The script defines `die MESSAGE` (it must exit).
#   KEEP=1 keeps the scratch folder for a look afterwards.

for name in $(compgen -e); do
    case $name in
    PATH | TMPDIR | ASAN_OPTIONS | UBSAN_OPTIONS | LSAN_OPTIONS | KEEP) ;;
    *) unset "$name" 2>/dev/null || true ;;
    esac
done
export LC_ALL=C.UTF-8 LANG=C.UTF-8

work=$(mktemp -d)
pids=()
end_private_desktop() {
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
    wait 2>/dev/null || true
    [ -n "${KEEP:-}" ] || rm -rf "$work"
}
trap end_private_desktop EXIT
export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"

# start_display [WIDTHxHEIGHTxDEPTH]
start_display() {
    Xvfb -displayfd 3 -screen 0 "${1:-640x480x24}" -nolisten tcp -noreset 3>"$work/display" 2>"$work/Xvfb.log" &
    pids+=($!)
    for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
    [ -s "$work/display" ] || die "Xvfb did not start within 10 s: $(cat "$work/Xvfb.log")"
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
        window=$(xdotool search --onlyvisible --pid "$app" 2>/dev/null | head -1) || true
        [ -n "$window" ] && return 0
        if ! kill -0 "$app" 2>/dev/null; then
            local status=0
            wait "$app" || status=$?
            die "the program ended with status $status before its window appeared"
        fi
        sleep 0.1
    done
    die "no window of the program within 20 s"
}
