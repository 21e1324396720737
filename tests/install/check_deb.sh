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
# One relation a line, its alternatives separated by "|".
relations=$(sed 's/, */\n/g' <<<"$depends")
# The package of each alternative, without its version.
names_in() { tr '|' '\n' <<<"$1" | sed 's/^ *//; s/[ (].*//'; }

# The libraries the program links, as dpkg-shlibdeps names them: by their
# own name or, where the distribution renamed a package (Debian 13's
# libqt6core6t64), by a package that this system says provides that name.
# The toolkit's Bulgarian texts, which the program loads at start.
provides() { dpkg-query -W -f='${Provides}' "$1" 2>/dev/null | sed 's/([^)]*)//g; s/,/\n/g' | tr -d ' '; }
for needed in libqt6widgets6 libqt6gui6 libqt6core6 libc6 libstdc++6 qt6-translations-l10n; do
    found=no
    while IFS= read -r relation; do
        [[ $relation == *"|"* ]] && continue
        name=$(names_in "$relation")
        if [ "$name" = "$needed" ] || [[ $'\n'$(provides "$name")$'\n' == *$'\n'"$needed"$'\n'* ]]; then
            found=yes
            break
        fi
    done <<<"$relations"
    [ "$found" = yes ] || fail "Depends lacks $needed"
done

# The window's font is Liberation 2 on both releases, in a package of a
# different name on each. What the two archives hold:
#   Debian 12: fonts-liberation 1:1.07.4-11 (Liberation 1), fonts-liberation2 2.1.5-1
#   Debian 13: fonts-liberation 1:2.1.5-3, fonts-liberation2 1:2.1.5-3 (transitional)
# apt takes the first alternative the archive can meet.
font=$(grep -E '(^| )fonts-liberation2?( |$)' <<<"$relations") || fail "Depends names no Liberation font"
[ "$(wc -l <<<"$font")" -eq 1 ] || fail "Depends names the Liberation fonts in more than one relation"
first_met() {
    local alternative name op version
    while IFS= read -r alternative; do
        read -r name op version <<<"$(sed 's/[()]/ /g' <<<"$alternative")"
        for offered in "$@"; do
            [ "${offered%%=*}" = "$name" ] || continue
            if [ -z "$op" ] || dpkg --compare-versions "${offered#*=}" "$op" "$version"; then echo "$name"; return; fi
        done
    done < <(tr '|' '\n' <<<"$font")
}
on_12=$(first_met fonts-liberation=1:1.07.4-11 fonts-liberation2=2.1.5-1)
on_13=$(first_met fonts-liberation=1:2.1.5-3 fonts-liberation2=1:2.1.5-3)
[ "$on_12" = fonts-liberation2 ] || fail "on Debian 12, '$font' installs ${on_12:-nothing}, not fonts-liberation2"
[ "$on_13" = fonts-liberation ] || fail "on Debian 13, '$font' installs ${on_13:-nothing}, not fonts-liberation"

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
bash "$(dirname "$0")/validate_metainfo.sh" "$out/tree/usr/share/metainfo/org.example.koren.metainfo.xml" || fail "metainfo"
if readelf -d "$out/tree/usr/bin/koren" | grep -qE '\((RPATH|RUNPATH)\)'; then fail "the packaged program has a run path"; fi

# Informational tags are shown but pass; CONTRIBUTING.md says why some remain.
lintian --allow-root --display-info --fail-on error,warning "$deb" || fail "lintian"
echo "package: $(basename "$deb") fields and contents as expected, lintian clean"
