#!/usr/bin/env bash
# Checks the program as installed: the desktop entry, metainfo and icons
# with the desktop's validators, the manual pages, and that the program
# makes the loader look for libraries neither in the current directory nor
# in its own folder. Last, the command line as a terminal user meets it, and
# the exit statuses the manual pages document against what the program
# returns: for --help, --version and an unknown option, without a display,
# and on a fatal error (FATAL_ROUND, a library preloaded into the program,
# brings one about).
# Usage: check_install.sh TREE FATAL_ROUND [BUILD_DIR]
#   TREE is the root the program is installed under: a staging folder, or
#   / for the system's own, as the Debian package's own test has it. With
#   BUILD_DIR the built program is checked too, and an install under
#   another prefix.
set -euo pipefail
tree=$(cd "$1" && pwd)
fatal_round=$(realpath "$2")
build=${3:+$(cd "$3" && pwd)}
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

entry() { sed -n "s/^$1=//p" "$desktop"; }
[ "$(entry Exec)" = koren ] || fail "Exec is not the installed program"
[ "$(entry Icon)" = "$id" ] || fail "Icon is not the installed icon"
[ "$(entry Terminal)" = false ] || fail "Terminal should be false"
[[ "$(entry Categories)" == *Education\;* && "$(entry Categories)" == *Math\;* ]] || fail "categories"
[ "$(entry Name)" = "Корен квадратен" ] || fail "Bulgarian name"
grep -q '<release version="1.00"' "$metainfo" || fail "metainfo has no release 1.00"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" || fail "launchable"

# Each icon's size against its folder is lintian's (icon-size-and-directory-name-mismatch).
for size in 16 32 64; do
    icon="$usr/share/icons/hicolor/${size}x${size}/apps/$id.png"
    [ -f "$icon" ] || fail "no ${size}x${size} icon"
    colours=$(convert "$icon" -alpha off -format '%k' info:)
    [ "$colours" -le 16 ] || fail "$icon has $colours colours"
done

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
for heading in NAME SYNOPSIS DESCRIPTION KEYS ENVIRONMENT "EXIT STATUS"; do
    grep -q "^$heading\$" <<<"$text_en" || fail "English page lacks $heading"
done
for heading in ИМЕ СИНТАКСИС ОПИСАНИЕ КЛАВИШИ СРЕДА "ИЗХОДЕН КОД"; do
    grep -q "^$heading\$" <<<"$text_bg" || fail "Bulgarian page lacks $heading"
done
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

declare -A no_display_status
# A library planted in the starting folder, the program's folder and its
# ../lib is never tried; one that was would stop the loader with status 127.
for program in "${programs[@]}"; do
    plant="$root/plant"
    rm -rf "$plant"
    mkdir -p "$plant/bin" "$plant/lib" "$plant/start"
    cp "$program" "$plant/bin/koren"
    for dir in bin lib start; do echo "planted, not a library" >"$plant/$dir/libQt6Core.so.6"; done
    status=0
    # Nothing of the caller's environment: no display, no library path.
    (cd "$plant/start" && env -i PATH="$PATH" LC_ALL=C.UTF-8 XDG_RUNTIME_DIR=/nonexistent \
        LD_DEBUG=libs timeout 60 ../bin/koren) >"$root/trace" 2>&1 || status=$?
    grep -q 'find library=libQt6Core.so.6' "$root/trace" || fail "no loader trace for $program"
    tried=$(sed -n 's/.*trying file=//p' "$root/trace")
    if grep -v '^/' <<<"$tried" | grep -q . || grep -qF "$plant" <<<"$tried"; then
        fail "$program looks for libraries in its own or the starting folder: $(grep -v '^/usr/\|^/lib/' <<<"$tried" | head -3 | paste -sd' ')"
    fi
    no_display_status[$program]=$status
done

# A fatal error in the installed program, on the toolkit's offscreen platform.
mkdir -p "$root/home" && mkdir -m 700 "$root/runtime"
fatal_status=0
# The library goes into the program alone, not into timeout: a sanitizer
# build's library would bring its leak check into timeout too.
env -i PATH="$PATH" LC_ALL=C.UTF-8 HOME="$root/home" XDG_RUNTIME_DIR="$root/runtime" QT_QPA_PLATFORM=offscreen \
    timeout 60 env LD_PRELOAD="$fatal_round" ASAN_OPTIONS=verify_asan_link_order=0 "$usr/bin/koren" \
    >"$root/fatal.out" 2>"$root/fatal.err" </dev/null || fatal_status=$?
grep -qx 'koren: фатална грешка: .*' "$root/fatal.err" && [ "$(wc -l <"$root/fatal.err")" -eq 1 ] \
    || fail "a fatal error (status $fatal_status) is not one line of the program's own on standard error: $(cat "$root/fatal.err")"

# The command line is read before a display is looked for: without one, both
# programs answer --help and --version and refuse what they do not know. The
# toolkit's own options go through to it as it reads them: a value as the
# next word (joined on with "=" only where it takes that too), a switch
# alone; so --version after them is still reached. What the toolkit would
# pass over is refused.
declare -A cli_status
shown_version="koren $version"
toolkit_values=(platform platformpluginpath platformtheme plugin qwindowgeometry qwindowicon qwindowtitle session style
    stylesheet qmljsdebugger display name visual geometry icon title)
refused() { [ ! -s "$root/cli.out" ] && [ "$(cat "$root/cli.err")" = "koren: $1 „${asked##* }“; вижте „koren --help“" ]; }
for program in "${programs[@]}"; do
    for asked in --help -h --version -v --bogus "$(printf -- '-%s x ' "${toolkit_values[@]}")--version" \
        -{reverse,testability,widgetcount,qdevel,qdebug,nograb,dograb}\ --version \
        "-style=x -stylesheet=x -qmljsdebugger=x --version" -reverse=1 "-reverse -style" задача \
        -{platform,platformpluginpath,platformtheme,plugin,qwindowgeometry,qwindowicon,qwindowtitle,session}=x \
        -{display,name,visual,geometry,icon,title}=x; do
        status=0
        # shellcheck disable=SC2086 # a row is words
        env -i PATH="$PATH" LC_ALL=C.UTF-8 XDG_RUNTIME_DIR=/nonexistent timeout 60 "$program" $asked \
            >"$root/cli.out" 2>"$root/cli.err" </dev/null || status=$?
        cli_status[$program $asked]=$status
        case $asked in
            -h | --help) [ ! -s "$root/cli.err" ] && grep -q '^Употреба: koren' "$root/cli.out" \
                && grep -q -- '-h, --help' "$root/cli.out" && grep -q -- '-v, --version' "$root/cli.out" ;;
            -v | *--version) [ ! -s "$root/cli.err" ] && [ "$(cat "$root/cli.out")" = "$shown_version" ] ;;
            *-style) refused "липсва стойност след опцията" ;;
            -*) refused "непозната опция" ;;
            *) refused "неочакван аргумент" ;;
        esac \
            || fail "$program $asked printed: $(cat "$root/cli.out") / on standard error: $(cat "$root/cli.err")"
    done
done

# The exit statuses the pages document, against what the program returned.
# documented_status PAGE SECTION WORD: the status that the page's SECTION
# lists for the case whose description has WORD in it.
documented_status() {
    awk -v section=".SH $2" -v word="$3" '
        /^\.SH/ { inside = ($0 == section); next }
        inside && /^\.TP/ { entry = 1; next }
        inside && entry && /^\.B [0-9]+$/ { status = $2; entry = 0; next }
        inside && status != "" && !found && index($0, word) { print status; found = 1 }' "$1"
}
for page in "$page_en:EXIT STATUS:display:fatal:option" "$page_bg:ИЗХОДЕН КОД:дисплей:фатална:опция"; do
    IFS=: read -r file section display fatal unknown <<<"$page"
    for program in "${programs[@]}"; do
        for asked in help:--help help:-h version:--version version:-v "$unknown:--bogus"; do
            documented=$(documented_status "$file" "$section" "${asked%%:*}")
            [ -n "$documented" ] && [ "${cli_status[$program ${asked#*:}]}" = "$documented" ] \
                || fail "$program ${asked#*:} ended with status ${cli_status[$program ${asked#*:}]}; $file says '$documented'"
        done
    done
    documented=$(documented_status "$file" "$section" "$display")
    [ -n "$documented" ] || fail "$file documents no exit status for a missing display"
    for program in "${programs[@]}"; do
        [ "${no_display_status[$program]}" = "$documented" ] \
            || fail "$program without a display ended with status ${no_display_status[$program]}; $file says $documented"
    done
    documented=$(documented_status "$file" "$section" "$fatal")
    [ -n "$documented" ] || fail "$file documents no exit status for a fatal error"
    [ "$fatal_status" = "$documented" ] \
        || fail "a fatal error ended the program with status $fatal_status; $file says $documented"
done

# Everything lands under the prefix it was given.
if [ -n "$build" ]; then
    other="$root/other"
    DESTDIR="$other" cmake --install "$build" --prefix /opt/koren >/dev/null
    [ -x "$other/opt/koren/bin/koren" ] && [ -f "$other/opt/koren/share/applications/$id.desktop" ] \
        || fail "prefix /opt/koren not honoured"
    [ "$(find "$other" -type f | grep -vc "^$other/opt/koren/")" -eq 0 ] || fail "files outside the prefix"
fi
echo "installed tree: executable without run path, desktop entry, metainfo, icons and manual pages valid"
echo "exit statuses as both pages document them: ${no_display_status[$usr/bin/koren]} without a display, $fatal_status on a fatal error ($(cat "$root/fatal.err")), ${cli_status[$usr/bin/koren --bogus]} on an unknown option, ${cli_status[$usr/bin/koren --help]} for --help and --version"
