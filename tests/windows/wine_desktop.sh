#!/usr/bin/env bash
# Runs a command inside the tests' private Wine desktop and ends what it
# started; CTest runs the Windows test programs through it.
#
#   bash wine_desktop.sh PREFIX [NAME=VALUE...] COMMAND [ARGUMENT...]
#
# - PREFIX is the tests' own Wine prefix, a folder of the build tree, never
#   the caller's WINEPREFIX or ~/.wine. The first run makes it (no .NET or
#   browser engine, "Times New Roman" drawn as Liberation Serif); later
#   runs reuse it. One run at a time holds it (flock on PREFIX.lock, whose
#   descriptor nothing it starts inherits).
# - In a PID namespace of its own (status 77 where none can be made): CTest
#   ends a test out of time by SIGKILL on its process tree, which no trap
#   sees, and the kernel then ends what had left the tree (bus, wineserver).
# - The environment is ../e2e/private_desktop.sh's clean one, with a private
#   X display (1024x768x24), a private session bus, WINEDEBUG=-all, and no
#   desktop menus written. NAME=VALUE arguments add to it: Wine takes its
#   regional settings from LANG and LC_ALL (not LC_NUMERIC), C.UTF-8 here.
# - A COMMAND ending in .exe runs under wine; any other (a test script) runs
#   as it is and may call wine itself, with a scratch folder in $work. The
#   output goes to a file, printed when the command ends: the prefix's
#   services outlive a command and would hold a pipe open.
# - Then the prefix's wineserver, with every Windows process of the prefix,
#   is ended (WINEPREFIX=PREFIX wineserver -k), then the display and bus.
# The exit status is COMMAND's.
set -euo pipefail
# shellcheck source=../e2e/private_desktop.sh
source "$(dirname "$0")/../e2e/private_desktop.sh" --own-processes "$@"
prefix=$(realpath -m "$1")
shift
die() {
    echo "wine_desktop: $*" >&2
    exit 1
}
while [[ ${1:-} == *=* ]]; do export "${1?}" && shift; done
export work WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
flock 9
trap 'wineserver -k 2>/dev/null || true; end_private_desktop' EXIT
start_display 1024x768x24 9>&-
start_session_bus 9>&-
if [ ! -e "$prefix/koren-ready" ]; then
    rm -rf "$prefix"
    { wineboot --init && wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
        /v 'Times New Roman' /d 'Liberation Serif' /f && wineserver -w; } </dev/null >"$work/wineboot.log" 2>&1 9>&- ||
        die "could not make the Wine prefix $prefix: $(cat "$work/wineboot.log")"
    touch "$prefix/koren-ready"
fi

status=0
if [[ $1 == *.exe ]]; then set -- wine "$@"; fi
"$@" </dev/null >"$work/output" 2>&1 9>&- || status=$?
cat "$work/output"
exit "$status"
