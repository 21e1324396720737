#!/usr/bin/env bash
# A pupil who cannot see the screen plays one round with the screen reader
# Orca: the result area is read line by line as the screen shows it, the
# question once, the options are heard and chosen with the arrow keys, and the
# verdict and the new-question prompt are spoken and shown on the braille
# display the moment a button writes them, while the focus stays on the
# button. What Orca says and shows is read from its debug log
# ("SPEECH OUTPUT: '...'", "BRAILLE LINE:  '...'"). Skipped when Orca is
# not installed.
# The test's Orca runs in a PID namespace of the test's own, where it finds
# no other Orca to refuse to start beside: the caller's own screen reader
# goes on speaking, untouched (no --replace, which ends every Orca of the
# same user). Skipped, too, where no such namespace can be made.
# Usage: screen_reader.sh PROGRAM
set -uo pipefail
program=$1
command -v orca >/dev/null || { echo "SKIP: orca is not installed (apt-get install orca)"; exit 77; }
# Each utterance on a line of its own; a line break inside one (the verdict
# "Правилно!" has one) becomes a space.
spoken() {
    [ -e "$log" ] || return 0
    tr -d '\r' <"$log" | awk -v q="'" '
        open { line = $0; sub(/^ +/, "", line); text = text " " line }
        !open && index($0, "SPEECH OUTPUT: " q) { text = substr($0, index($0, "SPEECH OUTPUT: " q) + 16); open = 1 }
        open && match(text, q "( *[{].*[}])?$") { print substr(text, 1, RSTART - 1); open = 0 }'
}
brailled() {
    [ -e "$log" ] || return 0
    tr -d '\r' <"$log" | sed -n "s/.*BRAILLE LINE:  '\(.*\)'\$/\1/p"
}
die() {
    echo "FAIL: $*"
    echo "Orca said:"
    spoken | sed 's/^/    /'
    echo "Orca showed in braille:"
    brailled | sed 's/^/    /'
    exit 1
}
# Waits until Orca has said something matching the pattern (an extended
# regular expression) after the first `since` utterances. A key goes to
# Orca first, and on a busy machine the toolkit may wait out the bus's
# 25 s reply timeout before the program sees it: hence a minute.
said_since() {
    local since=$1 pattern=$2 seconds=${3:-60}
    for _ in $(seq $((seconds * 10))); do
        spoken | tail -n +$((since + 1)) | grep -Eq -- "$pattern" && return 0
        sleep 0.1
    done
    die "waited $seconds s for Orca to say /$pattern/"
}
utterances() { spoken | wc -l; }
# The same for the braille display's lines.
shown_since() {
    local since=$1 pattern=$2
    for _ in $(seq 600); do
        brailled | tail -n +$((since + 1)) | grep -Eq -- "$pattern" && return 0
        sleep 0.1
    done
    die "waited 60 s for Orca to show /$pattern/ in braille"
}
lines() { brailled | wc -l; }
# shellcheck source=private_desktop.sh
source "$(dirname "$0")/private_desktop.sh" --own-processes "$@"
log=$work/orca.log

# A desktop of the test's own; its session bus starts the accessibility
# bus on demand.
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
# No speech synthesiser is needed, only what Orca would say: a fixed
# address keeps its speech client from starting a speech server, which
# without a sound card would hold Orca up.
export SPEECHD_ADDRESS=unix_socket:$work/no-speech-server
start_display
start_session_bus

# Orca writes its log through a buffer unless the log is a terminal: on a
# terminal of its own (script's) every line reaches the log at once.
script --quiet --flush --command "orca --debug-file=/dev/tty" "$log" >/dev/null 2>&1 </dev/null &
pids+=($!)
said_since 0 "^Screen reader on"

start_program "$program"
xdotool windowfocus --sync "$window"
said_since 0 "^Резултат"
# Orca knows the program by the desktop menu's name, which it puts on the
# braille line: every event of the window comes "in" the application
# ("[application | NAME]" in Orca 43's log, "NAME (Qt 6.8.2)" in Orca 48's).
grep -Eq " in (\[application \| Корен квадратен\]|Корен квадратен \(Qt )" "$log" \
    || die "Orca names the program$(grep -Eo -m1 ' in (\[application \| [^]]*\]|[^ ]* \(Qt )' "$log")"
# The result area reads as the lines on the screen, not as whole paragraphs.
said_since 0 "^Да се реализира проект, представящ междупредметни връзки \$"
n=$(utterances); b=$(lines); xdotool key Down
said_since "$n" "^Математика и Информатика\. ?\$"; shown_since "$b" "Математика и Информатика\.( |\$)"
# The question box is read once, its text not selected.
n=$(utterances); xdotool key shift+Tab; said_since "$n" "^Изчислете корен квадратен на [0-9]+"
if spoken | tail -n +$((n + 1)) | grep -qi "selected"; then die "the question was read as selected"; fi
n=$(utterances); xdotool key Tab;   said_since "$n" "^Резултат"

# Tab reaches the options and chooses nothing; its digit chooses the focused
# one, which Orca itself does not speak; an arrow chooses.
n=$(utterances); xdotool key Tab;   said_since "$n" "^([0-9]+\.[0-9]{3} )?not selected radio button"
n=$(utterances); b=$(lines); xdotool key 1
said_since "$n" "^(notification\.? )?Избрахте [0-9]+\.[0-9]{3}\.?\$"; shown_since "$b" "^Избрахте [0-9]+\.[0-9]{3}\$"
n=$(utterances); xdotool key Down;  said_since "$n" "^([0-9]+\.[0-9]{3} )?selected radio button"
n=$(utterances); xdotool key Tab;   said_since "$n" "^Изведи (push )?button"
verdict='(Правилно! |Грешка\.)[0-9.]+ \* [0-9.]+ = [0-9.]+'
n=$(utterances); b=$(lines); xdotool key Return
said_since "$n" "^(notification\.? )?$verdict"; shown_since "$b" "^$verdict\$"
n=$(utterances); xdotool key Tab;   said_since "$n" "^Чисти (push )?button"
n=$(utterances); b=$(lines); xdotool key space
said_since "$n" "^(notification\.? )?Изберете верния корен:"
shown_since "$b" "^Изберете верния корен:\$"
# The focus stayed where it was: Orca announced no other control.
if spoken | tail -n +$((n + 1)) | grep -Eq "button|text"; then
    die "the focus moved after the prompt"
fi

echo "screen reader: options heard and chosen, verdict and prompt spoken and shown in braille:"
brailled | grep -E "^($verdict|Изберете верния корен:)\$" | sed 's/^/    /'
