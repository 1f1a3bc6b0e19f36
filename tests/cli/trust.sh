#!/usr/bin/env bash
# mavorin --trust: the store holds the file's SHA-256 (as sha256sum sees it) in the XDG data
# folder, once; files that are not macros are refused.
set -u
bin=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail=0
check() { if [ "$2" != "$3" ]; then echo "FAIL $1: got [$2] want [$3]"; fail=1; fi; }

printf '.mvn 0000 x\r\ncode:|000|wait:|100|loop:|0|start:|no|stop:|ESC|\r\ncode:|006|pfad:|prog|\r\n' >"$dir/m.mvn"
hash=$(sha256sum "$dir/m.mvn" | cut -d' ' -f1)
XDG_DATA_HOME="$dir/data" "$bin" --trust "$dir/m.mvn"; check "exit" "$?" 0
XDG_DATA_HOME="$dir/data" "$bin" --trust "$dir/m.mvn"; check "again" "$?" 0
check "stored once" "$(cat "$dir/data/mavorin/trusted-macros.txt")" "$hash"
check "folder private" "$(stat -c %a "$dir/data/mavorin")" 700
(unset XDG_DATA_HOME; HOME="$dir/home" "$bin" --trust "$dir/m.mvn")
check "without XDG_DATA_HOME" "$(cat "$dir/home/.local/share/mavorin/trusted-macros.txt")" "$hash"

printf 'hello\r\n' >"$dir/text.mvn"
for bad in "$dir/missing.mvn" "$dir/text.mvn" "$dir"; do
  err=$(XDG_DATA_HOME="$dir/bad" "$bin" --trust "$bad" 2>&1 >/dev/null); rc=$?
  check "exit for $bad" "$rc" 2
  check "one error line for $bad" "$(echo "$err" | grep -c "^mavorin: $bad: ")" 1
done
check "nothing stored for bad files" "$(ls "$dir/bad" 2>/dev/null)" ""
[ $fail = 0 ] && echo "trust: all checks passed"
exit $fail
