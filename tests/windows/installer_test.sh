#!/usr/bin/env bash
# The installer's paths inside wine_desktop.sh, each one's exit status and
# what it leaves (files, the shortcuts' strings, registry) recorded in
# NEW/windows/wine-MAJOR/installer/installed.txt and compared with RECORDS:
# silently into a folder holding the administrator's own file, over an install
# elsewhere; again, and out in place, while the program does not answer; out
# while it runs; through the pages with the desktop shortcut ticked; out.
# Usage: installer_test.sh SETUP.exe koren.exe RECORDS NEW
set -eEuo pipefail
setup=$1 program=$2 c=$WINEPREFIX/drive_c
where=windows/wine-$(wine --version | sed 's/^wine-\([0-9]*\).*/\1/')/installer
records=$3/$where new=$4/$where
rm -rf "$new" && mkdir -p "$new"
started=()
trap 'kill -CONT "${started[@]}" 2>/dev/null; kill "${started[@]}" 2>/dev/null || true' EXIT
trap 'echo "FAIL: line $LINENO: $BASH_COMMAND ended with status $?" >&2; exit 1' ERR
run() { wine "$@" >>"$work/wine.log" 2>&1 && echo "${1##*/} ${*:2}: status 0" || echo "${1##*/} ${*:2}: status $?"; }
# The registry but Wine's own keys, and the files once Wine has started again
# (and deleted what was to go at a restart, as Windows does).
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
    comm -23 "$work/first.files" "$work/now.files" | sed 's/^/gone: /'
    comm -13 "$work/first.files" "$work/now.files" | while read -r file; do
        case $file in
        *.lnk) echo "$file: $({ strings -a -n 6 "$c/$file" && strings -a -n 6 -e l "$c/$file"; } | paste -sd ' ')" ;;
        *) cmp -s "$c/$file" "$program" && echo "$file: the built koren.exe" || echo "$file: $(stat -c %s "$c/$file") bytes" ;;
        esac
    done
    kib=$(find "$c" -path '*/Koren/*' -type f -printf '%s\n' | awk '{ n += $1 } END { printf "%08x", n / 1024 }')
    diff "$work/first.registry" "$work/now.registry" | grep '^[<>]' |
        sed "s/^\(> \"EstimatedSize\"=dword:\)$kib$/\1the installed files' size in KiB/" || true
}

left=$(find "$c" -path "$c/windows" -prune -o \( -iname '*koren*' -o -name '*Корен*' \) -print)
[ -z "$left" ] || { echo "FAIL: a run that did not end left these in the prefix (remove it): $left"; exit 1; }
mkdir -p "$c/Lab/Koren" && echo "the administrator's own notes" >"$c/Lab/Koren/notes.txt"
snapshot first
{
    echo '=== silently into C:\Program Files\Koren, then into C:\Lab\Koren, which holds notes.txt'
    run "$setup" /S
    run "$setup" /S '/D=C:\Lab\Koren'
    changes
    echo '=== again, and out in place, while the program does not answer'
    wine 'C:\Lab\Koren\koren.exe' >>"$work/wine.log" 2>&1 &
    app=$! && started+=("$app")
    timeout 20 sh -c 'until xdotool search --onlyvisible --classname koren.exe; do sleep 0.1; done' >/dev/null
    kill -STOP "$app"
    run "$setup" /S '/D=C:\Lab\Koren'
    run 'C:\Lab\Koren\uninstall.exe' /S '_?=C:\Lab\Koren'
    kill -CONT "$app"
    echo '=== silently out while the program runs' # it closes the program, then goes on from a copy in %TEMP%
    run 'C:\Lab\Koren\uninstall.exe' /S
    wait "$app" && echo "the program: status 0" || echo "the program: status $?"
    changes
    echo '=== through the pages, the desktop shortcut ticked'
    openbox --sm-disable >"$work/openbox.log" 2>&1 &
    started+=($!)
    wine "$setup" >>"$work/wine.log" 2>&1 &
    pages=$! && started+=("$pages")
    window=$(timeout 20 sh -c 'until xdotool search --onlyvisible --classname "${0##*/}"; do sleep 0.1; done' "$setup")
    xdotool windowactivate --sync "${window%%$'\n'*}" windowfocus --sync "${window%%$'\n'*}"
    xdotool key --delay 200 Return Down space Return Return # the welcome, the parts, the folder: it installs
    for _ in $(seq 100); do kill -0 "$pages" 2>/dev/null && xdotool key Return && sleep 0.2; done # on to the end
    wait "$pages" && echo "the installer: status 0" || echo "the installer: status $?"
    changes
    echo '=== silently out'
    run 'C:\Program Files\Koren\uninstall.exe' /S
    changes
} >"$new/installed.txt"
rm -r "$c/Lab"
[ -d "$records" ] || { echo "FAIL: no record in $records: look at $new, then record it with tools/record"; exit 1; }
diff -u "$records/installed.txt" "$new/installed.txt" || { echo "FAIL: the installer's paths differ from $records"; exit 1; }
echo "the installer's paths as recorded in $records"
