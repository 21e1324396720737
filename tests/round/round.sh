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
#   snap N COMMAND...        runs COMMAND, which prints the surfaces of step
#                            N, until it prints the record's section or the
#                            same for a second, read every half second (at
#                            most 30 s);
#                            adds that to NEW_DIR/round.txt
#   compare_round            compares NEW_DIR with RECORD_DIR: nothing if
#                            they agree; else the first difference, which
#                            step, surface and picture, and exit status 1
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
        now=$("$@")
        [ "$now" != "$expected" ] || break
        # Unchanged for a second: a program slow to take a step (a loaded
        # machine) still shows it within that.
        if [ "$now" = "$last" ] && [ -n "$now" ]; then same=$((same + 1)); else same=0; fi
        [ "$same" -lt 2 ] || break
        [ $((tries += 1)) -lt 60 ] || break
        last=$now
        sleep 0.5
    done
    printf '=== %s %s\n%s\n' "$n" "${steps[n - 1]}" "$now" >>"$new/round.txt"
}

compare_round() {
    local difference first step shot
    if ! difference=$(diff -U0 "$records/round.txt" "$new/round.txt"); then
        first=$(sed -n '/^@@ -\([0-9]*\).*/{s//\1/p;q}' <<<"$difference")
        step=$(head -n "$first" "$records/round.txt" | grep '^===' | tail -n 1)
        echo "FAIL: step ${step#=== }, $(head -n "$first" "$records/round.txt" | grep '^---' | tail -n 1 | sed 's/^--- //')" \
            "differs from the record ($records/round.txt, now $new/round.txt):"
        sed -n '3,12p' <<<"$difference"
        return 1
    fi
    for shot in "$new"/step-*.png; do
        [ -e "$shot" ] || continue
        [ "$(compare -metric AE "$records/${shot##*/}" "$shot" "${shot%.png}-difference.png" 2>&1)" = 0 ] && continue
        echo "FAIL: the picture after step $(basename "$shot" .png | sed 's/^step-0*//') differs from the record" \
            "($records/${shot##*/}; now $shot, the difference in ${shot%.png}-difference.png)"
        return 1
    done
}
