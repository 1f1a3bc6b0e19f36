#!/usr/bin/env bash
# mavorin --list on real files: list-box lines, UTF-8, no cap at 999, clear errors.
set -u
bin=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail=0
check() { if [ "$2" != "$3" ]; then echo "FAIL $1: got [$2] want [$3]"; fail=1; fi; }

printf '.mvn 0000 x\r\ncode:|000|wait:|70000|loop:|2|start:|F3|stop:|ESC|\r\ncode:|004|text:|Gr\xfc\xdfe|\r\ncode:|012|wait:|0|\r\nnot a record\r\ncode:|002|xpos:|1|ypos:|1|\r\n' >"$dir/a.mvn"
out=$("$bin" --list "$dir/a.mvn"); rc=$?
check "exit" "$rc" 0
check "lines" "$out" "$(printf '00 - code: 000 wait: 60000 loop: 2 start: F3 stop: ESC \n001 - code: 004 text: Grüße \n002 - code: 001 wait: 0 ')"

# Relative paths are taken from the current directory.
out=$(cd "$dir" && "$bin" --list a.mvn | wc -l)
check "relative" "$out" 3

{ printf '.mvn 0000\r\ncode:|000|wait:|10|loop:|0|start:|no|stop:|ESC|\r\n'
  for i in $(seq 1 1200); do printf 'code:|002|xpos:|%d|ypos:|0|\r\n' "$i"; done; } >"$dir/big.mvn"
out=$("$bin" --list "$dir/big.mvn")
check "count" "$(echo "$out" | wc -l)" 1201
check "line 1000" "$(echo "$out" | sed -n 1001p)" "1000 - code: 002 xpos: 1000 ypos: 0 "

# A default file in the current directory is not opened: only FILE is listed. The private
# temporary folder of the run is gone afterwards.
mkdir "$dir/cwd" "$dir/tmp"
printf '.mvn 1000 x\r\ncode:|000|wait:|10|loop:|0|start:|no|stop:|ESC|\r\n' >"$dir/cwd/mavorin.mvn"
out=$(cd "$dir/cwd" && TMPDIR="$dir/tmp" "$bin" --list ../a.mvn | head -1)
check "default file ignored" "$out" "00 - code: 000 wait: 60000 loop: 2 start: F3 stop: ESC "
check "temporary folder removed" "$(ls -A "$dir/tmp")" ""

# A header without records lists the macro that loading keeps, the default one, and says so.
printf '.mvn 0000 x\r\n' >"$dir/empty.mvn"
out=$("$bin" --list "$dir/empty.mvn" 2>"$dir/err"); rc=$?
check "header only exit" "$rc" 0
check "header only" "$(echo "$out" | sed -n 4p)" "003 - code: 001 wait: 0 "
check "header only said" "$(grep -c 'no commands' "$dir/err")/$(wc -l <"$dir/err")" "1/1"

# Past 32000 commands: the first 32000 are listed and stderr says what was left out.
awk 'BEGIN { printf ".mvn 0000\r\ncode:|000|wait:|10|loop:|0|start:|no|stop:|ESC|\r\n";
  for (i = 1; i <= 32001; i++) printf "code:|002|xpos:|%d|ypos:|0|\r\n", i }' >"$dir/huge.mvn"
out=$("$bin" --list "$dir/huge.mvn" 2>"$dir/err"); rc=$?
check "past the limit exit" "$rc" 0
check "past the limit lines" "$(echo "$out" | wc -l) $(echo "$out" | tail -n1)" "32001 32000 - code: 002 xpos: 32000 ypos: 0 "
check "past the limit said" "$(cat "$dir/err")" "mavorin: $dir/huge.mvn: Die Datei enthält mehr als 32000 Befehle; geladen wurden die ersten 32000."

for bad in "$dir/missing.mvn" "$dir"; do
  err=$("$bin" --list "$bad" 2>&1 >/dev/null); rc=$?
  check "exit for $bad" "$rc" 2
  check "one error line for $bad" "$(echo "$err" | wc -l)" 1
done
printf '.MVN 0000\r\ncode:|000|\r\n' >"$dir/upper.mvn"
"$bin" --list "$dir/upper.mvn" >/dev/null 2>&1; check "not a macro file" "$?" 2
head -c 4096 /dev/urandom >"$dir/garbage.mvn"
"$bin" --list "$dir/garbage.mvn" >/dev/null 2>&1; check "garbage" "$?" 2
"$bin" --list >/dev/null 2>&1; check "missing argument" "$?" 2
"$bin" --frobnicate >/dev/null 2>&1; check "unknown option" "$?" 2
"$bin" --help | grep -q -- '--dry-run' || { echo "FAIL help"; fail=1; }
"$bin" --version | grep -q '^mavorin [0-9]' || { echo "FAIL version"; fail=1; }
[ $fail = 0 ] && echo "list: all checks passed"
exit $fail
