#!/usr/bin/env bash
# koren.exe and the installer of BUILD: built again without the tests from a
# copy of SOURCE in another folder, with another umask, time zone and locale,
# they must be the same bytes; and what each declares to Windows, as Debian's
# tools read it (PE header, imported DLLs, resources, manifest, version, icon
# sizes), written to NEW/windows/debian-RELEASE/artefacts/ and compared with
# the record there under RECORDS (the toolchain and NSIS are the release's).
# Usage: artefacts.sh SOURCE BUILD RECORDS NEW
set -euo pipefail
build=$2 where=windows/debian-$(. /etc/os-release && echo "$VERSION_ID")/artefacts
records=$3/$where new=$4/$where again=$2/built-again
rm -rf "$new" "$again" && mkdir -p "$new" "$again"
tar -C "$1" --exclude=./.git --exclude=./build --exclude='./build-*' -c . | tar -C "$again" -x
(cd "$again" && umask 077 && export TZ=Pacific/Kiritimati LC_ALL=C.UTF-8 &&
    cmake --preset windows -DBUILD_TESTING=OFF && cmake --build build/windows) >"$again.log" 2>&1 ||
    { tail -20 "$again.log"; exit 1; }
for file in app/koren.exe "$(cd "$build" && echo koren-setup-*.exe)"; do
    cmp "$build/$file" "$again/build/windows/$file" || { echo "FAIL: $file built again in $again is other bytes"; exit 1; }
    {
        echo '--- PE header'
        x86_64-w64-mingw32-objdump -p "$build/$file" | awk '/file format/ { print "format " $NF }
            /^(Characteristics|Time\/Date|Magic|M[a-z]*(OSystem|Subsystem)Version|Subsystem|DllCharacteristics)/ { flags = 1; print; next }
            flags && /^\t/ { print; next } { flags = 0 } /DLL Name:/ { print "imports " $3 }'
        echo '--- resources'
        wrestool -l "$build/$file" | sed 's/offset=0x[0-9a-f]* \{0,1\}//'
        echo '--- manifest'
        wrestool -x --raw --type=24 "$build/$file" | tr -d '\r' | sed 's/></>\n</g' | awk 1
        echo '--- version'
        x86_64-w64-mingw32-windres -i "$build/$file" -O rc | sed -n '/VERSIONINFO$/,/^END$/p' |
            perl -CS -pe 's/\\x([0-9a-f]{4})/chr(hex($1))/ge; s/\\([0-7]{3})/chr(oct($1))/ge'
        echo '--- icons'
        wrestool -x --type=14 "$build/$file" | icotool -l -
    } >"$new/${file##*/}.txt" 2>&1
done
[ -d "$records" ] || { echo "FAIL: no record in $records: look at $new, then record it with tools/record"; exit 1; }
diff -ru "$records" "$new" || { echo "FAIL: what the Windows files declare differs from the record in $records"; exit 1; }
echo "koren.exe and the installer built again elsewhere are the same bytes and declare what $records records"
