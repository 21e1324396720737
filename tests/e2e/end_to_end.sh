#!/usr/bin/env bash
# The pupil's round (tests/round/steps.txt) on the installed program, as its
# desktop entry starts it, in LOCALE at the screen scale SCALE, on a private
# X server with a window manager and a private session bus. Keys, typing
# and clicks are real X input. After each step it takes down all there is:
# the accessibility tree as a screen reader reads it, with every event the
# program raised since the step before (accessibility_probe.py), and the
# window's picture; and compares them with the record in RECORDS
# (tests/round/round.sh). Orca's own words are screen_reader.sh's: what it
# makes of a click varies from run to run. Closing the window must end the
# program with status 0.
# Usage: end_to_end.sh TREE RECORDS NEW SCALE LOCALE
#   TREE is the root the program is installed under (/ for the system's own).
set -uo pipefail
tree=$(realpath "$1")
scale=$4 locale=$5
usr=${tree%/}/usr
desktop=$usr/share/applications/org.example.koren.desktop
here=$(dirname "$0")
# shellcheck source=private_desktop.sh
source "$here/private_desktop.sh"
# shellcheck source=../round/round.sh
source "$here/../round/round.sh" "$2" "$3"
[ -f "$records/round.txt" ] || echo "no record in $records yet: this round's snapshots go to $new; tools/record takes them in"

fail() {
    echo "FAIL: $*"
    [ -n "${DISPLAY:-}" ] && xwd -root -silent | convert xwd:- "$new/failed-screen.png" 2>/dev/null &&
        echo "the screen at that moment: $new/failed-screen.png"
    [ -s "$work/program.log" ] && sed 's/^/  program: /' "$work/program.log"
    [ -s "$work/probe.log" ] && sed 's/^/  probe: /' "$work/probe.log"
    exit 1
}
die() { fail "$@"; }
wait_for() { # SECONDS WHAT COMMAND...
    local seconds=$1 what=$2
    shift 2
    local deadline=$((SECONDS + seconds))
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || fail "waited $seconds s for $what"
        sleep 0.05
    done
}
alive() { kill -0 "$1" 2>/dev/null || fail "$2 ended: $(cat "$work/$2.log" 2>/dev/null)"; }

export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 FONTCONFIG_FILE=$here/../fonts/pinned.conf
start_display 1024x768x24
# A Bulgarian pupil's keyboard, the keypad's digits on.
setxkbmap -layout us,bg
xdotool key Num_Lock
openbox --sm-disable --startup "touch $work/wm-ready" >"$work/openbox.log" 2>&1 &
pids+=($!)
wait_for 10 "the window manager" test -e "$work/wm-ready"
start_session_bus

probe_in=$work/probe.in probe_out=$work/probe.out
mkfifo "$probe_in"
ask_probe() {
    : >"$probe_out"
    echo "$1" >&7
    [ "$1" = snap ] || return 0
    wait_for 30 "the accessibility probe" grep -qx '\.' "$probe_out"
    grep -vx -e ready -e '\.' "$probe_out"
}
# Everything there is after step N: the tree and its events, Orca, the picture.
surfaces() {
    if ! kill -0 "$app" 2>/dev/null; then
        echo "--- program ended" # what it said to assistive technology on its way out varies
        return
    fi
    echo "--- accessibility tree"
    ask_probe snap | sed 's/^--- events$/--- accessibility events/'
    if [ "$1" = 01 ]; then
        # What the window asks of the window manager (its name, class, icon,
        # size, and what the manager offers for it), as the window opens.
        echo "--- window manager"
        xprop -id "$window" -notype WM_CLASS _NET_WM_NAME _NET_WM_WINDOW_TYPE WM_HINTS WM_NORMAL_HINTS _MOTIF_WM_HINTS \
            WM_PROTOCOLS _NET_WM_ALLOWED_ACTIONS _NET_WM_ICON | sed 's/^\t*//; /^$/d; /window id #/d'
    fi
    # The screen where the window is, its menus too, as the pupil sees them:
    # import, as a menu may have a visual of its own, which xwd leaves black.
    local place
    if place=$(xwininfo -id "$window" | awk -F: '/Absolute upper-left [XY]/ { p = p "+" $2 + 0 }
            /Width/ { w = $2 + 0 } /Height/ { h = $2 + 0 } END { print w "x" h p }') &&
        import -window root -crop "$place" +repage -strip "$new/step-$1.png" 2>/dev/null; then
        echo "--- picture $(identify -format '%wx%h %#' "$new/step-$1.png")"
    else
        rm -f "$new/step-$1.png"
        echo "--- program ended"
    fi
}

start() {
    # The clock stopped at the round's moment: the program's first question
    # is the round's. The program's own time zone stays as it is.
    # shellcheck disable=SC2046 # the entry's command line is words
    env -u LC_ALL PATH="$usr/bin:$PATH" LANG="$locale" QT_SCALE_FACTOR="$scale" TZ=UTC DONT_FAKE_MONOTONIC=1 \
        FAKETIME='2026-09-15 08:00:00' LD_PRELOAD=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1 \
        ASAN_OPTIONS="${ASAN_OPTIONS:-}:verify_asan_link_order=0" \
        $(sed -n 's/^Exec=//p' "$desktop") >"$work/program.log" 2>&1 &
    app=$!
    pids+=("$app")
    window_up() {
        alive "$app" program
        window=$(xdotool search --onlyvisible --pid "$app" 2>/dev/null | head -n 1)
        [ -n "$window" ]
    }
    wait_for 20 "the program's window" window_up
    xdotool windowactivate --sync "$window"
    /usr/bin/python3 "$here/accessibility_probe.py" "$app" <"$probe_in" >>"$probe_out" 2>"$work/probe.log" &
    pids+=($!)
    exec 7>"$probe_in"
    wait_for 10 "the accessibility probe" grep -qx ready "$probe_out"
}

for ((n = 1; n <= ${#steps[@]}; n++)); do
    read -r action argument <<<"${steps[n - 1]}"
    [ "$action" = start ] || ask_probe mark
    case $action in
    start) start ;;
    key) xdotool key --clearmodifiers "$argument" ;;
    type) xdotool type --delay 100 "$argument" ;;
    click)
        read -r x y < <(element_middle "$argument" "$scale") || fail "no element $argument in the window's table"
        xdotool mousemove --window "$window" "$x" "$y" click 1
        ;;
    away)
        xmessage -geometry +0+0 "another program" >/dev/null 2>&1 &
        pids+=($!)
        # A click into it, as a pupil would: the pointer leaves the program's
        # window, whose toolkit keeps the window active while it has the
        # pointer, and the window manager gives the focus to the window clicked.
        gone_over() {
            other=$(xdotool search --onlyvisible --class Xmessage | head -n 1)
            [ -n "$other" ] && xdotool mousemove --window "$other" 5 5 click 1 2>/dev/null &&
                [ "$(xdotool getwindowfocus -f)" = "$other" ]
        }
        wait_for 10 "another program's window to take the focus" gone_over
        ;;
    *) fail "step $n: no such action: $action" ;;
    esac
    snap "$n" surfaces
done
status=0
wait "$app" || status=$?
printf '=== end\n--- exit status %s\n' "$status" >>"$new/round.txt"
compare_round
