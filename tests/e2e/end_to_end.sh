#!/usr/bin/env bash
# Starts the built program on a private X server with a window manager,
# plays one round with real X input, checks the colours on screen, then
# closes the window as a user would and expects exit status 0.
# Usage: end_to_end.sh PROGRAM [SCREENSHOT.png]
set -euo pipefail
program=$1
screenshot=${2:-}
work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    [ -z "${window:-}" ] || [ -z "$screenshot" ] || xwd -id "$window" -silent | convert xwd:- "${screenshot%.png}-failed.png" || true
    exit 1
}

Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(cat "$work/display")"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY

openbox --sm-disable --startup "touch $work/wm-ready" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -e "$work/wm-ready" ] && break; sleep 0.1; done

LC_ALL=C.UTF-8 "$program" &
app=$!
pids+=($app)
window=$(timeout 20 xdotool search --sync --onlyvisible --name 'Математика - изчисляване корен квадратен' | head -1)
[ -n "$window" ] || fail "no window"
xdotool windowactivate --sync "$window"
sleep 0.5

click() { xdotool mousemove --sync --window "$window" "$1" "$2"; sleep 0.1; xdotool click 1; sleep 0.3; }
# The text of a read-only box, copied out of it the way a user would.
copy_text() {
    click "$1" "$2"
    xdotool key ctrl+a ctrl+c
    sleep 0.2
    xclip -o -selection clipboard
}

question=$(copy_text 200 80)
asked=${question##* }
[[ "$question" == "Изчислете корен квадратен на $asked" && "$asked" =~ ^[0-9]+$ ]] || fail "question: $question"

click 120 64        # the first option, right of its caption
click 232 124       # "Изведи"
result=$(copy_text 216 294 | tr -d '\r')
echo "question: $question"
echo "result: $result"

# The line is x * x = y for a root rounded to three decimals; the verdict
# is right exactly when x * x rounds to the asked number.
line=$(printf '%s\n' "$result" | tail -n 1)
line=${line#Грешка.}
awk -v line="$line" -v asked="$asked" -v result="$result" 'BEGIN {
    n = split(line, part, " ")
    if (n != 5 || part[2] != "*" || part[4] != "=" || part[1] != part[3]) exit 1
    x = part[1] + 0; y = part[5] + 0
    if (x * x - y > 1e-9 || y - x * x > 1e-9) exit 1
    if (x * x < 10 - 0.05 || x * x > 413 + 0.05) exit 1
    right = (int(x * x + 0.5) == asked)
    if (right && result !~ /^Правилно!\n/) exit 1
    if (!right && result !~ /^Грешка\.[0-9]/) exit 1
}' || fail "verdict does not match: $result"

# Colours at the elements' interiors, in window coordinates.
xwd -id "$window" -silent | convert xwd:- "$work/window.png"
[ -z "$screenshot" ] || cp "$work/window.png" "$screenshot"
size=$(identify -format '%wx%h' "$work/window.png")
[ "$size" = 486x312 ] || fail "window is $size"
pixel() { convert "$work/window.png" -format "%[fx:int(255*p{$1,$2}.r+.5)],%[fx:int(255*p{$1,$2}.g+.5)],%[fx:int(255*p{$1,$2}.b+.5)]" info:; }
while read -r what x y expected; do
    got=$(pixel "$x" "$y")
    [ "$got" = "$expected" ] || fail "$what at $x,$y is $got, not $expected"
done <<'COLOURS'
window 480 2 192,192,255
title-label 70 20 255,192,128
question-label 172 62 255,192,128
option-1 125 51 0,255,255
option-5 125 147 0,255,255
check-button 186 124 128,255,128
new-button 354 156 255,128,128
question-box 418 92 255,255,255
result-area 300 294 255,255,255
COLOURS

# Close it as a user would: the window manager's Alt+F4.
xdotool windowactivate --sync "$window" key alt+F4
status=0
timeout 10 tail --pid="$app" -f /dev/null || fail "the program did not end"
wait "$app" || status=$?
[ "$status" -eq 0 ] || fail "exit status $status"
echo "end-to-end: window, round, colours and close all as expected"
