#!/usr/bin/env bash
# The Debian package as Debian builds and tests it, in a fresh root of this
# machine's release that mmdebstrap makes in WORK: sbuild builds it from
# debian/control alone (the nocheck profile: the tests have run already);
# lintian (any error, warning or pedantic tag fails), blhc and
# hardening-check look at it; autopkgtest runs debian/tests there, with
# only the Build-Depends of the profiles nocheck and pkg.koren.installed, so
# that the font and Qt's texts come from the package's Depends alone. What
# the package says of itself and the files it installs are compared with
# the reviewed RECORD of this release (NEW is where they are written). Then,
# in another fresh root, the Windows build (the windows preset without its
# tests) from the packages of the profiles nocheck and pkg.koren.windows
# alone.
# Usage: debian_package.sh SOURCE_DIR WORK RECORD NEW
set -euo pipefail
source_dir=$(cd "$1" && pwd)
work=$2 record=$3 new=$4
fail() { echo "FAIL: $*" >&2; exit 1; }
rm -rf "$work"
mkdir -p "$work/source"
cd "$work"
work=$PWD
out=$work/out
# shellcheck source=/dev/null
release=$(. /etc/os-release && echo "$VERSION_CODENAME")

grep -q "^$(id -un):" /etc/subuid && grep -q "^$(id -un):" /etc/subgid \
    || fail "$(id -un) has no subordinate ids for sbuild's and autopkgtest's roots: tools/install-deps test"
# step NAME COMMAND...: runs it with its output in WORK/NAME.log.
step() {
    local name=$1
    shift
    echo "== $name: $*"
    "$@" >"$work/$name.log" 2>&1 || {
        grep -m 1 -A 4 '^CMake Error' "$work/$name.log" # the configure step's cause, far above the end
        sed '/^| \(Cleanup\|Summary\) /,$d' "$work/$name.log" | tail -15 # sbuild's cause comes before these
        fail "$name (log: $work/$name.log)"
    }
}
trap 'rm -f "$work/root.tar"' EXIT

# The source as a clone has it, without what building left in it.
tar -C "$source_dir" --exclude=./.git --exclude=./build --exclude='./build-*' --exclude='./obj-*' -c . | tar -C "$work/source" -x
step source dpkg-source -b source
dsc=$(echo "$work"/koren_*.dsc)
step mmdebstrap mmdebstrap --variant=minbase "$release" "$work/root.tar"
mkdir "$out"
echo 1\; >"$work/sbuildrc" # the caller's own sbuild settings stay out
step sbuild env SBUILD_CONFIG="$work/sbuildrc" DEB_BUILD_OPTIONS="nocheck parallel=$(nproc)" sbuild \
    --chroot-mode=unshare --chroot="$work/root.tar" --dist=UNRELEASED --profiles=nocheck --build-dir="$out" --nolog \
    --no-run-lintian --no-run-autopkgtest --no-run-piuparts "$dsc"
deb=$(echo "$out"/koren_*_*.deb)

lintian --allow-root --pedantic --display-info --fail-on error,warning,pedantic "$dsc" "$out"/koren_*.changes \
    || fail "lintian"
blhc "$work/sbuild.log" || fail "blhc: the build log shows files built without Debian's flags"

dpkg-deb -x "$deb" "$work/tree"
report=$(hardening-check "$work/tree/usr/bin/koren" || true)
for feature in "Position Independent Executable" "Stack protected" "Fortify Source functions" "Read-only relocations" \
    "Immediate binding"; do
    grep -q "^ $feature: yes" <<<"$report" || fail "hardening-check: $(grep "$feature" <<<"$report")"
done

# The licence in the copyright file is LICENSE's, word for word.
diff <(sed -n '/^Permission is hereby granted/,$p' "$source_dir/LICENSE") \
    <(sed -n '/^License: Expat$/,/^$/{/^License:/d;/^$/d;s/^ //;s/^\.$//;p}' "$work/tree/usr/share/doc/koren/copyright") \
    || fail "the licence in the copyright file differs from LICENSE"
mkdir -p "$(dirname "$new")"
{
    dpkg-deb --field "$deb" Package Version Architecture Maintainer Depends Section Priority Homepage Description
    echo "=== files"
    dpkg-deb --contents "$deb" | awk '{ $3 = $4 = $5 = ""; print }' | tr -s ' '
} >"$new"
[ -f "$record" ] || fail "no record $record yet: look at $new, and take it in with tools/record"
diff -u "$record" "$new" || fail "the package differs from the record $record (now $new)"
echo "$(basename "$deb"): built by sbuild from debian/control alone; lintian, blhc and hardening-check find nothing"
echo "$report"

# Both of the package's own tests; their summary, and how each ended.
DEB_BUILD_PROFILES="nocheck pkg.koren.installed" autopkgtest --apt-upgrade --output-dir="$work/autopkgtest" "$deb" "$dsc" \
    -- unshare --release "$release" --tarball "$work/root.tar" >"$work/autopkgtest.log" 2>&1 || status=$?
sed -n '/@@@@ summary/,$p' "$work/autopkgtest.log"
[ "${status:-0}" -eq 0 ] || { tail -n 5 "$work"/autopkgtest/*-std* "$work/autopkgtest.log"; fail "autopkgtest, status $status"; }

# shellcheck disable=SC2016 # $1 is the root, for mmdebstrap's hooks
step windows mmdebstrap --variant=apt "$release" /dev/null --customize-hook="copy-in $work/source /" \
    --customize-hook='chroot "$1" env DEBIAN_FRONTEND=noninteractive apt-get -y -q --no-install-recommends build-dep -P nocheck,pkg.koren.windows /source' \
    --customize-hook='chroot "$1" sh -c "cd /source && cmake --preset windows -DBUILD_TESTING=OFF && cmake --build build/windows"'
echo "the Windows build from the packages of the profile pkg.koren.windows alone"
