#!/usr/bin/env bash
# The example macros: real macro files (Windows-1252, CR LF, ".mvn 0000" header, well-formed
# records), harmless, and played to their end by --dry-run doing what each is for.
# Usage: examples.sh MAVORIN EXAMPLES_DIR
set -u
bin=$(realpath "$1")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail=0
bad() { echo "FAIL $*"; fail=1; }
shopt -s nullglob
files=("$2"/*.mvn)
[ ${#files[@]} -ge 4 ] || bad "expected at least four examples, found ${#files[@]}"

k='(no|ESC|F[1-9]|F1[0-2])' n='-?[0-9]+'
# Every command code but 007: examples never lock, restart, shut down or take the keyboard away.
record="^code:\|(000\|wait:\|[0-9]+\|loop:\|[0-9]+\|start:\|$k\|stop:\|$k|001\|wait:\|$n(\|maxwait:\|$n)?"
record+="|002\|xpos:\|$n\|ypos:\|$n|003\|mouseclick:\|(left|middle|right)|004\|text:\|[^|]*"
record+="|005\|start:\|$n\|step:\|$n|00[69]\|pfad:\|[^|]*|008\|drive:\|[^|]*\|move:\|(open|close)"
record+="|010\|xpos:\|$n\|ypos:\|$n\|break:\|[1-9][0-9]*)\|$"
for f in "${files[@]}"; do
  name=$(basename "$f")
  crlf=$(grep -c $'\r$' "$f")
  [ "$crlf" = "$(wc -l <"$f")" ] && [ "$(tr -cd '\r' <"$f" | wc -c)" = "$crlf" ] &&
    [ "$(tail -c 2 "$f" | od -An -c | tr -d ' ')" = '\r\n' ] || bad "$name: not CR LF throughout"
  [ "$(head -c 10 "$f")" = ".mvn 0000 " ] || bad "$name: header is not \".mvn 0000 ...\""
  # Windows-1252, not UTF-8: high bytes are single characters of the code page.
  iconv -f CP1252 -t UTF-8 <"$f" >"$tmp/utf8" 2>/dev/null || bad "$name: not Windows-1252"
  LC_ALL=C grep -q -P '[\x80-\xff]' "$f" && iconv -f UTF-8 -t UTF-8 <"$f" >/dev/null 2>&1 &&
    bad "$name: saved as UTF-8"
  mapfile -t recs < <(tail -n +2 "$tmp/utf8" | tr -d '\r')
  [[ ${recs[0]:-} == code:\|000\|* ]] || bad "$name: line 2 is not the settings record"
  for r in "${recs[@]}"; do [[ $r =~ $record ]] || bad "$name: malformed record: $r"; done
  [ "$("$bin" --list "$f" | wc -l)" = "${#recs[@]}" ] || bad "$name: --list loses records"
  "$bin" --dry-run "$f" --until 600000 >"$tmp/$name.ops" 2>"$tmp/err" ||
    bad "$name: --dry-run failed: $(cat "$tmp/err")"
  tail -n1 "$tmp/$name.ops" | grep -qE '^[0-9]+ end$' || bad "$name: dry run did not end by itself"
done

# What the individual examples are for.
ops() { local f=$1; shift; cut -d' ' -f2- "$tmp/$f.mvn.ops" | grep "$@"; }
[ "$(ops screenshot-series '^save_')" = "$(printf 'save_jpeg mavorin-shot-%d.jpg 80\n' 1 2 3)" ] ||
  bad "screenshot-series: $(ops screenshot-series '^save_')"
[ "$(ops numbered-lines '^send_keys')" = "$(printf 'send_keys Zeile %d{ENTER}\n' 1 2 3 4 5)" ] ||
  bad "numbered-lines: $(ops numbered-lines '^send_keys')"
ops greeting -qxF 'send_keys Grüße von Mavorin {(}100{%} automatisch{)}{ENTER}' ||
  bad "greeting: umlauts or escaped characters lost"
# The desktop of a dry run never changes: the watch gives up after its time-out, then moves on.
last=$(grep -E '^[0-9]+ save_bmp mavorin-pixel-changed.bmp$' "$tmp/pixel-watch.mvn.ops" | cut -d' ' -f1)
[ -n "$last" ] && [ "$last" -ge 10000 ] || bad "pixel-watch: the watch did not hold the macro"
[ $fail = 0 ] && echo "examples: all checks passed (${#files[@]} files)"
exit $fail
