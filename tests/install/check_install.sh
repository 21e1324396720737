#!/usr/bin/env bash
# Checks the program as installed: the desktop entry and metainfo with the
# desktop's validators, the two manual pages against each other, and that
# the program makes the loader look for libraries neither in the current
# directory nor in its own folder. Every text the program shows outside its
# window goes into one snapshot, compared with the reviewed RECORD (NEW is
# where it is written; tools/record takes it in): the command line as a
# terminal user meets it, with its exit statuses, for --help, --version and
# what it refuses, without a display, and on a fatal error (FATAL_ROUND, a
# library preloaded into the program, brings one about); both manual pages
# as man shows them; the desktop entry, the metainfo and the icons.
# Usage: check_install.sh TREE FATAL_ROUND RECORD NEW [BUILD_DIR]
#   TREE is the root the program is installed under: a staging folder, or
#   / for the system's own, as the Debian package's own test has it. With
#   BUILD_DIR the built program must answer the command line alike, and an
#   install under another prefix must keep to it.
set -euo pipefail
tree=$(cd "$1" && pwd)
fatal_round=$(realpath "$2")
record=$3 new=$4
build=${5:+$(cd "$5" && pwd)}
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
version=$(dpkg-parsechangelog -l "$source_dir/debian/changelog" -S Version)
usr="${tree%/}/usr"
programs=("$usr/bin/koren")
id=org.example.koren

[ -x "$usr/bin/koren" ] || fail "no executable usr/bin/koren"
desktop="$usr/share/applications/$id.desktop"
metainfo="$usr/share/metainfo/$id.metainfo.xml"
[ -f "$desktop" ] || fail "no desktop entry"
[ -f "$metainfo" ] || fail "no metainfo"

desktop-file-validate "$desktop" || fail "desktop entry does not validate"
bash "$source_dir/tests/install/validate_metainfo.sh" "$metainfo" || fail "metainfo does not validate"


# Both pages describe the same program (that they render without a warning
# is lintian's: manpage-has-errors-from-man). They are read as installed,
# compressed (as a distribution's package has them) or not.
unpacked_page() {
    local page
    for page in "$1" "$1.gz"; do [ -f "$page" ] && { zcat -f "$page" >"$2"; return; }; done
    fail "no manual page $1"
}
page_en=$root/koren.1 page_bg=$root/koren.bg.1
unpacked_page "$usr/share/man/man1/koren.1" "$page_en"
unpacked_page "$usr/share/man/bg/man1/koren.1" "$page_bg"
render() { LC_ALL=C.UTF-8 MANWIDTH=80 man -E UTF-8 -l "$1" 2>/dev/null || fail "man cannot render $1"; }
text_en=$(render "$page_en")
text_bg=$(render "$page_bg")
grep -q "^koren $version " <<<"$text_en" || fail "English page is not for version $version"
grep -q "^koren $version " <<<"$text_bg" || fail "Bulgarian page is not for version $version"
# Names, numbers and exit statuses are the same in both languages; every
# word in Latin letters of the Bulgarian page (a name, key, chord or option)
# is in the English page too, and as often in the headings of its entries.
facts() {
    grep -v '^\.\(TH\|SH\) ' "$1" | sed 's/^\.[A-Za-z]*//; s/\\f[BIRP]//g; s/\\-/-/g; s/\\[&%]//g' \
        | LC_ALL=C grep -oE "${2:-\b([0-9]+([.,][0-9]+)*|[A-Z][A-Z_]+)\b}" | sort
}
diff <(facts "$page_en") <(facts "$page_bg") || fail "the two pages differ in names or numbers"
latin='[A-Za-z0-9]([A-Za-z0-9_+.,-]*[A-Za-z0-9])?'
headings() { awk 'heading { print } { heading = /^\.TP/ }' "$1"; }
comm -23 <(facts "$page_bg" "$latin" | uniq) <(facts "$page_en" "$latin" | uniq) | grep . \
    && fail "the Bulgarian page has these, the English one not"
comm -23 <(facts <(headings "$page_bg") "$latin") <(facts <(headings "$page_en") "$latin") | grep . \
    && fail "the Bulgarian page's entries are headed by these, the English one's not"
[ "$(grep -c '^\.\(SH\|TP\)' "$page_en")" -eq "$(grep -c '^\.\(SH\|TP\)' "$page_bg")" ] \
    || fail "the two pages differ in sections or entries"

# No run path: the installed program finds Qt where the system keeps it (a
# run path in the package is lintian's custom-library-search-path), and the
# built one may only name absolute folders.
if [ -n "$build" ]; then
    built="$build/app/koren"
    [ -x "$built" ] || fail "no built program $built"
    while IFS= read -r entry; do
        [[ $entry == /* && $entry != *'$ORIGIN'* ]] || fail "the built program's run path has the entry '$entry'"
    done < <(readelf -d "$built" | sed -n 's/.*(R\(UN\)\{0,1\}PATH).*\[\(.*\)\]$/\2/p' | tr ':' '\n')
    programs+=("$built")
fi

# A library planted in the starting folder, the program's folder and its
# ../lib is never tried; one that was would stop the loader with status 127.
for program in "${programs[@]}"; do
    plant="$root/plant"
    rm -rf "$plant"
    mkdir -p "$plant/bin" "$plant/lib" "$plant/start"
    cp "$program" "$plant/bin/koren"
    for dir in bin lib start; do echo "planted, not a library" >"$plant/$dir/libQt6Core.so.6"; done
    # Nothing of the caller's environment: no display, no library path.
    (cd "$plant/start" && env -i PATH="$PATH" LC_ALL=C.UTF-8 XDG_RUNTIME_DIR=/nonexistent \
        LD_DEBUG=libs timeout 60 ../bin/koren) >"$root/trace" 2>&1 || true
    grep -q 'find library=libQt6Core.so.6' "$root/trace" || fail "no loader trace for $program"
    tried=$(sed -n 's/.*trying file=//p' "$root/trace")
    if grep -v '^/' <<<"$tried" | grep -q . || grep -qF "$plant" <<<"$tried"; then
        fail "$program looks for libraries in its own or the starting folder: $(grep -v '^/usr/\|^/lib/' <<<"$tried" | head -3 | paste -sd' ')"
    fi
done

# run PROGRAM ARGUMENT...: what the program answers to a terminal user who
# has no display, and its exit status.
run() {
    local status=0
    env -i PATH="$PATH" LC_ALL=C.UTF-8 XDG_RUNTIME_DIR=/nonexistent timeout 60 "$@" \
        >"$root/out" 2>"$root/err" </dev/null || status=$?
    echo "${shown:-\$ koren${2:+ ${*:2}}} (status $status)"
    sed 's/^/  /' "$root/out"
    sed 's/^/  error: /' "$root/err"
}
# The command line is read before a display is looked for. The toolkit's
# own options go through to it as it reads them: a value as the next word
# (joined on with "=" only where it takes that too), a switch alone; so
# --version after them is still reached. What the toolkit would pass over
# is refused.
command_line() {
    local asked toolkit_values=(platform platformpluginpath platformtheme plugin qwindowgeometry qwindowicon
        qwindowtitle session style stylesheet qmljsdebugger display name visual geometry icon title)
    run "$1"
    for asked in --help -h --version -v --bogus "$(printf -- '-%s x ' "${toolkit_values[@]}")--version" \
        -{reverse,testability,widgetcount,qdevel,qdebug,nograb,dograb}\ --version \
        "-style=x -stylesheet=x -qmljsdebugger=x --version" -reverse=1 "-reverse -style" задача \
        -{platform,platformpluginpath,platformtheme,plugin,qwindowgeometry,qwindowicon,qwindowtitle,session}=x \
        -{display,name,visual,geometry,icon,title}=x; do
        # shellcheck disable=SC2086 # a row is words
        run "$1" $asked
    done
}
for program in "${programs[@]}"; do command_line "$program" >"$root/${program//\//_}.answers"; done
for program in "${programs[@]:1}"; do
    diff "$root/${programs[0]//\//_}.answers" "$root/${program//\//_}.answers" ||
        fail "$program answers otherwise than the installed one"
done

surfaces() {
    echo "=== the command line"
    command_line "$usr/bin/koren"
    # A fatal error in the installed program, on the toolkit's offscreen
    # platform. The library goes into the program alone, not into timeout: a
    # sanitizer build's library would bring its leak check into timeout too.
    mkdir -p "$root/home" && mkdir -m 700 "$root/runtime"
    echo "=== a fatal error"
    shown="a round whose chosen option reads 1e400" run env HOME="$root/home" XDG_RUNTIME_DIR="$root/runtime" \
        QT_QPA_PLATFORM=offscreen LD_PRELOAD="$fatal_round" ASAN_OPTIONS=verify_asan_link_order=0 "$usr/bin/koren"
    echo "=== man koren"
    echo "$text_en"
    echo "=== man -L bg koren"
    echo "$text_bg"
    echo "=== the desktop entry"
    cat "$desktop"
    echo "=== the metainfo"
    cat "$metainfo"
    echo "=== the icons"
    for icon in "$usr"/share/icons/hicolor/*/apps/$id.png; do
        convert "$icon" -format "${icon#"$usr"/share/icons/}: %wx%h, %k colours\n" info:
    done
}
mkdir -p "$(dirname "$new")"
surfaces >"$new"
[ -f "$record" ] || fail "no record $record yet: look at $new, and take it in with tools/record"
diff -u "$record" "$new" >"$new.diff" || fail "what the installed program shows differs from the record $record (now $new):
$(head -n 30 "$new.diff")"

# Everything lands under the prefix it was given.
if [ -n "$build" ]; then
    other="$root/other"
    DESTDIR="$other" cmake --install "$build" --prefix /opt/koren >/dev/null
    [ -x "$other/opt/koren/bin/koren" ] && [ -f "$other/opt/koren/share/applications/$id.desktop" ] \
        || fail "prefix /opt/koren not honoured"
    [ "$(find "$other" -type f | grep -vc "^$other/opt/koren/")" -eq 0 ] || fail "files outside the prefix"
fi
echo "installed tree: no run path, desktop entry and metainfo valid, the manual pages alike, every text as recorded"
