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

# Lines of WORD ARGS...: exit 2, nothing on stdout (nothing played), one stderr line naming WORD.
while read -r word args; do
  # shellcheck disable=SC2086
  "$bin" $args >out 2>err
  rc=$?
  [ $rc = 2 ] && [ ! -s out ] && [ "$(wc -l <err)" = 1 ] && grep -q '^mavorin: ' err &&
    grep -qF -- "$word" err || bad "mavorin $args: exit $rc, out [$(head -c 99 out)], err [$(cat err)]"
done <<'CASES'
--list --list
2 --list m.mvn n.mvn
--bogus --list m.mvn --bogus
--dry-run --dry-run
n.mvn --dry-run m.mvn n.mvn
abc --dry-run m.mvn --until abc
-5 --dry-run m.mvn --until -5
"" --dry-run m.mvn --until=
twice --dry-run m.mvn --until 5 --until 6
combined --list m.mvn --dry-run n.mvn
--until --until 5 m.mvn
2 m.mvn n.mvn
--version --version extra
CASES

# The dry run takes FILE and --until in either order and as --until=MS.
ref=$("$bin" --dry-run m.mvn --until 1000)
[ "$(echo "$ref" | head -n1)" = "110 set_cursor_pos 7 8" ] || bad "dry run: $ref"
for form in "--until 1000 m.mvn" "--until=1000 m.mvn" "m.mvn --until=1000"; do
  # shellcheck disable=SC2086
  [ "$("$bin" --dry-run $form)" = "$ref" ] || bad "--dry-run $form differs"
done

# Help and version, wherever the option stands.
for h in -h "--list --help" "m.mvn --help"; do
  # shellcheck disable=SC2086
  "$bin" $h >out 2>err && head -n1 out | grep -q '^Usage: mavorin' && [ ! -s err ] || bad "$h"
done
"$bin" --help >help.txt
for opt in --list --dry-run --until --version FILE.mvn; do
  grep -qF -- "$opt" help.txt || bad "help does not mention $opt"
done
awk 'length($0) > 79 { exit 1 }' help.txt || bad "help is wider than 79 columns"
[ "$("$bin" -V)" = "$("$bin" --version)" ] && "$bin" -V | grep -qE '^mavorin [0-9]+\.[0-9]+\.[0-9]+$' ||
  bad "version: $("$bin" -V)"

# The window path: a name the window cannot play is reported, but the window still opens (here
# offscreen, and stopped after the warning had time to appear).
for arg in notes.txt missing.mvn m.mvn; do
  QT_QPA_PLATFORM=offscreen timeout 2 "$bin" "$arg" >out 2>err
  warned=$(grep -c "^mavorin: $arg: " err)
  [ "$warned" = "$([ $arg = m.mvn ] && echo 0 || echo 1)" ] || bad "window with $arg: [$(cat err)]"
done
[ $fail = 0 ] && echo "command line: all checks passed"
exit $fail
