#!/usr/bin/env bash
# koren.exe and the installer built again, without the tests, from a copy of
# the sources in another folder, with another umask, time zone and locale:
# both must be the same bytes as BUILD_DIR's.
# Usage: reproducible.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
build=$2 work=$2/reproducible
rm -rf "$work" && mkdir -p "$work/sources"
tar -C "$1" --exclude=./.git --exclude=./build --exclude='./build-*' -c . | tar -C "$work/sources" -x
cd "$work/sources"
umask 077
export TZ=Pacific/Kiritimati LC_ALL=C.UTF-8
{ cmake --preset windows -DBUILD_TESTING=OFF && cmake --build build/windows; } >"$work/build.log" 2>&1 ||
    { tail -20 "$work/build.log"; exit 1; }
for file in app/koren.exe "$(cd "$build" && echo koren-setup-*.exe)"; do
    cmp "$build/$file" "build/windows/$file" || { echo "FAIL: $file built again in $work is other bytes"; exit 1; }
done
echo "koren.exe and the installer built again elsewhere are the same bytes"
