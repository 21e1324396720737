#!/usr/bin/env bash
# The installer as a lab's administrator uses it, inside wine_desktop.sh: a
# silent install, then one over it into another folder (/D=) that must leave
# nothing of the first; the files, the Start-menu shortcut and the Add/Remove
# Programs entry; the program started from the shortcut's target; a silent
# uninstall while it runs, which must close it; and nothing of it left.
# Usage: installer_test.sh SETUP.exe koren.exe
set -euo pipefail
setup=$1 program=$2 c=$WINEPREFIX/drive_c
: "${work:?run it through wine_desktop.sh}"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\koren'
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
run() { wine "$@" >>"$work/wine.log" 2>&1 || fail "wine $* ended with status $?"; }
entry() { rm -f "$work/entry.reg" && run reg export "$key" "$work/entry.reg" && iconv -f UTF-16 -t UTF-8 "$work/entry.reg" | tr -d '\r'; }
ours() { find "$c" "$WINEPREFIX"/*.reg \( -iname '*koren*' -o -name '*Корен*' \) -print -o -name '*.reg' -exec grep -il koren {} +; }

[ -z "$(ours)" ] || fail "a former run left these in the prefix (remove it): $(ours)"
run "$setup" /S
[ -f "$c/Program Files/Koren/koren.exe" ] || fail "no C:\\Program Files\\Koren\\koren.exe after a silent install"
run "$setup" /S '/D=C:\Lab\Koren'
[ ! -e "$c/Program Files/Koren" ] || fail "the first install's folder stayed after the second"
cmp "$program" "$c/Lab/Koren/koren.exe"
[ ! -e "$c/users/Public/Desktop/Корен квадратен.lnk" ] || fail "a desktop shortcut nobody asked for"
target=$(strings "$c/ProgramData/Microsoft/Windows/Start Menu/Programs/Корен квадратен.lnk" | grep '^C:.*koren.exe$')
[ "$target" = 'C:\Lab\Koren\koren.exe' ] || fail "the Start-menu shortcut starts '$target'"
size=$(($(stat -c %s "$c/Lab/Koren/koren.exe") + $(stat -c %s "$c/Lab/Koren/uninstall.exe")))
entry >"$work/entry.txt"
for line in '"DisplayName"="Корен квадратен"' '"DisplayVersion"="1.00"' '"Publisher"="Koren maintainers"' \
    '"DisplayIcon"="C:\\Lab\\Koren\\koren.exe,0"' '"UninstallString"="\"C:\\Lab\\Koren\\uninstall.exe\""' \
    '"QuietUninstallString"="\"C:\\Lab\\Koren\\uninstall.exe\" /S"' '"NoModify"=dword:00000001' \
    '"NoRepair"=dword:00000001' "$(printf '"EstimatedSize"=dword:%08x' $((size / 1024)))"; do
    grep -qxF "$line" "$work/entry.txt" || fail "no $line in the uninstall entry: $(cat "$work/entry.txt")"
done

wine "$target" >"$work/program.log" 2>&1 &
app=$!
timeout 20 sh -c "until xdotool search --onlyvisible --pid $app; do sleep 0.1; done" >/dev/null ||
    fail "no window of the installed program within 20 s"
# The uninstaller closes the program's window (class koren.Sorbela), then
# goes on from a copy of itself in %TEMP% and this returns at once: wait
# for every Windows process of the prefix to end.
run 'C:\Lab\Koren\uninstall.exe' /S
timeout 60 wineserver -w || fail "Windows processes still running 60 s after the uninstaller started"
wait "$app" || fail "the program, closed by the uninstaller, ended with status $?"
[ -z "$(ours)" ] || fail "left after the uninstall: $(ours)"
echo "installed, replaced, started and uninstalled; nothing left"
