#!/usr/bin/env bash
# mavorin --list on real files: the default file left alone; --list and --dry-run refuse what is
# not a macro with one clear line. (The line format itself is pinned by golden.sh.)
set -u
bin=$(realpath "$1")
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail=0
check() { if [ "$2" != "$3" ]; then echo "FAIL $1: got [$2] want [$3]"; fail=1; fi; }
settings='code:|000|wait:|10|loop:|0|start:|no|stop:|ESC|'

# A default file in the current directory is not opened: only FILE is listed. The private
# temporary folder of the run is gone afterwards.
mkdir "$dir/cwd" "$dir/tmp"
printf '.mvn 1000 x\r\n%s\r\n' "$settings" >"$dir/cwd/mavorin.mvn"
printf '.mvn 0000 x\r\n%s\r\ncode:|004|text:|a|\r\n' "$settings" >"$dir/a.mvn"
out=$(cd "$dir/cwd" && TMPDIR="$dir/tmp" "$bin" --list ../a.mvn | tail -n1)
check "default file ignored" "$out" "001 - code: 004 text: a "
check "temporary folder removed" "$(ls -A "$dir/tmp")" ""

# A header without records lists the macro that loading keeps, the default one, and says so.
printf '.mvn 0000 x\r\n' >"$dir/empty.mvn"
out=$("$bin" --list "$dir/empty.mvn" 2>"$dir/err"); rc=$?
check "header only" "$rc $(echo "$out" | sed -n 4p)" "0 003 - code: 001 wait: 0 "
check "header only said" "$(grep -c 'no commands' "$dir/err")/$(wc -l <"$dir/err")" "1/1"

printf '.MVN 0000\r\ncode:|000|\r\n' >"$dir/upper.mvn"
head -c 4096 /dev/urandom >"$dir/garbage.mvn"
for bad in "$dir/missing.mvn" "$dir" "$dir/upper.mvn" "$dir/garbage.mvn"; do
  for mode in --list --dry-run; do
    err=$("$bin" $mode "$bad" 2>&1 >/dev/null); rc=$?
    check "$mode $bad" "$rc $(echo "$err" | wc -l)" "2 1"
  done
done
[ $fail = 0 ] && echo "list: all checks passed"
exit $fail
