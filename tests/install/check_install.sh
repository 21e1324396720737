#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR, as a distribution's package
# build would, and checks the installed tree with the desktop's validators.
# Usage: check_install.sh BUILD_DIR
set -euo pipefail
build=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null
usr="$root/usr"
id=org.example.koren

[ -x "$usr/bin/koren" ] || fail "no executable usr/bin/koren"
desktop="$usr/share/applications/$id.desktop"
metainfo="$usr/share/metainfo/$id.metainfo.xml"
[ -f "$desktop" ] || fail "no desktop entry"
[ -f "$metainfo" ] || fail "no metainfo"

desktop-file-validate "$desktop" || fail "desktop entry does not validate"
appstreamcli validate --no-net --strict "$metainfo" || fail "metainfo does not validate"

entry() { sed -n "s/^$1=//p" "$desktop"; }
[ "$(entry Exec)" = koren ] || fail "Exec is not the installed program"
[ "$(entry Icon)" = "$id" ] || fail "Icon is not the installed icon"
[ "$(entry Terminal)" = false ] || fail "Terminal should be false"
[[ "$(entry Categories)" == *Education\;* && "$(entry Categories)" == *Math\;* ]] || fail "categories"
[ "$(entry Name)" = "Корен квадратен" ] || fail "Bulgarian name"
grep -q '<release version="1.00"' "$metainfo" || fail "metainfo has no release 1.00"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" || fail "launchable"

for size in 16 32 64; do
    icon="$usr/share/icons/hicolor/${size}x${size}/apps/$id.png"
    [ -f "$icon" ] || fail "no ${size}x${size} icon"
    [ "$(identify -format '%m %wx%h' "$icon")" = "PNG ${size}x${size}" ] || fail "$icon is not a ${size}-pixel PNG"
    colours=$(convert "$icon" -alpha off -format '%k' info:)
    [ "$colours" -le 16 ] || fail "$icon has $colours colours"
done

# Everything lands under the prefix it was given.
other=$(mktemp -d)
DESTDIR="$other" cmake --install "$build" --prefix /opt/koren >/dev/null
[ -x "$other/opt/koren/bin/koren" ] && [ -f "$other/opt/koren/share/applications/$id.desktop" ] \
    || { rm -rf "$other"; fail "prefix /opt/koren not honoured"; }
[ "$(find "$other" -type f | grep -vc "^$other/opt/koren/")" -eq 0 ] || { rm -rf "$other"; fail "files outside the prefix"; }
rm -rf "$other"
echo "installed tree: executable, desktop entry, metainfo and icons valid"
