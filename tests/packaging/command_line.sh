#!/usr/bin/env bash
# Every misuse of the command line gets one clear line on stderr and exit status 2; the help text
# documents every option and fits a terminal; options are accepted in any order.
# Usage: command_line.sh MAVORIN
set -u
bin=$(realpath "$1")
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail=0
bad() { echo "FAIL $*"; fail=1; }
cd "$dir" || exit 1

printf '.mvn 0000 t\r\ncode:|000|wait:|100|loop:|0|start:|no|stop:|ESC|\r\ncode:|002|xpos:|7|ypos:|8|\r\n' >m.mvn
cp m.mvn n.mvn

# misuse WORD ARGS...: exit 2, nothing on stdout, one stderr line naming WORD.
misuse() {
  local word=$1
  shift
  "$bin" "$@" >out 2>err
  local rc=$?
  local what="mavorin $*"
  [ $rc = 2 ] || bad "$what: exit $rc, want 2"
  [ -s out ] && bad "$what: printed on stdout: $(head -c 200 out)"
  [ "$(wc -l <err)" = 1 ] || bad "$what: want one error line, got: $(cat err)"
  grep -q '^mavorin: ' err || bad "$what: error does not start with \"mavorin: \": $(cat err)"
  grep -qF -- "$word" err || bad "$what: error does not mention $word: $(cat err)"
}
misuse --list --list
misuse 2 --list m.mvn n.mvn
misuse --until --list m.mvn --until 5
misuse --bogus --list m.mvn --bogus
misuse --dry-run --dry-run
misuse n.mvn --dry-run m.mvn n.mvn
misuse --until --dry-run m.mvn --until
misuse abc --dry-run m.mvn --until abc
misuse -5 --dry-run m.mvn --until -5
misuse 99999999999999999999 --dry-run m.mvn --until 99999999999999999999
misuse '""' --dry-run m.mvn --until=
misuse twice --dry-run m.mvn --until 5 --until 6
misuse --bogus --dry-run m.mvn --bogus
misuse "cannot be combined" --list m.mvn --dry-run n.mvn
misuse --frobnicate --frobnicate
misuse -x -x m.mvn
misuse --until --until 5 m.mvn
misuse 2 m.mvn n.mvn
misuse --version --version extra

# A misused option never plays or lists anything, even with a good file beside it.
"$bin" --dry-run m.mvn --until 5 --until 6 2>/dev/null | grep -q set_cursor_pos &&
  bad "a rejected dry run still ran"

# The dry run takes FILE and --until in either order and as --until=MS.
ref=$("$bin" --dry-run m.mvn --until 1000)
[ "$(echo "$ref" | head -n1)" = "110 set_cursor_pos 7 8" ] || bad "dry run: $ref"
for form in "--until 1000 m.mvn" "--until=1000 m.mvn" "m.mvn --until=1000"; do
  # shellcheck disable=SC2086
  got=$("$bin" --dry-run $form) || bad "--dry-run $form failed"
  [ "$got" = "$ref" ] || bad "--dry-run $form gives [$got], want [$ref]"
done
got=$("$bin" --dry-run m.mvn --until 50)
[ "$got" = "50 stopped" ] || bad "--until 50 gives [$got]"

# Help and version, wherever the option stands.
for h in --help -h "--list --help" "m.mvn --help"; do
  # shellcheck disable=SC2086
  "$bin" $h >out 2>err || bad "$h: exit $?"
  head -n1 out | grep -q '^Usage: mavorin' || bad "$h does not print the usage"
  [ -s err ] && bad "$h wrote to stderr"
done
"$bin" --help >help.txt
for opt in --list --dry-run --until --help --version -h -V FILE.mvn .mvn; do
  grep -qF -- "$opt" help.txt || bad "help does not mention $opt"
done
awk 'length($0) > 79 { print "FAIL help line " NR " is " length($0) " wide: " $0; bad = 1 } END { exit bad }' help.txt || fail=1
LC_ALL=C grep -q -P '[^\x00-\x7f]' help.txt && bad "help text is not plain ASCII"
ver=$("$bin" -V) || bad "-V: exit $?"
[ "$ver" = "$("$bin" --version)" ] || bad "-V and --version differ"
echo "$ver" | grep -qE '^mavorin [0-9]+\.[0-9]+\.[0-9]+$' || bad "version: $ver"

# The window path: a name the window cannot play is reported, but the window still opens (here
# offscreen, and stopped after the warning had time to appear).
for arg in notes.txt missing.mvn; do
  QT_QPA_PLATFORM=offscreen timeout 2 "$bin" "$arg" >out 2>err
  grep -q "^mavorin: $arg: " err || bad "window with $arg: no warning: $(cat err)"
done
QT_QPA_PLATFORM=offscreen timeout 2 "$bin" m.mvn >out 2>err
grep -q "^mavorin: m.mvn" err && bad "window with a good file warned: $(cat err)"

[ $fail = 0 ] && echo "command line: all checks passed"
exit $fail
