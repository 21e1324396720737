#!/usr/bin/env bash
# One round of koren.exe as a pupil plays it by keys alone, inside
# wine_desktop.sh with a window manager: keys through X, and the window read
# back from another process by window messages, the accessibility interface
# and its live-region events (window_probe.exe). The numbers are written
# with DECIMAL, the separator of the regional settings the test starts it
# in (LANG); at DPI dots per inch the window is SIZE pixels. Keeps a picture
# of the window at the end, or of the screen in NAME-failed.png on failure.
# Usage: end_to_end.sh koren.exe window_probe.exe DECIMAL DPI SIZE SCREENSHOT.png
set -eEuo pipefail
program=$1 probe=$2 decimal=$3 dpi=$4 size=$5 screenshot=$6
started=()
trap 'kill "${started[@]}" 2>/dev/null || true' EXIT
rm -f "${screenshot%.png}-failed.png"
fail() {
    echo "FAIL: $*" >&2
    import -window root "${screenshot%.png}-failed.png" 2>/dev/null || true
    sed 's/^/  /' "$work"/*.log >&2
    exit 1
}
# Whatever fails unforeseen says where, with the picture.
trap 'fail "line $LINENO: $BASH_COMMAND ended with status $?"' ERR
awk() { LC_ALL=C command awk "$@"; } # the test's own arithmetic, whatever the program's locale
ended() {
    local status=0
    wait "$app" || status=$?
    fail "the program ended with status $status"
}
# wait_until COMMAND...: until it succeeds, at most 10 s, or at once when the program has ended.
wait_until() {
    for _ in $(seq 100); do
        "$@" && return 0
        [ -z "${app:-}" ] || kill -0 "$app" 2>/dev/null || ended
        sleep 0.1
    done
    return 1
}

wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >"$work/reg.log" 2>&1
openbox --sm-disable --startup "touch $work/wm-ready" >"$work/openbox.log" 2>&1 &
started+=($!)
wait_until test -e "$work/wm-ready" || fail "no window manager"
# What the program could write: the registry, but for Wine's own keys
# (exported, as Wine writes its files late), and the prefix's files but
# Wine's registry and the temporary files it saves the registry through.
snapshot() {
    for key in HKCU 'HKLM\Software'; do
        wine reg export "$key" "$work/export.reg" /y
        iconv -f UTF-16 -t UTF-8 "$work/export.reg" | awk '/^\[/ { wine = /\\Software\\Wine/ } !wine'
    done >"$work/$1.registry"
    find "$WINEPREFIX" -type f -newer "$work/wm-ready" ! -name '*.reg' ! -name 'reg*.tmp' -print | sort >"$work/$1.files"
} 2>>"$work/reg.log"
snapshot before
wine "$program" >"$work/program.log" 2>&1 &
app=$!
wine "$probe" events 60 >"$work/events" 2>"$work/probe.log" &
started+=($!)
wait_until grep -q listening "$work/events" || fail "the window did not come up"
mapped() { window=$(xdotool search --onlyvisible --pid "$app" | head -n 1); }
wait_until mapped || fail "no X window of the program"
xdotool windowactivate --sync "$window"

# state: the window, then each element in tab order, as "kind name: text [state]".
state() { wine "$probe" state | awk -F'\t' 'NR == 1 { print $2 " " $3; next }
    $4 !~ /hidden/ { print $1 " " $2 ": " $3 ($4 == "" ? "" : " [" substr($4, 2) "]") }'; }
shows() { diff <(state) <(echo "$1") >/dev/null; }
# keys KEYS... EXPECTED: presses the keys; the state must become EXPECTED.
keys() {
    local expected=${!#}
    [ $# -eq 1 ] || xdotool key --delay 50 "${@:1:$#-1}"
    wait_until shows "$expected" && return 0
    fail "after ${*:1:$#-1}: $(diff <(state) <(echo "$expected"))"
}
line() { state | grep "$1" | cut -d: -f2- | cut -c2- | sed 's/ \[[a-z ]*\]$//'; }
# The question and its five options, written with the regional separator
# (which roots they are is the engine's tests' to say).
read_question() {
    question=$(line '^Edit Число за коренуване')
    asked=${question##* }
    [[ $question == "Изчислете корен квадратен на $asked" ]] || fail "question: $question"
    mapfile -t captions < <(state | sed -n 's/^Button \([0-9,.]*\): .*/\1/p')
    [ "${#captions[@]}" = 5 ] && ! printf '%s\n' "${captions[@]}" | grep -vxE "[0-9]+[$decimal][0-9]{3}" ||
        fail "the options read ${captions[*]}"
}
read_question
# window FOCUS CHOSEN RESULT: the whole window as it should then read, the
# focus on FOCUS (result, 1 to 5, check, new or question), option CHOSEN chosen.
window() {
    local f=$1 c=$2 i s
    at() { [ "$f" != "$1" ] || echo " [focused]"; }
    echo "www.koren.example Математика - изчисляване корен квадратен $size"
    echo "Edit Резултат: $3$(at result)"
    echo "Static Математика - задачи с коренуване: Математика - задачи с коренуване"
    for i in 1 2 3 4 5; do
        s= && [ "$f" != "$i" ] || s=focused
        [ "$c" != "$i" ] || s="${s:+$s }chosen"
        echo "Button ${captions[i - 1]}: ${captions[i - 1]}${s:+ [$s]}"
    done
    echo "Button Изведи: Изведи$(at check)"
    echo "Button Чисти: Чисти$(at new)"
    echo "Edit Число за коренуване: $question$(at question)"
    printf '%s\n' "Static Число за коренуване: Число за коренуване" "Button Стойност за корен: Стойност за корен"
}
description=$(line '^Edit Резултат')
[[ $description == "Да се реализира проект, представящ междупредметни връзки Математика и Информатика.\r\n"* ]] ||
    fail "the result area opens with: $description"
keys Escape "$(window result '' "$description")"            # Escape in the result area closes nothing
keys 3 "$(window 3 3 "$description")"                       # a digit chooses from anywhere, with the focus
keys Down "$(window 4 4 "$description")"                    # the arrows choose, round the group
keys Down Down "$(window 1 1 "$description")"
keys Up "$(window 5 5 "$description")"
keys shift+Tab Tab "$(window 5 5 "$description")"           # Tab enters the options at the chosen one
keys Return KP_Enter "$(window 5 5 "$description")"         # Return and Enter press buttons only
# The line shows x and y as plain numbers: no trailing zeros, the separator only where needed.
read -r x y right < <(awk -v x="${captions[4]}" -v d="$decimal" -v a="$asked" 'function plain(n) {
    n = sprintf("%.6f", n); sub(/0+$/, "", n); sub(/\.$/, "", n); sub(/\./, d, n); return n }
    BEGIN { sub(/,/, ".", x); print plain(x), plain(x * x), (int(x * x + 0.5) == a) }')
verdict=$([ "$right" = 1 ] && echo 'Правилно!\r\n' || echo Грешка.)
keys Tab Return "$(window check 5 "$verdict$x * $x = $y")"
xdotool key Tab space
prompted() { [ "$(line '^Edit Резултат')" = 'Изберете верния корен:' ]; }
wait_until prompted || fail "no prompt after Чисти"
read_question
keys "$(window new '' 'Изберете верния корен:')"                # a new question, nothing chosen
keys Tab Return "$(window question '' 'Изберете верния корен:')"
keys Tab Tab "$(window 1 '' 'Изберете верния корен:')"                # none chosen: at the first
keys Tab KP_Enter "$(window check '' 'Изберете верния корен:')"  # nothing chosen: the prompt again
[ "$(cat "$work/events")" = "listening
live region	$verdict$x * $x = $y
live region	Изберете верния корен:
live region	Изберете верния корен:" ] || fail "the live region reported: $(cat "$work/events")"

import -window "$window" "$screenshot"
# The table's colours where it puts them, at this density; the ring round
# the focused button, and the resting edge of a box.
source "$(dirname "$0")/../e2e/window_colours.sh"
wrong=$(printf '%s\n' 'check-ring 177 124 0,0,0' 'result-edge 16 250 122,122,122' | colours_wrong "$screenshot" "$dpi")
[ -z "$wrong" ] || fail "$wrong"
# The version Windows shows for the file, as the cross-compiler's resource
# tool reads it back (UTF-16 written out as \x escapes).
version=$(x86_64-w64-mingw32-windres -i "$program" -O rc | sed 's/\\x\([0-9a-f]\{4\}\)/\\u\1/g' |
    sed -n 's/^ *VALUE "\(ProductName\|FileDescription\|FileVersion\|ProductVersion\)", L\{0,1\}"\(.*\)"$/\1 \2/p')
[ "$(printf '%b' "$version")" = "$(printf '%s\n' 'FileDescription Упражнение по корен квадратен' 'FileVersion 1.00' \
    'ProductName Корен квадратен' 'ProductVersion 1.00')" ] || fail "the program's version reads: $(printf '%b' "$version")"
xdotool key alt+F4
wait "$app" || fail "exit status $? after Alt+F4"
app=
kill "${started[@]:1}" && wineserver -w # once Wine has settled
snapshot after
for what in registry files; do
    diff "$work/before.$what" "$work/after.$what" >"$work/written" || fail "the program wrote: $(cat "$work/written")"
done
echo "end-to-end under Wine: the round by keys, the texts, names and live region as expected"
