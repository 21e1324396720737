#!/usr/bin/env bash
# Starts the installed program as its desktop entry does, under a Bulgarian
# locale, on a private X server with a window manager and a private D-Bus
# session bus; plays one round with real X input, checks the window's title,
# class and colours and the numbers' decimal comma, then closes the window
# as a user would and expects exit status 0. Whatever goes wrong, it says
# what it was waiting for and keeps a picture of the whole screen next to
# SCREENSHOT (NAME-failed.png).
# Usage: end_to_end.sh TREE [SCREENSHOT.png]
#   TREE is the root the program is installed under (/ for the system's own).
set -euo pipefail
tree=$(realpath "$1")
screenshot=${2:-}
failed_shot=${screenshot:+${screenshot%.png}-failed.png}
failed_shot=${failed_shot:-$PWD/end_to_end-failed.png}
rm -f "$failed_shot"
usr=${tree%/}/usr
desktop=$usr/share/applications/org.example.koren.desktop
entry() { sed -n "s/^$1=//p" "$desktop"; }
title='www.koren.example Математика - изчисляване корен квадратен'

# shellcheck source=private_desktop.sh
source "$(dirname "$0")/private_desktop.sh"
export QT_QPA_PLATFORM=xcb

fail() {
    echo "FAIL: $*" >&2
    if [ -n "${DISPLAY:-}" ] && xwd -root -silent | convert xwd:- "$failed_shot" 2>/dev/null; then
        echo "the screen at that moment: $failed_shot" >&2
    else
        echo "no picture of the screen: the X server is not up" >&2
    fi
    if [ -s "$work/program.log" ]; then
        echo "the program's output:" >&2
        sed 's/^/  /' "$work/program.log" >&2
    fi
    exit 1
}
die() { fail "$@"; }
# wait_for SECONDS WHAT COMMAND...: runs COMMAND until it succeeds. What
# COMMAND leaves in $seen goes into the failure message.
wait_for() {
    local seconds=$1 what=$2
    shift 2
    local deadline=$((SECONDS + seconds))
    seen=
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || fail "waited ${seconds} s for ${what}${seen:+; last seen: $seen}"
        sleep 0.05
    done
}

# up PID NAME TEST...: whether the test holds, failing at once if NAME
# (process PID, output in NAME.log) has ended.
up() {
    kill -0 "$1" 2>/dev/null || fail "$2 ended: $(cat "$work/$2.log")"
    test "${@:3}"
}

start_display
# A Bulgarian pupil's keyboard: the US layout and the Bulgarian one beside it.
setxkbmap -layout us,bg

openbox --sm-disable --startup "touch $work/wm-ready" >"$work/openbox.log" 2>&1 &
pids+=($!)
wait_for 10 "the window manager to start" up $! openbox -e "$work/wm-ready"

start_session_bus
# shellcheck disable=SC2046 # the entry's command line is words
env -u LC_ALL PATH="$usr/bin:$PATH" LANG=bg_BG.UTF-8 $(entry Exec) >"$work/program.log" 2>&1 &
app=$!
pids+=("$app")
program_running() { kill -0 "$app" 2>/dev/null; }
window=
window_shown() {
    if ! program_running; then
        local status=0
        wait "$app" || status=$?
        fail "the program ended with exit status $status before its window appeared"
    fi
    window=$(xdotool search --onlyvisible --pid "$app" 2>/dev/null | head -n 1) || true
    seen="no such window on $DISPLAY"
    [ -n "$window" ]
}
wait_for 20 "the program's window to be mapped" window_shown

focused() {
    local active focus
    active=$(xdotool getactivewindow 2>/dev/null) || true
    focus=$(xdotool getwindowfocus 2>/dev/null) || true
    seen="active window ${active:-none}, focus on ${focus:-none}, program's window $window"
    [ "$active" = "$window" ] && [ "$focus" = "$window" ]
}
xdotool windowactivate "$window"
wait_for 10 "the window to be active and to have the keyboard focus" focused

# The title as desktops show it, nothing appended; the class the desktop
# entry expects, which ties the window to its menu entry and icon.
shown=$(xprop -id "$window" _NET_WM_NAME | sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p')
[ "$shown" = "$title" ] || fail "the window is called $shown"
class=$(xprop -id "$window" WM_CLASS | sed -n 's/.*, "\(.*\)"$/\1/p')
[ "$class" = "$(entry StartupWMClass)" ] || fail "the window's class is $class, the desktop entry's $(entry StartupWMClass)"

# The window cannot be resized, so it asks the window manager for no
# maximise button and no maximising (Motif hints: functions, decorations).
motif=$(xprop -id "$window" _MOTIF_WM_HINTS | sed -n 's/.* = //p')
IFS=', ' read -r _ functions decorations _ <<<"$motif"
[ -n "${decorations:-}" ] || fail "the window sets no Motif hints"
(( (functions & 0x10) == 0 && (decorations & 0x40) == 0 )) || fail "the window offers maximising: Motif hints $motif"

# X delivers the pointer and key events in order, and the program handles
# them in order, so a click needs no pause before the next event.
click() { xdotool mousemove --sync --window "$window" "$1" "$2" click 1; }

# The text of a read-only box, copied out of it the way a user would. The
# clipboard first holds a marker of the test's own, so that the copy shows
# up as a change.
copies=0
copied=
clipboard_is() {
    seen=$(xclip -o -selection clipboard 2>/dev/null) || true
    [ "$seen" = "$1" ]
}
clipboard_changed() {
    copied=$(xclip -o -selection clipboard 2>/dev/null) || true
    seen=${copied:-nothing}
    [ -n "$copied" ] && [ "$copied" != "$marker" ]
}
copy_text() {
    copies=$((copies + 1))
    marker="end-to-end marker $copies"
    # In the foreground of its own job: it serves the marker until the
    # program takes the clipboard over, and ends then.
    printf %s "$marker" | xclip -quiet -selection clipboard >/dev/null 2>&1 &
    pids+=($!)
    wait_for 5 "the clipboard to hold \"$marker\"" clipboard_is "$marker"
    click "$1" "$2"
    # Copied with the box's menu (Shift+F10) and the key its Bulgarian item
    # "&Копиране" underlines, which the toolkit's English menu passes over.
    xdotool key ctrl+a shift+F10
    xdotool type к
    wait_for 5 "the text of the box at $1,$2 on the clipboard after Ctrl+A, Shift+F10 and К (Копиране)" clipboard_changed
}

copy_text 200 80
question=$copied
asked=${question##* }
[[ "$question" == "Изчислете корен квадратен на $asked" && "$asked" =~ ^[0-9]+$ ]] || fail "question: $question"
echo "question: $question"

# Checks the option at height Y (right of its caption): the line is
# x * x = y, x the root as the option shows it, with the decimal comma of
# the Bulgarian locale; the verdict is right exactly when x * x rounds to
# the asked number. Whether x has a separator: a whole root has none, and
# then the next option, which cannot be whole as well, is checked too.
check_option() {
    click 120 "$1"
    click 232 124   # "Изведи"
    copy_text 216 294
    result=$(printf '%s' "$copied" | tr -d '\r')
    echo "result: $result"
    local line
    line=$(printf '%s\n' "$result" | tail -n 1)
    line=${line#Грешка.}
    awk -v line="$line" -v asked="$asked" -v result="$result" 'BEGIN {
        n = split(line, part, " ")
        if (n != 5 || part[2] != "*" || part[4] != "=" || part[1] != part[3]) exit 1
        if (part[1] !~ /^[0-9]+(,[0-9]+)?$/ || part[5] !~ /^[0-9]+(,[0-9]+)?$/) exit 1
        gsub(/,/, ".", part[1]); gsub(/,/, ".", part[5])
        x = part[1] + 0; y = part[5] + 0
        if (x * x - y > 1e-9 || y - x * x > 1e-9) exit 1
        if (x * x < 10 - 0.05 || x * x > 413 + 0.05) exit 1
        right = (int(x * x + 0.5) == asked)
        if (right && result !~ /^Правилно!\n/) exit 1
        if (!right && result !~ /^Грешка\.[0-9]/) exit 1
    }' || fail "verdict does not match: $result"
    [[ ${line%% *} == *,* ]]
}
check_option 64 || check_option 88 || fail "neither of two options came with a decimal comma"

# Colours at the elements' interiors, in window coordinates. The window is
# taken again until they are all there: the last repaint may still be on
# its way.
# shellcheck source=window_colours.sh
source "$(dirname "$0")/window_colours.sh"
colours_right() {
    xwd -id "$window" -silent | convert xwd:- "$work/window.png" || return 1
    seen=$(identify -format '%wx%h' "$work/window.png")
    [ "$seen" = 486x312 ] || { seen="the window is $seen, not 486x312" && return 1; }
    seen=$(colours_wrong "$work/window.png" 96 </dev/null | paste -sd,)
    [ -z "$seen" ]
}
wait_for 5 "the window's size and colours" colours_right
[ -z "$screenshot" ] || cp "$work/window.png" "$screenshot"

# Close it as a user would: the window manager's Alt+F4.
xdotool windowactivate "$window"
wait_for 10 "the window to have the focus again before Alt+F4" focused
xdotool key alt+F4
program_ended() { ! program_running; }
wait_for 10 "the program to end after Alt+F4" program_ended
status=0
wait "$app" || status=$?
[ "$status" -eq 0 ] || fail "exit status $status"
echo "end-to-end: window, round, colours and close all as expected"
