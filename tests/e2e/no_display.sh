#!/usr/bin/env bash
# Without any display the program says so in one line and exits non-zero,
# without a toolkit abort or a core dump.
set -uo pipefail
program=$1
err=$(mktemp)
trap 'rm -f "$err"' EXIT
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_RUNTIME_DIR=/nonexistent "$program" 2>"$err"
status=$?
cat "$err"
[ "$status" -eq 1 ] || { echo "FAIL: exit status $status, expected 1"; exit 1; }
[ "$(wc -l <"$err")" -eq 1 ] || { echo "FAIL: expected exactly one line on standard error"; exit 1; }
grep -q '^koren: .*дисплей' "$err" || { echo "FAIL: the line does not say what is missing"; exit 1; }
echo "no display: one line, status 1"
