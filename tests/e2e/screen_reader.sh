#!/usr/bin/env bash
# A pupil who cannot see the screen plays one round with the screen reader
# Orca: the options are heard and chosen with the arrow keys, and the
# verdict and the new-question prompt are spoken the moment a button writes
# them, while the focus stays on the button. What Orca says is read from
# its debug log ("SPEECH OUTPUT: '...'"). Skipped when Orca is not installed.
# Usage: screen_reader.sh PROGRAM
set -uo pipefail
program=$1
command -v orca >/dev/null || { echo "SKIP: orca is not installed (apt-get install orca)"; exit 77; }
work=$(mktemp -d)
pids=()
cleanup() {
    # The last started first: the program and Orca before their display.
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null; done
    wait 2>/dev/null
    [ -n "${KEEP:-}" ] || rm -rf "$work"
}
trap cleanup EXIT
log=$work/orca.log
# Each utterance on a line of its own; a line break inside one (the verdict
# "Правилно!" has one) becomes a space.
spoken() {
    tr -d '\r' <"$log" | awk -v q="'" '
        open { line = $0; sub(/^ +/, "", line); text = text " " line }
        !open && index($0, "SPEECH OUTPUT: " q) { text = substr($0, index($0, "SPEECH OUTPUT: " q) + 16); open = 1 }
        open && match(text, q "( *[{].*[}])?$") { print substr(text, 1, RSTART - 1); open = 0 }'
}
die() {
    echo "FAIL: $*"
    echo "Orca said:"
    spoken | sed 's/^/    /'
    exit 1
}
# Waits until Orca has said something matching the pattern (an extended
# regular expression) after the first `since` utterances; 20 s, or as many
# seconds as given.
said_since() {
    local since=$1 pattern=$2 seconds=${3:-20}
    for _ in $(seq $((seconds * 10))); do
        spoken | tail -n +$((since + 1)) | grep -Eq -- "$pattern" && return 0
        sleep 0.1
    done
    die "waited $seconds s for Orca to say /$pattern/"
}
utterances() { spoken | wc -l; }

# A desktop of the test's own: display, session bus (which starts the
# accessibility bus on demand), home and runtime folder.
unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS WAYLAND_DISPLAY QT_QPA_PLATFORMTHEME QT_SCALE_FACTOR
export QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 LANG=C.UTF-8 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
# No speech synthesiser is needed, only what Orca would say: a fixed
# address keeps its speech client from starting a speech server, which
# without a sound card would hold Orca up.
export SPEECHD_ADDRESS=unix_socket:$work/no-speech-server

Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || die "Xvfb did not start within 10 s"
export DISPLAY=":$(cat "$work/display")"
DBUS_SESSION_BUS_ADDRESS=$(dbus-daemon --session --fork --nosyslog --print-address=1 --print-pid=4 4>"$work/bus.pid") \
    || die "could not start a session bus"
export DBUS_SESSION_BUS_ADDRESS
pids+=("$(cat "$work/bus.pid")")

# Orca writes its log through a buffer unless the log is a terminal: on a
# terminal of its own (script's) every line reaches the log at once.
script --quiet --flush --command "orca --debug-file=/dev/tty --replace" "$log" >/dev/null 2>&1 </dev/null &
pids+=($!)
said_since 0 "^Screen reader on" 60 # Orca takes a while to start when the machine is busy

"$program" &
app=$!
pids+=("$app")
window=
for _ in $(seq 200); do
    window=$(xdotool search --onlyvisible --pid "$app" 2>/dev/null | head -1)
    [ -n "$window" ] && break
    kill -0 "$app" 2>/dev/null || die "the program ended before its window appeared"
    sleep 0.1
done
[ -n "$window" ] || die "no window of the program within 20 s"
xdotool windowfocus --sync "$window"
said_since 0 "^Резултат"

# Tab reaches the options and chooses nothing; an arrow chooses.
n=$(utterances); xdotool key Tab;   said_since "$n" "^not selected radio button"
n=$(utterances); xdotool key Down;  said_since "$n" "^selected radio button"
n=$(utterances); xdotool key Tab;   said_since "$n" "^Изведи push button"
n=$(utterances); xdotool key space; said_since "$n" "^notification (Правилно! |Грешка\.)[0-9.]+ \* [0-9.]+ = [0-9.]+"
n=$(utterances); xdotool key Tab;   said_since "$n" "^Чисти push button"
n=$(utterances); xdotool key space; said_since "$n" "^notification Изберете верния корен:"
# The focus stayed where it was: Orca announced no other control.
if spoken | tail -n +$((n + 1)) | grep -Eq "push button|radio button|text"; then
    die "the focus moved after the prompt"
fi

echo "screen reader: options heard and chosen, verdict and prompt spoken:"
spoken | grep '^notification' | sed 's/^/    /'
