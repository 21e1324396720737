#!/usr/bin/env bash
# What each Windows file declares to Windows, as Debian's tools read it from
# the built file: the PE header (machine, subsystem, the loader's flags), the
# DLLs it imports, its resources, the manifest (execution level, DPI
# awareness, the common controls), the version resource and the icon's
# sizes. One text file per artefact in NEW/windows/debian-RELEASE/artefacts/,
# compared with the record at the same place under RECORDS (the cross
# toolchain and NSIS are the release's).
# Usage: artefacts.sh RECORDS NEW FILE.exe...
set -euo pipefail
where=windows/debian-$(. /etc/os-release && echo "$VERSION_ID")/artefacts
records=$1/$where new=$2/$where
shift 2
rm -rf "$new" && mkdir -p "$new"
for file; do
    {
        echo '--- PE header'
        x86_64-w64-mingw32-objdump -p "$file" | awk '/file format/ { print "format " $NF }
            /^(Characteristics|Time\/Date|Magic|M[a-z]*(OSystem|Subsystem)Version|Subsystem|DllCharacteristics)/ { flags = 1; print; next }
            flags && /^\t/ { print; next } { flags = 0 } /DLL Name:/ { print "imports " $3 }'
        echo '--- resources'
        wrestool -l "$file" | sed 's/offset=0x[0-9a-f]* \{0,1\}//'
        echo '--- manifest'
        wrestool -x --raw --type=24 "$file" | tr -d '\r' | sed 's/></>\n</g' | awk 1
        echo '--- version'
        x86_64-w64-mingw32-windres -i "$file" -O rc | sed -n '/VERSIONINFO$/,/^END$/p' |
            perl -CS -pe 's/\\x([0-9a-f]{4})/chr(hex($1))/ge; s/\\([0-7]{3})/chr(oct($1))/ge'
        echo '--- icons'
        wrestool -x --type=14 "$file" | icotool -l -
    } >"$new/${file##*/}.txt" 2>&1
done
[ -d "$records" ] || { echo "FAIL: no record in $records: look at $new, then record it with tools/record"; exit 1; }
diff -ru "$records" "$new" || { echo "FAIL: what the Windows files declare differs from the record in $records"; exit 1; }
echo "the Windows files declare what $records records"
