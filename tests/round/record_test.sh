# Runs COMMAND, whose output goes to NEW, and compares it with the reviewed
# RECORD (tests/round/records/): a fresh build writes NEW under its round/
# folder, which tools/record copies over the records after a deliberate
# change. Usage: bash record_test.sh RECORD NEW COMMAND...
record=$1 new=$2
shift 2
mkdir -p "$(dirname "$new")"
"$@" >"$new" || { echo "FAIL: $* ended with status $?"; exit 1; }
if [ ! -e "$record" ]; then
    echo "FAIL: no record $record yet: run this test, look at $new, then tools/record"
    exit 1
fi
if ! diff -u "$record" "$new" >"$new.diff"; then
    echo "FAIL: $new differs from the record $record:"
    head -n 20 "$new.diff"
    exit 1
fi
