#!/usr/bin/env bash
# mavorin --dry-run writes nothing and keeps no log, and shows the counter as the locale does.
# (The operations themselves are pinned by golden.sh; refusing what is not a macro by list.sh.)
set -u
bin=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail=0
check() { if [ "$2" != "$3" ]; then echo "FAIL $1:"; diff <(echo "$3") <(echo "$2"); fail=1; fi; }
head='.mvn 0000\r\ncode:|000|wait:|10|loop:|0|start:|no|stop:|ESC|\r\n'

# Whatever a macro names, a dry run writes nothing: absolute and "../" paths, existing or not,
# and the pixel watch's snapshot; its private folder is gone afterwards.
mkdir -p "$dir/keep" "$dir/tmp"
printf 'old bmp' >"$dir/keep/abs.bmp"
printf 'old jpg' >"$dir/tmp/up.jpg"
printf "$head"'code:|009|pfad:|%s/keep/abs.bmp|\r\ncode:|009|pfad:|../up.jpg <50>|\r\ncode:|009|pfad:|%s/keep/new.bmp|\r\ncode:|009|pfad:|../../code10.bmp|\r\ncode:|010|xpos:|5|ypos:|5|break:|1|\r\n' "$dir" "$dir" >"$dir/keep/w.mvn"
files() { (cd "$dir" && find . -type f -exec md5sum {} + -exec stat -c '%n %Y %a' {} + | sort); }
before=$(files)
out=$(cd "$dir" && TMPDIR="$dir/tmp" "$bin" --dry-run keep/w.mvn | grep save_)
check "paths as a real run names them" "$out" "20 save_bmp $dir/keep/abs.bmp
40 save_jpeg ../up.jpg 50
60 save_bmp $dir/keep/new.bmp
80 save_bmp ../../code10.bmp
$(for ms in $(seq 100 20 500); do echo "$ms save_bmp code10.bmp"; done)"
check "a dry run writes nothing" "$(files)" "$before"
check "private folder removed" "$(ls -A "$dir/tmp")" "up.jpg"

# Neither a dry run nor --list keeps a log, not even of a program that cannot start.
printf "$head"'code:|006|pfad:|gibt-es-nicht-9f|\r\n' >"$dir/launch.mvn"
for mode in --dry-run --list; do
  XDG_STATE_HOME="$dir/state" HOME="$dir/home" "$bin" $mode "$dir/launch.mvn" >/dev/null
done
check "no log folder" "$(find "$dir/state" "$dir/home" 2>/dev/null)" ""

# The counter in the locale's decimal separator, as the window shows it (a private German locale).
printf "$head"'code:|005|start:|2.5|step:|1|\r\n' >"$dir/comma.mvn"
# (localedef exits non-zero for mere warnings; what counts is the compiled locale.)
mkdir -p "$dir/locale" && localedef -i de_DE -f UTF-8 "$dir/locale/de_DE.UTF-8" >/dev/null 2>&1
if [ -f "$dir/locale/de_DE.UTF-8/LC_NUMERIC" ]; then
  out=$(LOCPATH="$dir/locale" LC_ALL=de_DE.UTF-8 "$bin" --dry-run "$dir/comma.mvn" | head -n1)
  check "decimal comma" "$out" "20 clipboard_set 2,5"
else
  echo "SKIP decimal comma: localedef cannot build de_DE.UTF-8 here"
fi
[ $fail = 0 ] && echo "dry run: all checks passed"
exit $fail
