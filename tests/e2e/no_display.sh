#!/usr/bin/env bash
# When the toolkit cannot start, the user learns why and the program exits
# non-zero, without a toolkit abort or a core dump: with no display at all,
# or a display that does not answer, in one line of the program's own; for
# any other cause (a platform plugin that is missing or will not load), in
# the toolkit's own words.
# Usage: no_display.sh PROGRAM
set -uo pipefail
program=$1
failed=0
fail() { echo "FAIL: $*"; failed=1; }
die() { echo "FAIL: $*"; exit 1; }
# No display, platform or bus of the caller's: only what each case adds.
# shellcheck source=private_desktop.sh
source "$(dirname "$0")/private_desktop.sh"
err=$work/stderr

start() {
    env "$@" "$program" 2>"$err" </dev/null
    status=$?
    echo "--- $* (status $status)"
    cat "$err"
}

# A display number no X server of this machine answers on.
dead=99
while [ -e "/tmp/.X11-unix/X$dead" ] || [ -e "/tmp/.X$dead-lock" ]; do dead=$((dead + 1)); done

for without in "" "DISPLAY=:$dead" "QT_QPA_PLATFORM=xcb" "QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=nowhere"; do
    # shellcheck disable=SC2086 # the words are separate assignments
    start $without
    [ "$status" -eq 1 ] || fail "$without: exit status $status, expected 1"
    [ "$(wc -l <"$err")" -eq 1 ] || fail "$without: expected exactly one line on standard error"
    grep -q '^koren: .*дисплей' "$err" || fail "$without: the line does not say what is missing"
done

start QT_QPA_PLATFORM=nosuchplugin
[ "$status" -ne 0 ] && [ "$status" -lt 128 ] || fail "missing plugin: exit status $status, expected a plain failure"
grep -q 'Could not find the Qt platform plugin "nosuchplugin"' "$err" || fail "missing plugin: the cause is not named"
grep -q 'Available platform plugins are: .*xcb' "$err" || fail "missing plugin: the available plugins are not listed"
if grep -q 'дисплей' "$err"; then fail "missing plugin: reported as a missing display"; fi
# Named on the command line instead, among other options of the toolkit's,
# the plugin reaches it all the same.
"$program" -style Fusion --platform nosuchplugin -reverse 2>"$err" </dev/null
grep -q 'Could not find the Qt platform plugin "nosuchplugin"' "$err" || fail "--platform nosuchplugin: not passed to the toolkit: $(cat "$err")"

[ "$failed" -eq 0 ] && echo "start-up failures: each reported for what it is"
exit "$failed"
