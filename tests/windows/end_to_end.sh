#!/usr/bin/env bash
# The pupil's round (tests/round/round.sh) on koren.exe inside wine_desktop.sh,
# by X under openbox, its clock alone stopped at 2026-09-15 08:00:00 UTC. After
# each step: the window and its menus as window_probe.exe reads them, the live
# region's events since the step before, and their picture; once the program
# has ended, its status and what it wrote into the registry or the prefix.
# Usage: end_to_end.sh koren.exe window_probe.exe RECORDS NEW DPI CONFIGURATION
set -eEuo pipefail
program=$1 probe=$2 dpi=$5
where=windows/wine-$(wine --version | sed 's/^wine-\([0-9]*\).*/\1/')/$6
# shellcheck source=../round/round.sh
source "$(dirname "$0")/../round/round.sh" "$3/$where" "$4/$where"
started=()
trap 'kill "${started[@]}" 2>/dev/null || true' EXIT
fail() {
    echo "FAIL: $*" >&2
    import -window root "$new-failed.png" 2>/dev/null || true # beside the snapshot, not in it
    sed 's/^/  /' "$work"/*.log >&2
    exit 1
}
trap 'fail "line $LINENO: $BASH_COMMAND ended with status $?"' ERR
ended() { [ -e "$work/status" ]; }
# wait_until COMMAND...: for at most 10 s; at once if the program has ended.
wait_until() {
    for _ in $(seq 100); do
        "$@" && return 0
        ! ended || fail "the program ended with status $(cat "$work/status")"
        sleep 0.1
    done
    return 1
}
active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$window" ]; }
# What the program could write: the registry but Wine's own keys, and the
# prefix's files but Wine's registry and the temporary files it saves it through.
snapshot() {
    for key in HKCU 'HKLM\Software'; do
        wine reg export "$key" "$work/export.reg" /y
        iconv -f UTF-16 -t UTF-8 "$work/export.reg" | awk '/^\[/ { wine = /\\Software\\Wine/ } !wine'
    done >"$work/$1.registry"
    find "$WINEPREFIX" -type f -newer "$work/wm-ready" ! -name '*.reg' ! -name 'reg*.tmp' | sort >"$work/$1.files"
} 2>>"$work/reg.log"

{
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f
    wine reg add 'HKCU\Control Panel\Desktop' /v CursorBlinkRate /d -1 /f # the same caret in every picture
} >"$work/reg.log" 2>&1
openbox --sm-disable --startup "touch $work/wm-ready" >"$work/openbox.log" 2>&1 &
started+=($!)
wait_until test -e "$work/wm-ready" || fail "no window manager"
xdotool key Num_Lock # the keypad's digits
snapshot before

start() {
    # The listener boots Wine first: a wineboot started by the program would
    # see Wine's files at the faked time and rebuild the prefix.
    wine "$probe" events >"$work/events" 2>>"$work/probe.log" &
    started+=($!)
    wait_until grep -q listening "$work/events" || fail "the probe did not start"
    wc -c <"$work/events" >"$work/seen"
    { TZ=UTC DONT_FAKE_MONOTONIC=1 faketime -f '2026-09-15 08:00:00' wine "$program" >"$work/program.log" 2>&1 &&
        echo 0 || echo $?; } >"$work/exit" && mv "$work/exit" "$work/status" &
    started+=($!)
    wait_until eval 'window=$(xdotool search --onlyvisible --classname koren.exe)' || fail "no X window of the program"
    wait_until active || fail "the program's window did not take the focus"
}
surfaces() {
    local state size
    if ! ended && state=$(wine "$probe" state 2>&1); then
        size=$(stat -c %s "$work/events")
        printf '%s\n--- live region\n' "$state"
        head -c "$size" "$work/events" | tail -c "+$(($(cat "$work/seen") + 1))"
        echo "$size" >"$work/seen.next"
        return
    fi
    for _ in $(seq 100); do ended || sleep 0.1; done # its window gone, the program ends
    ended || { echo "$state" && return; }
    if [ ! -e "$work/written" ]; then
        wineserver -w
        snapshot after
        for what in registry files; do diff "$work/before.$what" "$work/after.$what" || true; done >"$work/written"
    fi
    printf -- '--- ended with status %s\n--- written\n' "$(cat "$work/status")"
    cat "$work/written"
}
# The picture of step N, once it is the record's or the same twice.
picture() {
    local shot=$new/step-$(printf %02d "$1").png geometry
    rm -f "$work/last.png"
    for _ in $(seq 20); do
        geometry=$(wine "$probe" picture) || return 0 # the window has gone
        import -window root -crop "$geometry" +repage -strip "$shot"
        ! cmp -s "$shot" "$records/${shot##*/}" && ! cmp -s "$shot" "$work/last.png" || return 0
        cp "$shot" "$work/last.png" && sleep 0.3
    done
}

n=0
for step in "${steps[@]}"; do
    ! ended || fail "the program ended with status $(cat "$work/status") before step $((n += 1)), $step"
    read -r action argument <<<"$step"
    case $action in
    start) start ;;
    key) xdotool key "$argument" ;;
    type) xdotool type --delay 50 "$argument" ;;
    click) read -r x y < <(wine "$probe" where "$argument" "$dpi") && xdotool mousemove --window "$window" "$x" "$y" click 1 ;;
    away) # an X program's window, in the screen's far corner
        display -size 200x120 -geometry +780+600 xc:white &
        started+=($!)
        wait_until eval '! active' || fail "no other window took the focus" ;;
    *) fail "no such action in steps.txt: $step" ;;
    esac
    snap $((n += 1)) surfaces
    [ ! -e "$work/seen.next" ] || mv "$work/seen.next" "$work/seen"
    ended || picture "$n"
done
[ -e "$records/round.txt" ] || fail "no record in $records: look at the round in $new, then record it with tools/record"
compare_round || exit 1
echo "the round under Wine as recorded in $records"
