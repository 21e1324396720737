#!/usr/bin/env bash
# Builds the Debian source and binary packages from a copy of the source
# tree with dpkg-buildpackage, and has Debian's own tools check them: lintian
# (any error, warning or pedantic tag fails), hardening-check on the program
# and blhc on the build log. The tests have run before in the build, so this
# build leaves them out (the nocheck profile).
# Usage: debian_package.sh SOURCE_DIR
set -euo pipefail
source_dir=$(cd "$1" && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# The source as a clone has it, without what building left in it.
mkdir "$out/koren"
tar -C "$source_dir" --exclude=./.git --exclude=./build --exclude='./build-*' --exclude='./obj-*' -c . | tar -C "$out/koren" -x
(cd "$out/koren" && DEB_BUILD_OPTIONS="nocheck parallel=$(nproc)" dpkg-buildpackage -us -uc --build-profiles=nocheck) \
    >"$out/build.log" 2>&1 || { tail -30 "$out/build.log"; fail "dpkg-buildpackage"; }
deb=$(echo "$out"/koren_*_*.deb)

lintian --allow-root --pedantic --display-info --fail-on error,warning,pedantic "$out"/koren_*.changes || fail "lintian"
blhc "$out/build.log" || fail "blhc: the build log shows files built without Debian's flags"

dpkg-deb -x "$deb" "$out/tree"
report=$(hardening-check "$out/tree/usr/bin/koren" || true)
for feature in "Position Independent Executable" "Stack protected" "Fortify Source functions" "Read-only relocations" \
    "Immediate binding"; do
    grep -q "^ $feature: yes" <<<"$report" || fail "hardening-check: $(grep "$feature" <<<"$report")"
done

# The licence in the copyright file is LICENSE's, word for word.
diff <(sed -n '/^Permission is hereby granted/,$p' "$source_dir/LICENSE") \
    <(sed -n '/^License: Expat$/,/^$/{/^License:/d;/^$/d;s/^ //;s/^\.$//;p}' "$out/tree/usr/share/doc/koren/copyright") \
    || fail "the licence in the copyright file differs from LICENSE"
echo "$(basename "$deb"): lintian, blhc and hardening-check find nothing"
echo "$report"
