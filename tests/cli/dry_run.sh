#!/usr/bin/env bash
# mavorin --dry-run on real files: the exact line format, end, stop, errors.
set -u
bin=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail=0
check() { if [ "$2" != "$3" ]; then echo "FAIL $1:"; diff <(echo "$3") <(echo "$2"); fail=1; fi; }

printf '.mvn 0000 x\r\ncode:|000|wait:|100|loop:|1|start:|no|stop:|ESC|\r\ncode:|002|xpos:|10|ypos:|20|\r\ncode:|003|mouseclick:|right|\r\ncode:|004|text:|Hi (1+1){ENTER}|\r\ncode:|005|start:|5|step:|3|\r\ncode:|009|pfad:|shot{CODE5}.jpg <75%%>|\r\ncode:|009|pfad:|s.bmp|\r\n' >"$dir/a.mvn"
out=$("$bin" --dry-run "$dir/a.mvn"); rc=$?
check "exit" "$rc" 0
want='110 set_cursor_pos 10 20
210 mouse_event 8
210 mouse_event 16
310 send_keys Hi {(}1{+}1{)}{ENTER}
410 clipboard_set 5
510 capture_screen
510 save_jpeg shot5.jpg 75
610 capture_screen
610 save_bmp s.bmp
710 set_cursor_pos 10 20
810 mouse_event 8
810 mouse_event 16
910 send_keys Hi {(}1{+}1{)}{ENTER}
1010 clipboard_set 8
1110 capture_screen
1110 save_jpeg shot8.jpg 75
1210 capture_screen
1210 save_bmp s.bmp
1210 block_input 0
1210 end'
check "operations" "$out" "$want"

# A macro that never ends stops at --until; "end" stops everything.
printf '.mvn 0000\r\ncode:|000|wait:|1000|loop:|999999|start:|no|stop:|ESC|\r\ncode:|007|pc:|lockpc|\r\n' >"$dir/loop.mvn"
out=$("$bin" --dry-run "$dir/loop.mvn" --until 3500)
check "until" "$out" "$(printf '1010 lock_workstation\n2010 lock_workstation\n3010 lock_workstation\n3500 stopped')"
printf '.mvn 0000\r\ncode:|000|wait:|50|loop:|0|start:|no|stop:|ESC|\r\ncode:|007|pc:|end|\r\ncode:|007|pc:|lockpc|\r\n' >"$dir/end.mvn"
out=$("$bin" --dry-run "$dir/end.mvn")
check "end" "$out" "$(printf '60 end_program\n60 stopped')"

# A random pause, a pixel watch on the unchanging screen (timeout after 20 polls), the reboot box,
# and a CD command without a drive. Files go to a private folder that is gone afterwards.
printf '.mvn 0000\r\ncode:|000|wait:|100|loop:|0|start:|no|stop:|ESC|\r\ncode:|001|wait:|100|maxwait:|300|\r\ncode:|010|xpos:|5|ypos:|5|break:|1|\r\ncode:|007|pc:|reboot|\r\ncode:|008|drive:|D:\\|move:|open|\r\n' >"$dir/watch.mvn"
mkdir "$dir/tmp"
out=$(cd "$dir" && TMPDIR="$dir/tmp" "$bin" --dry-run watch.mvn)
want="410 capture_screen
410 save_bmp code10.bmp"
for ms in $(seq 420 20 800); do want+=$'\n'"$ms capture_screen"$'\n'"$ms save_bmp code10.bmp"; done
want+='
910 reboot
910 message_box reboot
1010 block_input 0
1010 end'
check "pixel watch" "$out" "$want"
check "private folder removed" "$(ls -A "$dir/tmp")" ""
check "nothing written beside the macro" "$(ls "$dir" | grep -c -e code10.bmp -e '^s.bmp')" 0

# Whatever a macro names, a dry run writes nothing: absolute and "../" paths, existing or not.
mkdir -p "$dir/keep"
printf 'old bmp' >"$dir/keep/abs.bmp"
printf 'old jpg' >"$dir/tmp/up.jpg"
printf '.mvn 0000\r\ncode:|000|wait:|10|loop:|0|start:|no|stop:|ESC|\r\ncode:|009|pfad:|%s/keep/abs.bmp|\r\ncode:|009|pfad:|../up.jpg <50>|\r\ncode:|009|pfad:|%s/keep/new.bmp|\r\ncode:|009|pfad:|../../code10.bmp|\r\n' "$dir" "$dir" >"$dir/keep/w.mvn"
files() { (cd "$dir" && find . -type f -exec md5sum {} + -exec stat -c '%n %Y %a' {} + | sort); }
before=$(files)
out=$(cd "$dir" && TMPDIR="$dir/tmp" "$bin" --dry-run keep/w.mvn | grep save_)
check "paths as a real run names them" "$out" "20 save_bmp $dir/keep/abs.bmp
40 save_jpeg ../up.jpg 50
60 save_bmp $dir/keep/new.bmp
80 save_bmp ../../code10.bmp"
check "a dry run writes nothing" "$(files)" "$before"

# Neither a dry run nor --list keeps a log, not even of a program that cannot start.
printf '.mvn 0000\r\ncode:|000|wait:|10|loop:|0|start:|no|stop:|ESC|\r\ncode:|006|pfad:|gibt-es-nicht-9f|\r\n' >"$dir/launch.mvn"
for mode in --dry-run --list; do
  XDG_STATE_HOME="$dir/state" HOME="$dir/home" TMPDIR="$dir/tmp" "$bin" $mode "$dir/launch.mvn" >/dev/null
done
check "no log folder" "$(find "$dir/state" "$dir/home" 2>/dev/null)" ""

# An hour of virtual time finishes quickly.
start=$(date +%s)
"$bin" --dry-run "$dir/loop.mvn" >/dev/null
[ $(( $(date +%s) - start )) -lt 30 ] || { echo "FAIL: an hour-long dry run took too long"; fail=1; }

# The counter in the locale's decimal separator, as the window shows it (a private German locale).
printf '.mvn 0000\r\ncode:|000|wait:|100|loop:|0|start:|no|stop:|ESC|\r\ncode:|005|start:|2.5|step:|1|\r\n' >"$dir/comma.mvn"
# (localedef exits non-zero for mere warnings; what counts is the compiled locale.)
mkdir -p "$dir/locale" && localedef -i de_DE -f UTF-8 "$dir/locale/de_DE.UTF-8" >/dev/null 2>&1
if [ -f "$dir/locale/de_DE.UTF-8/LC_NUMERIC" ]; then
  out=$(LOCPATH="$dir/locale" LC_ALL=de_DE.UTF-8 "$bin" --dry-run "$dir/comma.mvn" | head -n1)
  check "decimal comma" "$out" "110 clipboard_set 2,5"
else
  echo "SKIP decimal comma: localedef cannot build de_DE.UTF-8 here"
fi

printf 'hello\r\n' >"$dir/text.mvn"
err=$("$bin" --dry-run "$dir/text.mvn" 2>&1 >/dev/null); rc=$?
check "not a macro" "$rc" 2
check "one error line" "$(echo "$err" | wc -l)" 1
"$bin" --dry-run "$dir/a.mvn" --until soon >/dev/null 2>&1; check "bad --until" "$?" 2
[ $fail = 0 ] && echo "dry run: all checks passed"
exit $fail
