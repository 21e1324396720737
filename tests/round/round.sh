# Sourced by each platform's round: reads the shared steps, waits for the
# program to settle after each, and compares the snapshots with the
# reviewed record.
#
#   source round.sh RECORD_DIR NEW_DIR
#
# RECORD_DIR holds the platform's record: round.txt, one section a step
# ("=== N ACTION", then "--- SURFACE" and its lines), and step-NN.png, the
# window after step N. The round writes its own snapshots into NEW_DIR the
# same way; tools/record copies them over the record after a deliberate
# change. Defines:
#   steps                    the steps as "ACTION ARGUMENTS", one an entry
#   snap N COMMAND...        runs COMMAND NN (N in two digits, as the
#                            picture's name has it), which prints the
#                            surfaces after step N, until it prints the
#                            record's section or the same for three seconds
#                            (at most 30 s in all); adds that to
#                            NEW_DIR/round.txt
#   compare_round [PICTURES NEW_PICTURES]
#                            compares NEW_DIR with RECORD_DIR: nothing if
#                            they agree; else the first difference, which
#                            step, surface and picture, and exit status 1.
#                            Pictures kept apart from the text (the
#                            browser's, by chromium's version) are compared
#                            in PICTURES and NEW_PICTURES
records=$1 new=$2
rm -rf "$new" && mkdir -p "$new"
: >"$new/round.txt"
mapfile -t steps < <(sed 's/[[:space:]]*#.*//; /^$/d; s/[[:space:]][[:space:]]*/ /g' "$(dirname "${BASH_SOURCE[0]}")/steps.txt")

recorded() { # N: the record's section of step N, without its heading; nothing without a record
    [ ! -e "$records/round.txt" ] || awk -v n="$1" '/^=== / { inside = ($2 == n); next } inside' "$records/round.txt"
}

snap() {
    local n=$1 expected now last= same=0 tries=0
    shift
    expected=$(recorded "$n")
    while :; do
        now=$("$@" "$(printf %02d "$n")")
        [ "$now" != "$expected" ] || break
        # Unchanged for three seconds: a program slow to take a step (a
        # loaded machine) still shows it within that.
        if [ "$now" = "$last" ] && [ -n "$now" ]; then same=$((same + 1)); else same=0; fi
        [ "$same" -lt 6 ] || break
        [ $((tries += 1)) -lt 60 ] || break
        last=$now
        sleep 0.5
    done
    printf '=== %s %s\n%s\n' "$n" "${steps[n - 1]}" "$now" >>"$new/round.txt"
}

compare_round() {
    local difference first step shot pictures=${1:-$records} shots=${2:-$new}
    if [ ! -f "$records/round.txt" ]; then
        echo "FAIL: no record in $records: look at the round in $new, and take it in with tools/record"
        return 1
    fi
    if ! difference=$(diff -U0 "$records/round.txt" "$new/round.txt"); then
        first=$(sed -n '/^@@ -\([0-9]*\).*/{s//\1/p;q}' <<<"$difference")
        step=$(head -n "$first" "$records/round.txt" | grep '^===' | tail -n 1)
        echo "FAIL: step ${step#=== }, $(head -n "$first" "$records/round.txt" | grep '^---' | tail -n 1 | sed 's/^--- //')" \
            "differs from the record ($records/round.txt, now $new/round.txt):"
        sed -n '3,12p' <<<"$difference"
        return 1
    fi
    for shot in "$shots"/step-*.png; do
        [ -e "$shot" ] || continue
        [ "$(compare -metric AE "$pictures/${shot##*/}" "$shot" "${shot%.png}-difference.png" 2>&1)" = 0 ] && continue
        echo "FAIL: the picture after step $(basename "$shot" .png | sed 's/^step-0*//') differs from the record" \
            "($pictures/${shot##*/}; now $shot, the difference in ${shot%.png}-difference.png)"
        return 1
    done
}

# element_middle NAME SCALE: the middle of the element the window's table
# names (Option1_3, Text2), in the window's pixels at SCALE (1 at 96 dots
# per inch), read from the table itself.
element_middle() {
    awk -v want="$1" -v scale="$2" '
        /^ *\{"[A-Za-z0-9]+", *-?[0-9]+, *Kind::/ {
            gsub(/[{}" ]/, ""); split($0, f, ",")
            name = f[1] (f[2] >= 0 ? "_" f[2] : "")
            left[name] = f[5]; top[name] = f[6]; width[name] = f[7]; height[name] = f[8]; framed[name] = (f[4] == "true")
        }
        END {
            if (!(want in left)) exit 1
            x = left[want] + width[want] / 2; y = top[want] + height[want] / 2
            if (framed[want]) { x += left["Frame1"]; y += top["Frame1"] }
            printf "%d %d\n", x / 15 * scale, y / 15 * scale
        }' "$(dirname "${BASH_SOURCE[0]}")/../../quiz/element_table.cpp"
}
