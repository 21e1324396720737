#!/usr/bin/env bash
# The installer as a lab's administrator and a teacher use it, inside
# wine_desktop.sh, each path's exit status and what it leaves (the files,
# the shortcuts as Windows reads them, the registry) recorded in
# NEW/windows/wine-MAJOR/installer/installed.txt and compared with the record
# under RECORDS: silently into a folder that holds the administrator's own
# file, over an install elsewhere; again, and uninstalled in place, while the
# program does not answer; silently out while it runs; through the pages with
# the desktop shortcut ticked, and out again.
# Usage: installer_test.sh SETUP.exe koren.exe window_probe.exe RECORDS NEW
set -eEuo pipefail
setup=$1 program=$2 probe=$3 c=$WINEPREFIX/drive_c
where=windows/wine-$(wine --version | sed 's/^wine-\([0-9]*\).*/\1/')/installer
records=$4/$where new=$5/$where
rm -rf "$new" && mkdir -p "$new"
started=()
trap 'kill -CONT "${started[@]}" 2>/dev/null; kill "${started[@]}" 2>/dev/null || true' EXIT
fail() {
    echo "FAIL: $*" >&2
    sed 's/^/  /' "$work/wine.log" >&2
    exit 1
}
trap 'fail "line $LINENO: $BASH_COMMAND ended with status $?"' ERR
run() {
    local status=0
    wine "$@" >>"$work/wine.log" 2>&1 || status=$?
    echo "${1##*/} ${*:2} ended with status $status"
}
# What is there besides Windows itself: the registry but Wine's own keys, and
# the files once Wine has started again (and deleted what was to go at its
# restart, as Windows does).
snapshot() {
    for key in HKCU 'HKLM\Software'; do
        wine reg export "$key" "$work/export.reg" /y >>"$work/wine.log" 2>&1
        iconv -f UTF-16 -t UTF-8 "$work/export.reg" | tr -d '\r' | awk '/^\[/ { wine = /\\Software\\Wine/ } !wine'
    done >"$work/$1.registry"
    (cd "$c" && find . -path ./windows -prune -o -type f -print | sort) >"$work/$1.files"
}
# What has changed since the first snapshot, once Wine has ended.
changes() {
    wineserver -w
    snapshot now
    echo '--- files'
    comm -23 "$work/first.files" "$work/now.files" | sed 's/^/gone: /'
    comm -13 "$work/first.files" "$work/now.files" | while read -r file; do
        if [[ $file == *.lnk ]]; then
            echo "$file: $(wine "$probe" shortcut "C:$(tr / '\\' <<<"${file#.}")" 2>&1)"
        elif cmp -s "$c/$file" "$program"; then
            echo "$file: the built koren.exe"
        else
            echo "$file: $(stat -c %s "$c/$file") bytes"
        fi
    done
    echo '--- registry'
    kib=$(find "$c" -path '*/Koren/*' -type f -printf '%s\n' | awk '{ n += $1 } END { print int(n / 1024) }')
    diff "$work/first.registry" "$work/now.registry" | grep '^[<>]' |
        sed "s/^\(> \"EstimatedSize\"=dword:\)$(printf %08x "$kib")$/\1the installed files' size in KiB/" || true
}
# start: the installed program, by the Start menu shortcut's target.
start() {
    wine 'C:\Lab\Koren\koren.exe' >>"$work/wine.log" 2>&1 &
    app=$!
    started+=("$app")
    timeout 20 sh -c 'until xdotool search --onlyvisible --classname koren.exe; do sleep 0.1; done' >/dev/null ||
        fail "no window of the installed program"
}

mkdir -p "$c/Lab/Koren" && echo "the administrator's own notes" >"$c/Lab/Koren/notes.txt"
snapshot first
{
    echo '=== silently into C:\Program Files\Koren, then into C:\Lab\Koren, which holds notes.txt'
    run "$setup" /S
    run "$setup" /S '/D=C:\Lab\Koren'
    changes
    echo '=== again, and uninstalled in place, while the program does not answer'
    start
    kill -STOP "$app"
    run "$setup" /S '/D=C:\Lab\Koren'
    run 'C:\Lab\Koren\uninstall.exe' /S '_?=C:\Lab\Koren'
    kill -CONT "$app"
    echo '=== silently out while the program runs'
    # It closes the program, then goes on from a copy of itself in %TEMP%.
    run 'C:\Lab\Koren\uninstall.exe' /S
    status=0 && wait "$app" || status=$?
    echo "the program ended with status $status"
    changes
} >"$new/installed.txt"

# A teacher's install, by the pages' keys, with the desktop shortcut ticked.
openbox --sm-disable >"$work/openbox.log" 2>&1 &
started+=($!)
wine "$setup" >>"$work/wine.log" 2>&1 &
pages=$!
started+=("$pages")
timeout 20 sh -c 'until xdotool search --onlyvisible --classname "${1##*/}"; do sleep 0.1; done' sh "$setup" >"$work/window" ||
    fail "no window of the installer"
xdotool windowactivate --sync "$(head -n 1 "$work/window")" windowfocus --sync "$(head -n 1 "$work/window")"
xdotool key --delay 200 Return Down space Return Return # welcome, the parts, the folder: installs
for _ in $(seq 100); do kill -0 "$pages" 2>/dev/null && xdotool key Return && sleep 0.2; done # to the end
{
    echo '=== through the pages, the desktop shortcut ticked'
    status=0 && wait "$pages" || status=$?
    echo "the installer ended with status $status"
    changes
    echo '=== silently out'
    run 'C:\Program Files\Koren\uninstall.exe' /S
    changes
} >>"$new/installed.txt"

[ -d "$records" ] || fail "no record in $records: look at $new, then record it with tools/record"
diff -u "$records/installed.txt" "$new/installed.txt" || fail "the installer's paths differ from the record in $records"
echo "the installer's paths as recorded in $records"
