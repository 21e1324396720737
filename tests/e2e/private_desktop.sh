# Sourced first by every test script that starts the program: the script
# runs on a desktop of its own rather than its caller's, and ends only what
# it started itself.
#
#   source private_desktop.sh [--own-processes] "$@"
#
# - Of the caller's environment only PATH, TMPDIR and the sanitizers'
#   settings come through: no platform plugin, scale, theme, font
#   configuration, locale, bus, display, home or runtime folder of theirs.
#   The locale is C.UTF-8; home and runtime folder are empty ones in a
#   scratch folder, `work`.
# - With --own-processes the script runs again, with the same arguments,
#   as the first process of a PID namespace of its own with its own /proc:
#   it sees no process of its caller's (a running screen reader, other
#   buses), and whatever is left in the namespace when it ends, the kernel
#   ends. As root that needs nothing more; an ordinary user gets a user
#   namespace too, in which they stay themselves (with an unshare older
#   than util-linux 2.38, root of it). Where none can be made the test is
#   skipped (status 77), never run among the caller's processes.
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

if [ "${1:-}" = --own-processes ] && [ $$ -ne 1 ]; then
    shift
    for namespace in "" "--user --map-current-user" "--user --map-root-user"; do
        # shellcheck disable=SC2086 # the words are separate options
        if unshare $namespace --pid --fork --mount-proc --kill-child true 2>/dev/null; then
            # --kill-child: if the test is ended from outside, so is the namespace.
            # shellcheck disable=SC2086
            exec unshare $namespace --pid --fork --mount-proc --kill-child -- bash "$0" "$@"
        fi
    done
    echo "SKIP: cannot make a PID namespace for the test's own processes ($(unshare --pid --fork --mount-proc true 2>&1 | head -1))"
    echo "      (as root: unshare --pid; as a user: unshare --user --pid, which the kernel may forbid)"
    exit 77
fi

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
