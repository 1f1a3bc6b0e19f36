#!/usr/bin/env bash
# --list and --dry-run on the examples and on golden/*.mvn must print exactly golden/*.out.
# MAVORIN_GOLDEN_WRITE=1 rewrites the expected files (only after checking the change by eye).
set -u
bin=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
here=$(cd "$(dirname "$0")" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail=0
for macro in "$here"/../../examples/*.mvn "$here"/golden/*.mvn; do
    want="$here/golden/$(basename "$macro" .mvn).out"
    got="$scratch/out"
    { "$bin" --list "$macro"; echo "list exit $?"
      (cd "$scratch" && "$bin" --dry-run "$macro" --until 3000); echo "dry-run exit $?"; } 2>&1 |
        grep -v '^mavorin: dry run at ' >"$got"  # progress on a slow machine
    if [ "${MAVORIN_GOLDEN_WRITE:-0}" = 1 ]; then cp "$got" "$want"; continue; fi
    if ! diff -u "$want" "$got"; then echo "FAIL $(basename "$macro")"; fail=1; fi
done
[ -z "$(ls -A "$scratch" | grep -v '^out$')" ] || { echo "FAIL: files left in the scratch folder"; fail=1; }
exit $fail
