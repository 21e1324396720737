#!/usr/bin/env bash
# Builds the Debian package with CPack and checks its control fields and
# contents, validates the desktop files inside it, and has lintian check it
# against Debian policy: any error or warning fails.
# Usage: check_deb.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$out" && cpack --config "$build/CPackConfig.cmake" -G DEB >/dev/null) || fail "cpack"
deb=$(ls "$out"/koren_*.deb)
[ "$(basename "$deb")" = koren_1.00_amd64.deb ] || [ "$(basename "$deb")" = "koren_1.00_$(dpkg --print-architecture).deb" ] \
    || fail "unexpected file name $(basename "$deb")"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = koren ] || fail "Package"
[ "$(field Version)" = 1.00 ] || fail "Version is $(field Version)"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
[ "$(field Section)" = education ] || fail "Section"
[ -n "$(field Description)" ] || fail "no Description"
depends=$(field Depends)
echo "Depends: $depends"
for needed in libqt6widgets6 libqt6gui6 libqt6core6 libc6 libstdc++6 fonts-liberation2; do
    [[ ", $depends," == *", $needed"[\ ,]* ]] || fail "Depends lacks $needed"
done

contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for path in ./usr/bin/koren ./usr/share/applications/org.example.koren.desktop \
    ./usr/share/metainfo/org.example.koren.metainfo.xml \
    ./usr/share/icons/hicolor/16x16/apps/org.example.koren.png \
    ./usr/share/icons/hicolor/32x32/apps/org.example.koren.png \
    ./usr/share/doc/koren/copyright ./usr/share/doc/koren/changelog.gz \
    ./usr/share/man/man1/koren.1.gz ./usr/share/man/bg/man1/koren.1.gz; do
    grep -qx "$path" <<<"$contents" || fail "package lacks $path"
done
if grep -v '^\./usr/' <<<"$contents" | grep -qv '^\./$'; then fail "files outside /usr"; fi

dpkg-deb -x "$deb" "$out/tree"
desktop-file-validate "$out/tree/usr/share/applications/org.example.koren.desktop" || fail "desktop entry"
appstreamcli validate --no-net --strict "$out/tree/usr/share/metainfo/org.example.koren.metainfo.xml" || fail "metainfo"
if readelf -d "$out/tree/usr/bin/koren" | grep -qE '\((RPATH|RUNPATH)\)'; then fail "the packaged program has a run path"; fi

# Informational tags are shown but pass; CONTRIBUTING.md says why some remain.
lintian --allow-root --display-info --fail-on error,warning "$deb" || fail "lintian"
echo "package: $(basename "$deb") fields and contents as expected, lintian clean"
